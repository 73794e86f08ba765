#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "fat/fat_volume.hpp"
#include "model/recovered_results.hpp"

namespace pellora {

// A name a folder's directory gives one of its lost children (by the child's index in the folder
// nodes), and whether the entry was deleted.
struct ChildFolderName {
  std::size_t node = 0;
  std::string name;
  bool deleted = false;
};

// What reading one folder's directory for its children's names found.
struct ChildFolderNames {
  std::size_t folder = 0;  // the folder's index in the folder nodes
  std::vector<ChildFolderName> names;
};

// Lost child folders are placed as "DIR7" by the scan; their parent's directory, where it still
// holds their entries, gives them their names (and tells which were deleted). Nothing when the
// folder's directory was read before or is the miscellaneous folder's (which has none). Only reads,
// so that a worker may do it while another thread shows the tree; KeepChildFolderNames applies it.
std::optional<ChildFolderNames> FindChildFolderNames(const FatVolume& volume, const RecoveredResults& results,
                                                     std::size_t folder);
// Renames the children in the order their entries were read and marks the folder's directory as
// read. deep: names are made unique among siblings.
void KeepChildFolderNames(RecoveredResults& results, const ChildFolderNames& found, bool deep);

// Both steps at once, for the owner of the results.
void ReadChildFolderNames(const FatVolume& volume, RecoveredResults& results, FolderNode& folder, bool deep);

// One directory sector (sectors[index] of the folder's directory) of that reading: the names of
// the children (by first cluster) its entries point to. Returns false at the end of the directory
// or when the sector cannot be read.
bool NameChildFolders(const FatVolume& volume, const std::vector<std::uint64_t>& sectors, std::size_t index,
                      const std::unordered_map<std::uint64_t, std::size_t>& children_by_self,
                      std::vector<ChildFolderName>& names);

}  // namespace pellora
