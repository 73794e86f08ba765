#include "app/modes.hpp"

namespace pellora {

StartModeOutcome StartMode(Program& app, SearchMode mode) {
  if (app.search.Running() || app.log_loading.Running()) return StartModeOutcome::kIgnored;
  if (mode == SearchMode::kBasic || mode == SearchMode::kDeep) {
    app.results.Clear();
    app.read_guard.ResetCounters();
  }
  app.mode.Set(mode);
  if (app.drive_loading.Running()) return StartModeOutcome::kModeSet;
  app.command_line_log_path.clear();
  return StartModeOutcome::kLoadDrives;
}

}  // namespace pellora
