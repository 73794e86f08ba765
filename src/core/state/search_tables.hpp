#pragma once

#include <string>

#include "model/recovered_results.hpp"
#include "ntfs/mft_fragments.hpp"
#include "recognition/partition_params.hpp"
#include "state/app_state.hpp"

namespace pellora {

// What a Basic or Deep search fills while it runs. The caller takes them from the state before it
// starts the worker, the worker owns them while it runs, and the caller hands them back once the
// worker has ended or was stopped; only then does any other thread read them.
struct SearchTables {
  std::string device_path;
  PartitionParams partition_params;
  FileSystemParams working_params;
  MftFragments mft_fragments;
  RecoveredResults results;
};

// On the caller's thread: the current partition and its values are copied, the results moved out
// (the state's are left empty while the search runs).
SearchTables TakeSearchTables(AppState& app);
// On the caller's thread, after the worker ended: what the search found becomes the state's.
void HandBackSearchTables(AppState& app, SearchTables&& tables);

}  // namespace pellora
