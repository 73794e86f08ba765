#pragma once

#include <string>

#include "app/app_state.hpp"
#include "common/search_mode.hpp"

namespace pellora {

enum class StartModeOutcome {
  kIgnored,    // a search or a log load is running: the button does nothing
  kModeSet,    // the mode changed, but drives are still being loaded for the previous click
  kLoadDrives  // the mode changed; the caller loads the drives and opens the mode's window
};

// A mode button of the main window. Basic and Deep start from empty results and reset the read
// guard's counters; the carving modes keep what an earlier Basic or Deep search found.
StartModeOutcome StartMode(AppState& app, SearchMode mode);

// The text of the end-of-search window for a mode, the search's result and whether it was stopped.
std::string EndMessageText(SearchMode mode, bool result, bool stopped);

// Shows the end message of the current mode; in Basic and Deep a successful end is shown at most
// once per search.
void ShowEndMessage(AppState& app, bool result);

// What a Basic or Deep worker does first: clear the stopped and shown-once flags.
void BeginSearchRun(AppState& app);

}  // namespace pellora
