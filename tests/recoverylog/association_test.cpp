// At start-up the user's desktop learns that *.dmc files are recovery logs opened by this program.
#include "recoverylog/association.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "recoverylog/log_messages.hpp"
#include "support/recording_launcher.hpp"
#include "support/scripted_ui.hpp"
#include "support/temp_dir.hpp"

namespace pellora {
namespace {

namespace fs = std::filesystem;

TEST(RecoveryLogAssociation, WritesWhatTheUserLacksOnce) {
  test::TempDir home;
  const test::ScopedEnv xdg("XDG_DATA_HOME", home.Path().c_str());
  test::ScriptedUi ui;
  test::RecordingLauncher launcher;
  const fs::path program = "/opt/pellora app/pellora";

  EXPECT_TRUE(RegisterLogAssociation(ui, launcher, program));
  const std::string desktop = test::ReadFile(home / "applications/pellora.desktop");
  EXPECT_NE(desktop.find("Exec=\"/opt/pellora app/pellora\" %f\n"), std::string::npos) << desktop;
  EXPECT_NE(desktop.find("MimeType=application/x-pellora-dmc;\n"), std::string::npos);
  EXPECT_NE(test::ReadFile(home / "mime/packages/pellora-dmc.xml").find("<glob pattern=\"*.dmc\"/>"),
            std::string::npos);
  EXPECT_EQ(launcher.runs,
            (std::vector<std::vector<std::string>>{{"update-mime-database", (home / "mime").string()},
                                                   {"update-desktop-database", (home / "applications").string()}}));

  // Known already: nothing is written or refreshed.
  launcher.runs.clear();
  EXPECT_TRUE(RegisterLogAssociation(ui, launcher, program));
  EXPECT_TRUE(launcher.runs.empty());
  // The program moved: the entry follows it.
  EXPECT_TRUE(RegisterLogAssociation(ui, launcher, "/usr/bin/pellora"));
  EXPECT_NE(test::ReadFile(home / "applications/pellora.desktop").find("Exec=/usr/bin/pellora %f\n"),
            std::string::npos);
  EXPECT_EQ(launcher.runs.size(), 1u);
  EXPECT_TRUE(ui.Messages().empty());
}

TEST(RecoveryLogAssociation, AFolderThatCannotBeWrittenIsReported) {
  test::TempDir home;
  test::WriteFile(home / "mime", "a file where the folder should be");
  test::ScriptedUi ui;
  test::RecordingLauncher launcher;
  EXPECT_FALSE(RegisterLogAssociation(ui, launcher, "/usr/bin/pellora", home.Path()));
  EXPECT_EQ(ui.Messages(), std::vector<std::string>{std::string(kAssociationFailed)});
  EXPECT_TRUE(launcher.runs.empty());
}

// The installed files are the ones start-up writes, for the installed program.
TEST(RecoveryLogAssociation, InstalledFilesMatchWhatStartUpWrites) {
  const fs::path data = fs::path(PELLORA_SOURCE_DIR) / "data/desktop";
  EXPECT_EQ(test::ReadFile(data / "pellora.desktop"), DesktopEntryText("pellora"));
  EXPECT_EQ(test::ReadFile(data / "pellora-dmc.xml"), MimeTypeText());
}

}  // namespace
}  // namespace pellora
