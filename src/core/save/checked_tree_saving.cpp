#include "save/checked_tree_saving.hpp"

#include <vector>

#include "model/recovered_entry.hpp"
#include "save/destination_naming.hpp"
#include "save/fat_folder_saver.hpp"
#include "save/folder_creation.hpp"
#include "save/ntfs_folder_saver.hpp"

namespace pellora {

void ForEachInSubtree(const ResultTree& tree, ItemId item, const std::function<void(ItemId)>& visit) {
  // An explicit stack: a damaged medium can nest folders deeper than the call stack would take.
  std::vector<ItemId> pending{item};
  while (!pending.empty()) {
    const ItemId at = pending.back();
    pending.pop_back();
    visit(at);
    const auto& children = tree.Children(at);
    pending.insert(pending.end(), children.rbegin(), children.rend());
  }
}

void WalkCheckedTree(SaveRun& run, const CheckedTreeVisit& visit) {
  const ResultTree& tree = run.app.results.tree;
  const ItemId root = tree.FirstItem();
  if (root == kNoItem) return;
  std::vector<ItemId> pending(tree.Children(root).rbegin(), tree.Children(root).rend());
  while (!pending.empty() && !run.Stopped()) {
    const ItemId item = pending.back();
    pending.pop_back();
    switch (tree.Check(item)) {
      case CheckState::kPartlyChecked:
        visit.partly_checked(item);
        break;
      case CheckState::kChecked:
        visit.checked(item);
        break;
      case CheckState::kUnchecked:
        break;
    }
    const auto& children = tree.Children(item);
    pending.insert(pending.end(), children.rbegin(), children.rend());
  }
  if (!run.Stopped() && tree.Check(root) == CheckState::kChecked) visit.root_files();
}

void SaveFolderItem(SaveRun& run, ItemId item) {
  SaveState& state = run.state;
  const RecoveredResults& results = run.app.results;
  const std::filesystem::path wanted = TreeFolderDestination(results.tree, item, state.destination_base);
  const auto folder = CreateFolder(state.naming, run.app.ui, state.destination_base, wanted);
  ++state.counters.folders_saved;
  run.ShowCounters();
  if (!folder) {
    // Its files are never reached: the folder stands for them among what was not saved.
    state.unsaved.push_back({UnsavedItem::Kind::kNotWritten, wanted, "folder not made: path too long"});
    return;
  }
  const FolderNode* node = results.nodes.ByItem(item);
  if (node == nullptr) return;
  const std::uint64_t self = node->self;
  WithFolderPartition(run, item, [&] {
    if (run.Fat()) {
      // The orphans' folder has no directory of its own.
      if (self != 0 && self != kMiscellaneousSelf) SaveFatFolder(run, self, *folder);
    } else if (run.Ntfs()) {
      SaveNtfsFolder(run, self, *folder);
    }
  });
}

void SaveRootFiles(SaveRun& run) {
  const std::filesystem::path& base = run.state.destination_base;
  if (run.Ntfs()) {
    SaveNtfsFolder(run, kNtfsRootRecord, base);
    return;
  }
  ForEveryPartition(run, [&] {
    if (run.Fat()) SaveFatFolder(run, 0, base);
  });
}

void SaveCheckedTree(SaveRun& run) {
  run.app.reporter.Guarded("Saving file on selected location...", "S", "8D", [&] {
    WalkCheckedTree(run, {.partly_checked =
                              [&](ItemId) {
                                ++run.state.counters.folders_saved;
                                run.ShowCounters();
                              },
                          .checked = [&](ItemId item) { SaveFolderItem(run, item); },
                          .root_files = [&] { SaveRootFiles(run); }});
  });
}

}  // namespace pellora
