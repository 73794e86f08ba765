#include "app/startup.hpp"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "support/scripted_ui.hpp"
#include "support/temp_dir.hpp"

namespace pellora {
namespace {

using ::testing::ElementsAre;

TEST(StartUp, CommandLineLogPathLosesBlanksAndOnePairOfQuotes) {
  struct Case {
    const char* line;
    const char* path;
  };
  for (const Case c : {Case{"", ""}, Case{"  ", ""}, Case{" /cards/scan.DMC ", "/cards/scan.DMC"},
                       Case{"\"/my cards/scan.DMC\"", "/my cards/scan.DMC"}, Case{"  \"/a b.DMC\"  ", "/a b.DMC"},
                       Case{"\"\"x.DMC\"\"", "\"x.DMC\""}})
    EXPECT_EQ(CommandLineLogPath(c.line), c.path) << c.line;
}

class StartUpTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const auto& file : MakeDefinitionPaths(PELLORA_BIN_DIR).InOrder())
      std::filesystem::copy_file(file, dir_ / file.filename().string());
  }
  test::TempDir dir_;
  test::ScriptedUi ui_;
  Program app_{ui_};
};

TEST_F(StartUpTest, ReadsThePhotoSetsAndFixesTheErrorLogBesideTheProgram) {
  ASSERT_TRUE(StartUp(app_, dir_.Path(), {"\"/cards/a", "b.DMC\""}));
  EXPECT_TRUE(ui_.Events().empty());
  EXPECT_FALSE(app_.photo_definitions.general.Empty());
  EXPECT_FALSE(app_.photo_definitions.advance.Empty());
  EXPECT_EQ(app_.definition_paths.video_advance, dir_ / "QELVideoAdv.dll");
  EXPECT_EQ(app_.reporter.LogPath(), dir_ / "Error_Log.txt");
  EXPECT_EQ(app_.command_line_log_path, "/cards/a b.DMC");
}

TEST_F(StartUpTest, TheFirstMissingFileEndsStartUpWithItsMessage) {
  std::filesystem::remove(dir_ / "QELVideo.dll");
  std::filesystem::remove(dir_ / "QELSigAdv.dll");
  EXPECT_FALSE(StartUp(app_, dir_.Path(), {}));
  EXPECT_THAT(ui_.Messages(), ElementsAre("Couldn't open source file: No such file or directory"));
  EXPECT_TRUE(app_.reporter.LogPath().empty());  // fixed only when all six open
}

TEST_F(StartUpTest, AMissingPhotoFileFailsBeforeAnythingElse) {
  std::filesystem::remove(dir_ / "QELExt2Adv.dll");
  EXPECT_FALSE(StartUp(app_, dir_.Path(), {}));
  EXPECT_THAT(ui_.Messages(), ElementsAre("Couldn't open source file: No such file or directory"));
}

TEST_F(StartUpTest, UnusableEntriesAreShownOnceAndStartUpGoesOn) {
  test::WriteFile(dir_ / "QELExt2Adv.dll",
                  "Extension:.BAD\nMaximum Size:1\nSignature:FF\nPosition:0\nReserved:0\nDescription:x\n");
  ASSERT_TRUE(StartUp(app_, dir_.Path(), {}));
  ASSERT_EQ(ui_.Messages().size(), 1u);
  EXPECT_THAT(ui_.Messages()[0], ::testing::HasSubstr("\"QELExt2Adv.dll\", entry 1"));
  EXPECT_TRUE(app_.photo_definitions.advance.Empty());
}

TEST(ErrorLogPath, InstalledProgramLogsUnderTheStateFolder) {
  {
    const test::ScopedEnv state("XDG_STATE_HOME", "/var/tmp/state");
    EXPECT_EQ(ErrorLogPath("/nonexistent/bin"), "/var/tmp/state/pellora/Error_Log.txt");
  }
  const test::ScopedEnv relative("XDG_STATE_HOME", "relative/ignored");
  const test::ScopedEnv home("HOME", "/home/someone");
  EXPECT_EQ(ErrorLogPath("/nonexistent/bin"), "/home/someone/.local/state/pellora/Error_Log.txt");
}

}  // namespace
}  // namespace pellora
