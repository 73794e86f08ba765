#pragma once

#include <cstdint>
#include <filesystem>

#include "save/save_run.hpp"

namespace pellora {

// Saves the files of a FAT folder (first cluster self; 0: the root directory) into `folder`: the
// files its directory lists, deleted ones included, each under its own name or, when that makes
// the path too long, its short name. Its subfolders are saved by the walk over the tree.
void SaveFatFolder(SaveRun& run, std::uint64_t self, const std::filesystem::path& folder);

// The number of files SaveFatFolder would save from the folder.
std::uint64_t CountFatFolderFiles(SaveRun& run, std::uint64_t self);

}  // namespace pellora
