// The rules around the log buttons of the Basic and Deep windows.
#include "recoverylog/log_session.hpp"

#include <gtest/gtest.h>

#include "recoverylog/log_messages.hpp"
#include "support/scripted_ui.hpp"

namespace pellora {
namespace {

TEST(RecoveryLogSession, ButtonsAndExitPromptFollowTheResults) {
  test::ScriptedUi ui;
  AppState app(ui);
  // Nothing scanned: nothing to save, a log may be loaded, no question on leaving.
  EXPECT_FALSE(SaveLogAllowed(app));
  EXPECT_TRUE(LoadLogAllowed(app));
  EXPECT_FALSE(AsksToSaveLogOnExit(app, false));

  app.results.AddFolderNode(app.results.RootItem(), "DCIM", 3, 0, 0, 0, false, 0);
  EXPECT_TRUE(SaveLogAllowed(app));
  EXPECT_FALSE(LoadLogAllowed(app));
  EXPECT_TRUE(AsksToSaveLogOnExit(app, false));
  EXPECT_FALSE(AsksToSaveLogOnExit(app, true));
  EXPECT_EQ(ui.Messages(),
            (std::vector<std::string>{std::string(kSaveLogNothingScanned), std::string(kLoadLogAfterScan)}));
}

}  // namespace
}  // namespace pellora
