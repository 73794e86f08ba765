#include "app/modes.hpp"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <latch>

#include "support/scripted_ui.hpp"

namespace pellora {
namespace {

using ::testing::ElementsAre;

class ModesTest : public ::testing::Test {
 protected:
  // Occupies a worker slot until the test releases it.
  void Occupy(WorkerSlot& slot) {
    slot.Start([this](std::stop_token) { release_.wait(); });
  }
  void Release() { release_.count_down(); }

  test::ScriptedUi ui_;
  std::latch release_{1};  // outlives app_, whose slots join their workers
  Program app_{ui_};
};

TEST_F(ModesTest, BasicAndDeepStartFromResetCountersTheCarvingModesDoNot) {
  for (SearchMode mode : {SearchMode::kBasic, SearchMode::kDeep}) {
    app_.read_guard.CountValidatedPartition(SearchMode::kBasic);
    app_.read_guard.CountValidatedPartition(SearchMode::kDeep);
    EXPECT_EQ(StartMode(app_, mode), StartModeOutcome::kLoadDrives);
    EXPECT_EQ(app_.mode.Get(), mode);
    EXPECT_EQ(app_.read_guard.BasicValidated(), 0u);
    EXPECT_EQ(app_.read_guard.DeepValidated(), 0u);
  }
  app_.read_guard.CountValidatedPartition(SearchMode::kBasic);
  for (SearchMode mode : {SearchMode::kPhoto, SearchMode::kVideo, SearchMode::kSignature}) {
    EXPECT_EQ(StartMode(app_, mode), StartModeOutcome::kLoadDrives);
    EXPECT_EQ(app_.read_guard.BasicValidated(), 1u);
  }
}

TEST_F(ModesTest, StartingAModeClearsTheCommandLineLog) {
  app_.command_line_log_path = "/cards/scan.DMC";
  StartMode(app_, SearchMode::kPhoto);
  EXPECT_TRUE(app_.command_line_log_path.empty());
}

TEST_F(ModesTest, ModeButtonsAreIgnoredWhileASearchRuns) {
  app_.mode.Set(SearchMode::kPhoto);
  Occupy(app_.search);
  EXPECT_EQ(StartMode(app_, SearchMode::kBasic), StartModeOutcome::kIgnored);
  EXPECT_EQ(app_.mode.Get(), SearchMode::kPhoto);
  Release();
  app_.search.Join();
  EXPECT_EQ(StartMode(app_, SearchMode::kBasic), StartModeOutcome::kLoadDrives);
}

TEST_F(ModesTest, SecondClickWhileDrivesLoadStartsNothingNew) {
  EXPECT_EQ(StartMode(app_, SearchMode::kBasic), StartModeOutcome::kLoadDrives);
  Occupy(app_.drive_loading);
  app_.command_line_log_path = "kept";
  EXPECT_EQ(StartMode(app_, SearchMode::kDeep), StartModeOutcome::kModeSet);
  EXPECT_EQ(app_.mode.Get(), SearchMode::kDeep);
  EXPECT_EQ(app_.command_line_log_path, "kept");
  EXPECT_FALSE(app_.drive_loading.Start([](std::stop_token) {}));  // one worker of a kind at a time
  Release();
}

TEST(EndMessage, TextByModeResultAndStop) {
  struct Case {
    SearchMode mode;
    bool result;
    bool stopped;
    const char* text;
  };
  const std::vector<Case> cases = {
      {SearchMode::kBasic, true, false,
       "Recovery is completed in Basic Search Mode, use other search mode to recover your data."},
      {SearchMode::kBasic, true, true,
       "Recovery is stopped in Basic Search Mode, use other search mode to recover your data."},
      {SearchMode::kBasic, false, true,
       "Recovery is not possible in Basic Search Mode, use other search mode to recover your data."},
      {SearchMode::kDeep, true, false,
       "Recovery is completed in Deep Search Mode, use other search mode to recover your data."},
      {SearchMode::kDeep, false, false,
       "Recovery is not possible in Deep Search Mode, use other search mode to recover your data."},
      {SearchMode::kPhoto, true, false, "Searching of files in specified disk sectors is stopped."},
      {SearchMode::kVideo, false, false, "Searching of files in specified disk sectors is completed."},
      {SearchMode::kSignature, false, true, "Searching of files in specified disk sectors is completed."},
  };
  for (const Case& c : cases) EXPECT_EQ(EndMessageText(c.mode, c.result, c.stopped), c.text);
}

TEST_F(ModesTest, BasicEndMessageIsShownOncePerSearch) {
  app_.mode.Set(SearchMode::kBasic);
  BeginSearchRun(app_);
  ShowEndMessage(app_, true);
  ShowEndMessage(app_, true);
  ShowEndMessage(app_, false);  // "not possible" is not held back
  BeginSearchRun(app_);
  app_.stopped = true;
  ShowEndMessage(app_, true);
  EXPECT_THAT(
      ui_.Events(),
      ElementsAre("end: Recovery is completed in Basic Search Mode, use other search mode to recover your data.",
                  "end: Recovery is not possible in Basic Search Mode, use other search mode to recover your "
                  "data.",
                  "end: Recovery is stopped in Basic Search Mode, use other search mode to recover your data."));
}

}  // namespace
}  // namespace pellora
