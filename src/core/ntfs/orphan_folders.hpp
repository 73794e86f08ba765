#pragma once

#include "model/recovered_results.hpp"

namespace pellora {

class ProgressBar;

// After the MFT scan, with the directory table sorted by Self: a parked folder whose parent is
// neither the root, nor another parked folder, nor a folder the scan placed gets the miscellaneous
// folder as its parent, so that the arrangement files it there.
void OrphanNtfsFolders(RecoveredResults& results, ProgressBar* progress);

// Files whose parent folder was not found (its record wiped or taken by another file) are listed
// under the miscellaneous folder instead of under a folder nobody can select.
void OrphanNtfsFiles(RecoveredResults& results);

}  // namespace pellora
