#pragma once

#include <vector>

#include "model/file_list.hpp"
#include "save/save_run.hpp"

namespace pellora {

// Saves the selected rows of the file list: a folder row as a ticked folder with every folder
// below it, a file row into the destination base by its file system's file writer. Rows are told
// apart by the end of their type text.
void SaveSelectedRows(SaveRun& run, const std::vector<FileListRow>& rows);

}  // namespace pellora
