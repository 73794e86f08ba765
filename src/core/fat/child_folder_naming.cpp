#include "fat/child_folder_naming.hpp"

#include "fat/directory_reader.hpp"
#include "model/recovered_entry.hpp"

namespace pellora {

bool NameChildFolders(const FatVolume& volume, RecoveredResults& results, const std::vector<std::uint64_t>& sectors,
                      std::size_t index, const std::unordered_map<std::uint64_t, std::size_t>& children_by_self,
                      bool deep) {
  const DirectoryWalk walk{.mode = EntryMode::kFolders, .end_ends_folder = true, .failed_read_ends = true};
  const auto name_child = [&](const DirectoryEntry& entry, std::uint64_t) {
    const auto child = children_by_self.find(entry.first_cluster);
    if (child == children_by_self.end()) return true;
    FolderNode& node = results.nodes[child->second];
    const std::string name =
        deep ? results.tree.UniqueChildTitle(results.tree.Parent(node.tree_item), entry.name) : entry.name;
    results.RenameFolder(node, name);
    if (entry.deleted) node.deleted = true;
    return true;
  };
  return WalkDirectorySectors(volume, sectors, walk, name_child, index, 1);
}

void ReadChildFolderNames(const FatVolume& volume, RecoveredResults& results, FolderNode& folder, bool deep) {
  if (folder.self == kMiscellaneousSelf || folder.children_read) return;
  folder.children_read = true;
  const std::uint64_t self = folder.self;
  std::unordered_map<std::uint64_t, std::size_t> children_by_self;
  for (ItemId child : results.tree.Children(folder.tree_item)) {
    const auto index = results.nodes.IndexByItem(child);
    if (index && results.nodes[*index].parent == self) children_by_self.emplace(results.nodes[*index].self, *index);
  }
  if (children_by_self.empty()) return;
  const std::vector<std::uint64_t> sectors = DirectorySectors(volume, self);
  for (std::size_t index = 0; index < sectors.size(); ++index)
    if (!NameChildFolders(volume, results, sectors, index, children_by_self, deep)) break;
}

}  // namespace pellora
