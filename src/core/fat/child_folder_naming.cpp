#include "fat/child_folder_naming.hpp"

#include "fat/directory_reader.hpp"
#include "model/recovered_entry.hpp"

namespace pellora {

bool NameChildFolders(const FatVolume& volume, const std::vector<std::uint64_t>& sectors, std::size_t index,
                      const std::unordered_map<std::uint64_t, std::size_t>& children_by_self,
                      std::vector<ChildFolderName>& names) {
  const DirectoryWalk walk{.mode = EntryMode::kFolders, .end_ends_folder = true, .failed_read_ends = true};
  const auto name_child = [&](const DirectoryEntry& entry, std::uint64_t) {
    const auto child = children_by_self.find(entry.first_cluster);
    if (child != children_by_self.end()) names.push_back({child->second, entry.name, entry.deleted});
    return true;
  };
  return WalkDirectorySectors(volume, sectors, walk, name_child, index, 1);
}

std::optional<ChildFolderNames> FindChildFolderNames(const FatVolume& volume, const RecoveredResults& results,
                                                     std::size_t folder) {
  const FolderNode& node = results.nodes[folder];
  if (node.self == kMiscellaneousSelf || node.children_read) return std::nullopt;
  ChildFolderNames found{.folder = folder, .names = {}};
  const std::uint64_t self = node.self;
  std::unordered_map<std::uint64_t, std::size_t> children_by_self;
  for (ItemId child : results.tree.Children(node.tree_item)) {
    const auto index = results.nodes.IndexByItem(child);
    if (index && results.nodes[*index].parent == self) children_by_self.emplace(results.nodes[*index].self, *index);
  }
  if (children_by_self.empty()) return found;
  const std::vector<std::uint64_t> sectors = DirectorySectors(volume, self);
  for (std::size_t index = 0; index < sectors.size(); ++index)
    if (!NameChildFolders(volume, sectors, index, children_by_self, found.names)) break;
  return found;
}

void KeepChildFolderNames(RecoveredResults& results, const ChildFolderNames& found, bool deep) {
  results.nodes[found.folder].children_read = true;
  for (const ChildFolderName& child : found.names) {
    FolderNode& node = results.nodes[child.node];
    const std::string name =
        deep ? results.tree.UniqueChildTitle(results.tree.Parent(node.tree_item), child.name) : child.name;
    results.RenameFolder(node, name);
    if (child.deleted) node.deleted = true;
  }
}

void ReadChildFolderNames(const FatVolume& volume, RecoveredResults& results, FolderNode& folder, bool deep) {
  // The nodes are one vector, so the folder's place in it is where it lies.
  const auto index = static_cast<std::size_t>(&folder - &results.nodes[0]);
  if (const auto found = FindChildFolderNames(volume, results, index)) KeepChildFolderNames(results, *found, deep);
}

}  // namespace pellora
