#pragma once

#include "app/program.hpp"
#include "common/search_mode.hpp"
#include "state/end_message.hpp"

namespace pellora {

enum class StartModeOutcome {
  kIgnored,    // a search or a log load is running: the button does nothing
  kModeSet,    // the mode changed, but drives are still being loaded for the previous click
  kLoadDrives  // the mode changed; the caller loads the drives and opens the mode's window
};

// A mode button of the main window. Basic and Deep start from empty results and reset the read
// guard's counters; the carving modes keep what an earlier Basic or Deep search found.
StartModeOutcome StartMode(Program& app, SearchMode mode);

}  // namespace pellora
