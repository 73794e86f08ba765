#pragma once

#include "state/app_state.hpp"

namespace pellora {

// What a search window does when it opens: a fresh drive tree labelled with the mode, the
// removable disks with their partitions and, with the logical-drives box ticked, the volumes.
// The machine's own drives are included when they were probed (system_drives).
DriveListing& LoadDrives(AppState& app, SearchMode mode, bool system_drives, bool logical_drives = true);

}  // namespace pellora
