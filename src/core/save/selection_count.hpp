#pragma once

#include <vector>

#include "model/file_list.hpp"
#include "save/save_run.hpp"
#include "state/save_state.hpp"

namespace pellora {

// Counts what a save will take, in files and folders (not bytes), into the run's selected
// counters, walking the selection exactly as the save will. The count window follows the totals;
// returns false when it was stopped.
bool CountSelection(SaveRun& run, SaveSource source, const std::vector<FileListRow>& rows);

}  // namespace pellora
