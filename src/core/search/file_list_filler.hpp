#pragma once

#include <vector>

#include "app/app_state.hpp"
#include "model/file_list.hpp"

namespace pellora {

// The file lines of a folder of the result tree. FAT keeps no file table: they are read from the
// folder's directory, and the miscellaneous folder has none. NTFS lists the file rows of the
// folder's record (the "Root" item is record 5), reading each row's name and size from its FILE
// record the first time. The "Root" item lists the root directory.
std::vector<FileListRow> FileLines(AppState& app, ItemId item);

// The file list shown when a folder is selected: its child folders, then its files. A folder whose
// children still carry made-up names has its directory read for their names first.
std::vector<FileListRow> FillFileList(AppState& app, ItemId item);

}  // namespace pellora
