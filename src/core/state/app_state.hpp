#pragma once

#include <atomic>
#include <filesystem>
#include <memory>
#include <string>

#include "common/guard.hpp"
#include "common/search_mode.hpp"
#include "common/shell_open.hpp"
#include "common/ui.hpp"
#include "common/worker.hpp"
#include "model/recovered_results.hpp"
#include "ntfs/mft_fragments.hpp"
#include "recognition/partition_params.hpp"
#include "state/save_state.hpp"
#include "storage/device_map.hpp"
#include "storage/drive_listing.hpp"
#include "storage/read_guard.hpp"
#include "storage/sector_access.hpp"
#include "storage/system_drives.hpp"

namespace pellora {

// The process-wide state, made of the pieces each subsystem owns. Created at start-up and alive
// until exit; workers are handed the pieces they need.
struct AppState {
  explicit AppState(Ui& user_interface) : ui(user_interface) {}
  AppState(const AppState&) = delete;
  AppState& operator=(const AppState&) = delete;
  ~AppState() { EndWorkers(); }

  // Every worker is asked to stop, the questions any of them waits on answer their cancel choice,
  // and only then is each joined: a join never waits on a window nobody will answer. Called before
  // anything the workers use goes away.
  void EndWorkers() {
    for (WorkerSlot* slot : {&drive_loading, &search, &log_loading, &saving}) slot->RequestStop();
    ui.ReleaseQuestions();
    for (WorkerSlot* slot : {&drive_loading, &search, &log_loading, &saving}) slot->Join();
  }

  Ui& ui;
  CurrentMode mode;
  ReadGuard read_guard{mode};
  DeviceMap devices;
  SectorAccess sectors{devices, read_guard, ui};
  ErrorReporter reporter{ui, mode};

  // The machine's own drives (probed when drives are listed) and the drive tree of the current
  // mode's window with the tables its listing fills.
  SystemDrives system_drives;
  DriveListing drive_listing;
  // The drive that searches and saves read from, set when a partition is validated.
  std::string current_device_path;

  // Opens files, folders and links with the desktop's programs.
  std::shared_ptr<Launcher> launcher = std::make_shared<ProcessLauncher>();
  // Files opened for viewing so far (their temporary copies are numbered by it).
  std::atomic<std::uint64_t> preview_count{0};

  // What the last Basic or Deep search found: the result tree and its tables.
  RecoveredResults results;

  // Saving what a Basic or Deep search found: the destination, the flags and counters of the run.
  SaveState save;

  // The current partition and the working copy of its file-system values.
  PartitionParams partition_params;
  FileSystemParams working_params;
  // Where the current NTFS partition's $MFT lies; rebuilt by each NTFS search.
  MftFragments mft_fragments;

  std::filesystem::path temp_folder;

  // One slot per kind of background work; a kind never runs twice at once.
  WorkerSlot drive_loading;
  WorkerSlot search;
  WorkerSlot log_loading;
  WorkerSlot saving;

  // Set when the user confirmed a stop; cleared by the Basic and Deep workers when they start.
  std::atomic<bool> stopped{false};
  // The Basic and Deep end message is shown at most once per search.
  std::atomic<bool> end_message_shown{false};
};

}  // namespace pellora
