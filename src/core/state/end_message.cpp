#include "state/end_message.hpp"

namespace pellora {

std::string EndMessageText(SearchMode mode, bool result, bool stopped) {
  if (mode == SearchMode::kBasic || mode == SearchMode::kDeep) {
    const std::string mode_name = mode == SearchMode::kBasic ? "Basic Search Mode" : "Deep Search Mode";
    const char* verb = !result ? "not possible" : (stopped ? "stopped" : "completed");
    return std::string("Recovery is ") + verb + " in " + mode_name + ", use other search mode to recover your data.";
  }
  return result ? "Searching of files in specified disk sectors is stopped."
                : "Searching of files in specified disk sectors is completed.";
}

void ShowEndMessage(AppState& app, bool result) {
  const SearchMode mode = app.mode.Get();
  const bool once = mode == SearchMode::kBasic || mode == SearchMode::kDeep;
  if (once && result && app.end_message_shown.exchange(true)) return;
  app.ui.ShowEndMessage(EndMessageText(mode, result, app.stopped.load()));
}

void BeginSearchRun(AppState& app) {
  app.stopped.store(false);
  app.end_message_shown.store(false);
}

}  // namespace pellora
