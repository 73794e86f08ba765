#pragma once

#include <stop_token>

#include "state/app_state.hpp"
#include "state/search_tables.hpp"

namespace pellora {

inline constexpr std::string_view kUnableToCalculateParams =
    "Unable to calculate partition parameters.\n\nPlease select the partition from the list of Logical Drive or "
    "click on \u2018Search more Partitions\u2019 in case of deleted or missing Drives.";

// How a Basic Search ended.
struct BasicSearchOutcome {
  bool scanned = false;       // the partition's structures could be read and were scanned
  bool stopped = false;       // the person stopped it; what was found up to then is arranged
  bool results_empty = true;  // the result tree holds no folder
};

// The Basic Search worker over the partition that validation made current (copied into tables):
// recognises its boot sector (or rebuilds FAT values without one), scans for lost folders (FAT) or
// every record of the $MFT (NTFS), arranges what it found into the result tree of tables and shows
// the end message. A stop request ends the scan at its next chunk or record and arranges exactly
// what was found. Of app it uses only what may be shared with other threads: the Ui, the sector
// access, the reporter, the mode and the end-message flags.
BasicSearchOutcome RunBasicSearch(AppState& app, SearchTables& tables, std::stop_token stop);

// The whole road on one thread: the tables are taken from the state, searched and handed back.
BasicSearchOutcome RunBasicSearch(AppState& app, std::stop_token stop);

}  // namespace pellora
