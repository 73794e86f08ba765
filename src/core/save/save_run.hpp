#pragma once

#include <cstdint>
#include <filesystem>
#include <stop_token>
#include <string>

#include "common/run_stop.hpp"
#include "common/ui.hpp"
#include "fat/fat_volume.hpp"
#include "save/deep_mode.hpp"
#include "save/ntfs_file_source.hpp"
#include "state/app_state.hpp"
#include "state/save_state.hpp"

namespace pellora {

// What one save run works with: the application's state, the run's flags, counters and naming
// state, the engines' views of the current partition, and the saving window.
class SaveRun {
 public:
  // show_progress false: nothing is shown while files are written (the copy made for viewing).
  // A stop through the token (the saving worker's) ends the run as "Stop" in the saving window does.
  SaveRun(AppState& app, SaveState& state, DeepPartitions* deep = nullptr, bool show_progress = true,
          std::stop_token outside = {});

  AppState& app;
  SaveState& state;
  DeepPartitions* deep;
  // Asked for by a confirmed "Stop", by "Cancel" in the replace window, by a full destination and
  // from outside; every loop of the run tests it.
  RunStop stop;
  NtfsFileSource ntfs;

  bool Stopped() const { return stop.Requested(); }
  bool DeepMode() const;
  // The file system whose saver the folders take: "FAT16", "FAT32" or "NTFS".
  const FileSystemKind& FileSystem() const;
  bool Fat() const;
  bool Ntfs() const;
  // The current partition as the FAT engine reads it; its walks end when the run is stopped.
  FatVolume Volume() const;

  // The saving window: the file being written, its bytes so far, the counters. Each report takes
  // the button pressed since the last one (Skip, Stop).
  void ShowFile(const std::string& name, const std::filesystem::path& path, std::uint64_t size);
  void ShowFileBytes(std::uint64_t written);
  void ShowCounters();
  // The count window before saving: the totals so far.
  void ShowCount();

  // The destination took no more: the message, and the whole run stops.
  void OutOfSpace();

 private:
  void Report(SavePhase phase);

  bool show_progress_;
  SaveProgress progress_;
};

}  // namespace pellora
