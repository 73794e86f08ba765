#include "model/file_list.hpp"

namespace pellora {

std::vector<FileListRow> FolderLines(const RecoveredResults& results, ItemId item, std::uint64_t self) {
  std::vector<FileListRow> lines;
  for (ItemId child : results.tree.Children(item)) {
    const FolderNode* node = results.nodes.ByItem(child);
    if (node == nullptr || node->parent != self) continue;
    FileListRow line;
    line.name = node->name;
    line.type = "FOLDER";
    line.self = node->self;
    line.parent = node->parent;
    line.tree_item = node->tree_item;
    line.deleted = node->deleted;
    lines.push_back(std::move(line));
  }
  return lines;
}

}  // namespace pellora
