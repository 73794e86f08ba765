#pragma once

#include <cstdint>
#include <filesystem>

#include "model/recovered_entry.hpp"
#include "save/save_run.hpp"

namespace pellora {

// Saves the files of an NTFS folder (MFT record number self) into `folder`, from the NTFS file
// rows whose parent is the folder. A flagged row without a size is passed over; a flagged row whose
// destination already exists is not saved and counts as an invalid entry.
void SaveNtfsFolder(SaveRun& run, std::uint64_t self, const std::filesystem::path& folder);

// The number of rows SaveNtfsFolder would hand to the file writer at most.
std::uint64_t CountNtfsFolderFiles(SaveRun& run, std::uint64_t self);

}  // namespace pellora
