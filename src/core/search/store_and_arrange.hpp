#pragma once

#include "fat/fat_volume.hpp"
#include "model/recovered_results.hpp"

namespace pellora {

class ProgressBar;
class Ui;

// After a FAT scan, or after it was stopped: the root entries no lost folder took a name from go
// under the miscellaneous folder, and the directory table becomes the tree; folders whose children
// still have made-up names get them from their own directories.
void StoreAndArrangeFat(const FatVolume& volume, RecoveredResults& results, Ui& ui, ProgressBar& progress, bool deep);

}  // namespace pellora
