#pragma once

#include <functional>

#include "model/result_tree.hpp"
#include "save/save_run.hpp"

namespace pellora {

// What a walk over the ticked result tree does at each item: the save writes, the count counts.
struct CheckedTreeVisit {
  std::function<void(ItemId)> partly_checked;
  std::function<void(ItemId)> checked;
  std::function<void()> root_files;  // "Root" itself is ticked: after all its folders
};

// Walks the result tree from "Root" as saving goes: depth first, each folder before its
// subfolders, siblings in display order; until the run is stopped.
void WalkCheckedTree(SaveRun& run, const CheckedTreeVisit& visit);

// Every folder item of a subtree, the item itself first, in the same order.
void ForEachInSubtree(const ResultTree& tree, ItemId item, const std::function<void(ItemId)>& visit);

// Saves one folder of the result tree as a ticked folder: its destination folder (the base + its
// path in the tree) is made, then its own files are saved by its file system's saver, on the
// partition they lie on.
void SaveFolderItem(SaveRun& run, ItemId item);

// The files of the root directory itself, into the destination base.
void SaveRootFiles(SaveRun& run);

// Saves what is ticked in the result tree.
void SaveCheckedTree(SaveRun& run);

}  // namespace pellora
