#pragma once

#include <cstdint>
#include <ctime>
#include <stop_token>

#include "fat/fat_volume.hpp"
#include "model/recovered_results.hpp"

namespace pellora {

class ProgressBar;
class Ui;

// Reads the whole data area and takes every cluster that begins with "." and ".." entries as a
// folder, existing or deleted: its "." names its own first cluster, its ".." its parent's. Folders
// of the root directory are placed at once (named from the root listing taken first); the others
// go to the directory table for the arrangement. A stop request ends the scan between chunks; what
// was found stays.
void ScanLostFatFolders(const FatVolume& volume, std::uint64_t end_sector, RecoveredResults& results, Ui& ui,
                        ProgressBar& progress, std::stop_token stop, std::time_t now);

// The root directory's entries (folders, and files with odd attributes) as the root entry list.
void ListRootEntries(const FatVolume& volume, std::vector<RootEntry>& root_entries);

}  // namespace pellora
