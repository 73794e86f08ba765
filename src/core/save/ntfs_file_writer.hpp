#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

#include "save/save_run.hpp"

namespace pellora {

// One file for the NTFS file writer, as a row of the NTFS file rows gives it.
struct NtfsFileRequest {
  std::filesystem::path path;  // where it goes (the short-name rule already applied)
  std::string name;            // its name as the file list shows it
  std::uint64_t record_sector = 0;
};

// Rebuilds an NTFS file from its FILE record (the resident value of its unnamed $DATA, or its data
// runs) and writes it under the naming rules. A record that cannot be read or decoded still gives
// the file, empty. Returns the path written; nothing when it was not written.
std::optional<std::filesystem::path> WriteNtfsFile(SaveRun& run, const NtfsFileRequest& request);

}  // namespace pellora
