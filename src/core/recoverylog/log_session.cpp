#include "recoverylog/log_session.hpp"

#include "ntfs/mft_fragments.hpp"
#include "recoverylog/log_messages.hpp"
#include "recoverylog/log_writer.hpp"
#include "recoverylog/value_stream.hpp"
#include "state/current_volume.hpp"

namespace pellora {

namespace {

bool HasResults(const AppState& app) {
  const ResultTree& tree = app.results.tree;
  return !tree.Empty() && (!tree.Children(tree.FirstItem()).empty() || app.results.ntfs_files.Size() > 0);
}

}  // namespace

bool AsksToSaveLogOnExit(const AppState& app, bool log_saved) { return !log_saved && HasResults(app); }

bool SaveLogAllowed(AppState& app) {
  if (app.search.Running()) {
    app.ui.ShowMessage(kSaveLogWhileScanning);
    return false;
  }
  if (app.results.tree.Empty()) {
    app.ui.ShowMessage(kSaveLogNothingScanned);
    return false;
  }
  return !app.log_loading.Running();
}

bool LoadLogAllowed(AppState& app) {
  if (app.search.Running()) {
    app.ui.ShowMessage(kLoadLogWhileScanning);
    return false;
  }
  if (HasResults(app)) {
    app.ui.ShowMessage(kLoadLogAfterScan);
    return false;
  }
  return !app.log_loading.Running();
}

bool SaveRecoveryLog(AppState& app, const std::filesystem::path& path,
                     const std::vector<FoundPartition>* deep_partitions) {
  const ScannedDrive drive = ScannedDriveOf(app.drive_listing);
  const LogSource source{.mode = app.mode.Get() == SearchMode::kDeep ? SearchMode::kDeep : SearchMode::kBasic,
                         .drive = drive,
                         .physical_scan = false,
                         .partition_params = app.partition_params,
                         .working_params = app.working_params,
                         .results = app.results,
                         .ntfs_sorted = false,
                         .deep_partitions = deep_partitions};
  try {
    WriteRecoveryLog(path, source);
  } catch (const LogWriteError& error) {
    app.ui.ShowMessage(error.what());
    return false;
  }
  app.ui.ShowMessage(kLogSaved);
  return true;
}

LogLoad LoadRecoveryLog(AppState& app, const std::filesystem::path& path, const PresentDrivesSource& present) {
  LogLoad load = ReadRecoveryLogFile(path, app.mode.Get(), present, app.ui);
  if (load.end != LogLoadEnd::kLoaded) return load;
  LoadedLog& log = *load.log;
  app.results = std::move(log.results);
  app.partition_params = log.partition_params;
  app.working_params = log.working_params;
  app.current_device_path = log.device_path;
  app.read_guard.SetReadLimitBytes(app.partition_params.ReadLimitBytes);
  // The log keeps no map of the $MFT: a Basic NTFS result finds its records through it again, as
  // the search did; Deep Search reads records where it found them.
  app.mft_fragments = {};
  if (log.mode == SearchMode::kBasic && app.partition_params.fs.ParamsFileSystemName.Ntfs())
    app.mft_fragments = BuildMftFragments(CurrentNtfsVolume(app));
  app.reporter.Guarded("Load recovered data log file...", "LL", "5A", [&] {
    app.ui.ShowText(UiText::kStatus, kLogLoadedStatus);
    app.ui.ShowMessage(kLogLoaded);
  });
  return load;
}

PresentDrivesSource PresentDrivesOfListing(const DriveListing& listing) {
  return [&listing](bool) { return PresentDrivesOf(listing); };
}

}  // namespace pellora
