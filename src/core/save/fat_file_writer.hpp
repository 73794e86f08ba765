#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

#include "save/save_run.hpp"

namespace pellora {

// One file for the FAT file writer, as a directory entry gives it.
struct FatFileRequest {
  std::filesystem::path path;  // where it goes (the short-name rule already applied)
  std::string name;            // its name as the file list shows it
  std::uint64_t size = 0;
  std::uint32_t first_cluster = 0;
};

// Rebuilds a FAT file from its clusters (its chain in FAT 1, else in FAT 2, else the clusters from
// its first one on, which is how deleted files come back) and writes it under the naming rules.
// Returns the path written, also when the file ended early; nothing when it was not written.
std::optional<std::filesystem::path> WriteFatFile(SaveRun& run, const FatFileRequest& request);

}  // namespace pellora
