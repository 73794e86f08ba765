#pragma once

#include <cstddef>
#include <filesystem>
#include <functional>
#include <optional>
#include <span>

#include "common/ui.hpp"
#include "recoverylog/recovery_log.hpp"

namespace pellora {

// How loading a log ended.
enum class LogLoadEnd {
  kLoaded,      // log holds what the file held
  kCannotOpen,  // the file could not be opened or read
  kRefused,     // a message said why (another magic, the drive is gone), or the person said No
  kSwitchMode,  // the log is of the other mode and the person chose to switch: load it there
  kCorrupt,     // the file ends early or holds a malformed value; the invalid-log message was shown
};

struct LogLoad {
  LogLoadEnd end = LogLoadEnd::kRefused;
  SearchMode log_mode = SearchMode::kNone;  // the mode the log was saved in, once read
  std::optional<LoadedLog> log;
  std::string declined;  // the question the person said No to, when that ended the load
};

// The drives present now; volumes is true when the log names a volume, which lists the logical
// drives first when they are not listed yet.
using PresentDrivesSource = std::function<PresentDrives(bool volumes)>;

// Reads a log in the window of window_mode: the magic, the mode (a log of the other mode asks
// whether to switch), the drive it was made of (asking when it now has another number or letter),
// then the values, the tree and the tables. Any file at all ends in one of the outcomes: lengths
// and counts are held against the bytes that are left, so nothing reads past the end or allocates
// more than the file could describe.
LogLoad ReadRecoveryLog(std::span<const std::byte> bytes, SearchMode window_mode, const PresentDrivesSource& present,
                        Ui& ui);
LogLoad ReadRecoveryLogFile(const std::filesystem::path& path, SearchMode window_mode,
                            const PresentDrivesSource& present, Ui& ui);

// The mode of a log named on the command line, read from its first four values; nothing when the
// magic or the mode is not one of a log. opened is false when the file cannot be read.
struct LogHeaderMode {
  bool opened = false;
  int error = 0;  // errno of the failure to open
  std::optional<SearchMode> mode;
};
LogHeaderMode ReadLogFileMode(const std::filesystem::path& path);

}  // namespace pellora
