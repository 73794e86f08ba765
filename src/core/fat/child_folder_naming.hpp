#pragma once

#include <cstdint>
#include <unordered_map>
#include <vector>

#include "fat/fat_volume.hpp"
#include "model/recovered_results.hpp"

namespace pellora {

// Lost child folders are placed as "DIR7" by the scan; their parent's directory, where it still
// holds their entries, gives them their names (and tells which were deleted). Reads the folder's
// directory once: afterwards its children_read flag is set. The miscellaneous folder has no
// directory of its own. deep: names are made unique among siblings.
void ReadChildFolderNames(const FatVolume& volume, RecoveredResults& results, FolderNode& folder, bool deep);

// One directory sector (sectors[index] of the folder's directory) of that reading: names the children (by first
// cluster) its entries point to. Returns false at the end of the directory or when the sector cannot be read.
bool NameChildFolders(const FatVolume& volume, RecoveredResults& results, const std::vector<std::uint64_t>& sectors,
                      std::size_t index, const std::unordered_map<std::uint64_t, std::size_t>& children_by_self,
                      bool deep);

}  // namespace pellora
