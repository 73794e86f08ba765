#pragma once

#include <atomic>

#include "app/app_state.hpp"
#include "fat/fat_volume.hpp"
#include "ntfs/ntfs_volume.hpp"

namespace pellora {

// The current partition as the FAT engine reads it: the current device, the working copy of its
// values and its read limit.
FatVolume CurrentFatVolume(AppState& app, const std::atomic<bool>* cancel = nullptr);

// The current partition as the NTFS engine reads it; engine steps report through the app.
NtfsVolume CurrentNtfsVolume(AppState& app, const std::atomic<bool>* cancel = nullptr);

}  // namespace pellora
