#pragma once

#include <ctime>
#include <stop_token>

#include "model/recovered_results.hpp"
#include "ntfs/mft_fragments.hpp"
#include "ntfs/ntfs_volume.hpp"

namespace pellora {

class ProgressBar;
class Ui;

// Visits every FILE record of the $MFT in the order of its fragments, two sectors a record; the
// n-th record visited is record n. Folders, in use or deleted, are placed in the result tree at
// once when their parent is the root or already placed, else parked in the directory table for the
// arrangement; files become NTFS file rows (their names and sizes are read when a list shows them).
// Names kept in extension records are found there; extension records themselves are no files.
// The root's own record is the "Root" item. The miscellaneous folder is placed with the first
// folder (or alone when the $MFT has no fragments). A stop request ends the scan between records;
// what was found stays. The $MFT is read through one handle in large reads.
void ScanMftRecords(const NtfsVolume& volume, const MftFragments& fragments, RecoveredResults& results, Ui& ui,
                    ProgressBar& progress, std::stop_token stop, std::time_t now);

}  // namespace pellora
