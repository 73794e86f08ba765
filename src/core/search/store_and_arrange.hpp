#pragma once

#include "fat/fat_volume.hpp"
#include "model/recovered_results.hpp"

namespace pellora {

class ErrorReporter;
class ProgressBar;
class Ui;

// After a FAT scan, or after it was stopped: the root entries no lost folder took a name from go
// under the miscellaneous folder, and the directory table becomes the tree; folders whose children
// still have made-up names get them from their own directories.
void StoreAndArrangeFat(const FatVolume& volume, RecoveredResults& results, Ui& ui, ProgressBar& progress, bool deep);

// After an MFT scan, or after it was stopped: parked folders whose parent was never found go to
// the miscellaneous folder, the directory table becomes the tree, and files whose folder was not
// found are listed under the miscellaneous folder. Each pass reports its own failure.
void StoreAndArrangeNtfs(RecoveredResults& results, Ui& ui, ProgressBar& progress, ErrorReporter& reporter);

}  // namespace pellora
