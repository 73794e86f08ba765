#pragma once

#include "app/load_drives.hpp"
#include "state/app_state.hpp"
#include "support/scripted_ui.hpp"

namespace pellora::test {

// The process state with scripted answers, in Basic mode, for the recognition tests.
struct RecognitionHarness {
  RecognitionHarness() { app.mode.Set(SearchMode::kBasic); }
  DriveListing& List() { return LoadDrives(app, SearchMode::kBasic, false); }

  ScriptedUi ui;
  AppState app{ui};
};

}  // namespace pellora::test
