#pragma once

#include <stop_token>
#include <vector>

#include "fat/child_folder_naming.hpp"
#include "model/file_list.hpp"
#include "ntfs/file_details.hpp"
#include "state/app_state.hpp"

namespace pellora {

// What filling the file list of one folder found: its lines, and what it learnt on the way that
// the results should keep (names of child folders, names and sizes of NTFS files). The filler only
// reads the results; the thread that owns them keeps what it learnt with KeepFileListFill.
struct FileListFill {
  std::vector<FileListRow> rows;
  std::optional<ChildFolderNames> child_names;
  std::vector<NtfsRowDetails> ntfs_details;
};

// The file lines of a folder of the result tree. FAT keeps no file table: they are read from the
// folder's directory, and the miscellaneous folder has none. NTFS lists the file rows of the
// folder's record (the "Root" item is record 5), reading each row's name and size from its FILE
// record the first time. The "Root" item lists the root directory.
std::vector<FileListRow> FileLines(AppState& app, ItemId item, std::stop_token stop = {},
                                   std::vector<NtfsRowDetails>* details = nullptr);

// The file list shown when a folder is selected: its child folders, then its files. A folder whose
// children still carry made-up names has its directory read for their names first. A stop ends
// the reading early with what was listed. ReadFileList only reads app's results; it may run on a
// worker while the owner of the results shows them.
FileListFill ReadFileList(AppState& app, ItemId item, std::stop_token stop = {});
void KeepFileListFill(AppState& app, const FileListFill& fill);

// Both steps at once, for the thread that owns the results.
std::vector<FileListRow> FillFileList(AppState& app, ItemId item, std::stop_token stop = {});

}  // namespace pellora
