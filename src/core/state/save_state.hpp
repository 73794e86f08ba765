#pragma once

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <string>
#include <unordered_map>
#include <vector>

namespace pellora {

// Where a save takes its selection from.
enum class SaveSource : std::uint16_t {
  kCheckedTree = 1,   // the folders ticked in the result tree
  kSelectedRows = 2,  // the rows selected in the file list
};

// The replace answer as it stands for the next conflict.
enum class ReplaceMode : std::uint32_t {
  kAsk = 0,           // none yet, or "Overwrite" for the last file only: ask again
  kSkipOne = 1,       // "Skip" for the last file only: ask again
  kOverwriteAll = 2,  // every later conflict is overwritten without asking
  kSkipAll = 3,       // every later conflict is skipped without asking (also after "Cancel")
  kRenameOne = 4,     // "Rename" for the last file only: ask again
  kRenameAll = 5,     // every later conflict gets a new name without asking
};

// The names of the destination: conflicts with existing files and paths that are too long.
struct NamingState {
  ReplaceMode replace = ReplaceMode::kAsk;
  bool long_path_for_all = false;  // "Do this for all next conflicts." was ticked
  bool ignore_all_long_paths = false;
  std::filesystem::path long_path_base;  // keeps its last value from one save to the next
  // Per clashing path, the "_zy_N" number its last new name took: numbers below it are taken, so
  // the next clash probes from there instead of from 0 (thousands of clashes of one name stay linear).
  std::unordered_map<std::string, std::uint64_t> new_name_numbers;
};

// The counters of one save run, shown in the saving window and in the summary.
struct SaveCounters {
  std::uint64_t files_selected = 0;
  std::uint64_t folders_selected = 0;
  std::uint64_t files_done = 0;     // files handed to a file writer
  std::uint64_t files_saved = 0;    // files written whole (the summary's figure)
  std::uint64_t folders_saved = 0;  // folders made (and partly ticked folders passed through)
  std::uint64_t invalid_entries = 0;
  std::uint64_t files_written = 0;     // files created at the destination
  std::uint64_t files_incomplete = 0;  // of those, ended early by a skip, a stop or an unreadable sector
};

// A selected file or folder that did not reach the destination whole.
struct UnsavedItem {
  enum class Kind {
    kIncomplete,  // created, but not every byte was written (unreadable sectors, Skip, a full disk)
    kNotWritten,  // never created: a path still too long, a folder that could not be made, a failure
    kKept,        // not written because the destination already had that name and "Skip" kept it
  };
  Kind kind = Kind::kNotWritten;
  std::filesystem::path path;  // where it was to go (or went, when incomplete)
  std::string reason;          // "path too long", "No space left on device", "1024 of 4096 bytes" ...
};

// How the last save run ended.
enum class SaveEnd {
  kNone,          // none has run, or one is running
  kRefused,       // a check before counting refused it (its message was shown)
  kCountStopped,  // stopped while counting: nothing was written
  kCompleted,
  kStopped,     // stopped by the person or by "Cancel" in the replace window
  kOutOfSpace,  // the destination took no more
};

// The process-wide state of saving; one save run at a time.
struct SaveState {
  std::filesystem::path destination_base;  // chosen in the destination window; stays for later saves
  SaveSource source = SaveSource::kCheckedTree;
  // Set by "Skip": ends the file being written, and is cleared when that file is closed.
  std::atomic<bool> skip{false};
  SaveEnd end = SaveEnd::kNone;
  SaveCounters counters;
  std::vector<UnsavedItem> unsaved;  // in the order met
  NamingState naming;
};

// True when the run ended and every selected file was written whole (a conflict the person chose to
// skip keeps the file already there and does not count against it): only then was the save a
// success.
inline bool EverythingWritten(const SaveState& state) {
  if (state.end != SaveEnd::kCompleted) return false;
  for (const UnsavedItem& item : state.unsaved)
    if (item.kind != UnsavedItem::Kind::kKept) return false;
  return true;
}

}  // namespace pellora
