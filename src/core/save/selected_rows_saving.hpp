#pragma once

#include <functional>
#include <vector>

#include "model/file_list.hpp"
#include "save/save_run.hpp"

namespace pellora {

// Goes over the selected rows as saving does, until the run is stopped: each folder item below a
// folder row (the row's own first), each file row. Rows are told apart by the end of their type
// text.
void WalkSelectedRows(SaveRun& run, const std::vector<FileListRow>& rows, const std::function<void(ItemId)>& folder,
                      const std::function<void(const FileListRow&)>& file);

// Saves the selected rows of the file list: a folder row as a ticked folder with every folder
// below it, a file row into the destination base by its file system's file writer.
void SaveSelectedRows(SaveRun& run, const std::vector<FileListRow>& rows);

}  // namespace pellora
