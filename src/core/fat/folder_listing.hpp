#pragma once

#include <cstdint>
#include <vector>

#include "fat/fat_volume.hpp"
#include "model/file_list.hpp"

namespace pellora {

// The files of a folder (first cluster self, 0 for the root directory) as file-list lines, deleted
// ones included, read from the disk each time: FAT keeps no file table.
std::vector<FileListRow> ListFatFolder(const FatVolume& volume, std::uint64_t self);

}  // namespace pellora
