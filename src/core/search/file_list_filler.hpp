#pragma once

#include <vector>

#include "app/app_state.hpp"
#include "model/file_list.hpp"

namespace pellora {

// The file lines of a folder of the result tree, read from the disk: FAT keeps no file table. The
// "Root" item lists the root directory; the miscellaneous folder has no directory of its own.
std::vector<FileListRow> FileLines(AppState& app, ItemId item);

// The file list shown when a folder is selected: its child folders, then its files. A folder whose
// children still carry made-up names has its directory read for their names first.
std::vector<FileListRow> FillFileList(AppState& app, ItemId item);

}  // namespace pellora
