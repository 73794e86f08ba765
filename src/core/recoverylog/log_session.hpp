#pragma once

#include <filesystem>
#include <vector>

#include "fat/found_partition.hpp"
#include "recoverylog/log_loader.hpp"
#include "state/app_state.hpp"

namespace pellora {

// The "Save Log" and "Load Log" buttons of the Basic and Deep windows refuse, with their message,
// before anything was scanned, while a scan runs, and (loading) once the window shows results.
bool SaveLogAllowed(AppState& app);
bool LoadLogAllowed(AppState& app);

// Closing a Basic or Deep window (or going "Back") asks kSaveLogOnExitQuestion while the window
// shows results that were neither saved to nor loaded from a log.
bool AsksToSaveLogOnExit(const AppState& app, bool log_saved);

// Writes the log of what the current Basic or Deep search found (deep_partitions: Deep Search's
// found partitions), then says so. A failure shows the system's text. True when written (the
// window's log-saved flag follows it, as it follows a load).
bool SaveRecoveryLog(AppState& app, const std::filesystem::path& path,
                     const std::vector<FoundPartition>* deep_partitions = nullptr);

// Loads a log in the window of the current mode, asking and telling as the load goes. Once read,
// the log replaces the results, the partition and the drive that saving reads from, as a finished
// scan would have left them; the found partitions of a Deep log are in the returned log.
LogLoad LoadRecoveryLog(AppState& app, const std::filesystem::path& path, const PresentDrivesSource& present);

// The drives of the current mode's drive tree; the logical drives are listed when asked for.
PresentDrivesSource PresentDrivesOfListing(const DriveListing& listing);

}  // namespace pellora
