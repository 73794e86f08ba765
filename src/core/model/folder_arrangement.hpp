#pragma once

#include <functional>

#include "model/recovered_results.hpp"

namespace pellora {

class ProgressBar;

// Reads a folder's own directory to name its lost child folders (the FAT engine supplies it).
using ChildFolderNamer = std::function<void(FolderNode& folder)>;

// Turns the directory table (sorted by parent) into the result tree, level by level from the
// root; whatever is left goes under the miscellaneous folder. FAT flavour: folders whose items have
// children or are still called "DIR..." have their directory read once for their children's names.
// deep: rows carry their partition (Deep Search).
void ArrangeFolders(RecoveredResults& results, ProgressBar* progress, const ChildFolderNamer& name_children,
                    bool deep);

// The NTFS flavour: the root is record 5, no directory reading; the table is sorted by parent.
void ArrangeNtfsFolders(RecoveredResults& results, ProgressBar* progress, bool deep);

// Moves every row whose parent is the given Self under item.
void AttachChildFolders(RecoveredResults& results, std::uint64_t self, ItemId item, bool deep);

// Files the rows left in the directory table and the root entry list under the miscellaneous
// folder.
void FileOrphansToMiscellaneous(RecoveredResults& results, bool deep);

}  // namespace pellora
