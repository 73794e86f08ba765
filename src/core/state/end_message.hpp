#pragma once

#include <string>

#include "common/search_mode.hpp"
#include "state/app_state.hpp"

namespace pellora {

// The text of the end-of-search window for a mode, the search's result and whether it was stopped.
std::string EndMessageText(SearchMode mode, bool result, bool stopped);

// Shows the end message of the current mode; in Basic and Deep a successful end is shown at most
// once per search.
void ShowEndMessage(AppState& app, bool result);

// What a Basic or Deep worker does first: clear the stopped and shown-once flags.
void BeginSearchRun(AppState& app);

}  // namespace pellora
