#include "search/recovered_file_preview.hpp"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "search/basic_search.hpp"
#include "search/file_list_filler.hpp"
#include "support/fat_image.hpp"
#include "support/recording_launcher.hpp"
#include "support/scripted_ui.hpp"
#include "support/temp_dir.hpp"

namespace pellora {
namespace {

TEST(PreviewFileName, NumberAndTheNamesOwnExtension) {
  EXPECT_EQ(PreviewFileName(1, "photo.JPG"), "ZYDC1.JPG");
  EXPECT_EQ(PreviewFileName(2, "README"), "ZYDC2");
  EXPECT_EQ(PreviewFileName(12, "report.final.docx"), "ZYDC12.docx");
  EXPECT_EQ(PreviewFileName(3, "odd. txt "), "ZYDC3.txt");
}

TEST(OpenRecoveredFile, WritesACopyIntoTheTemporaryFolderAndOpensIt) {
  test::TempDir temp;
  test::ScriptedUi ui;
  AppState app(ui);
  app.temp_folder = temp.Path();
  auto launcher = std::make_shared<test::RecordingLauncher>();
  app.launcher = launcher;
  app.current_device_path = app.devices.AttachDiskImage(test::SampleCard());
  app.mode.Set(SearchMode::kBasic);
  PartitionParams& p = app.partition_params;
  p.FileSystemName = "FAT32";
  p.StartSector = p.RangeStart = test::kSampleCardPartitionStart;
  p.EndSector = p.RangeEnd = std::filesystem::file_size(test::SampleCard()) / 512;
  p.ReadLimitBytes = p.EndSector * 512;
  RunBasicSearch(app, {});

  const FolderNode* photos = app.results.nodes.ByName("100PELLO");
  ASSERT_NE(photos, nullptr);
  const auto lines = FillFileList(app, photos->tree_item);
  auto line = [&](std::string_view name) {
    for (const FileListRow& row : lines)
      if (row.name == name) return row;
    throw std::runtime_error("no line " + std::string(name));
  };
  const auto first = OpenRecoveredFile(app, line("IMG_0001.JPG"));
  ASSERT_TRUE(first);
  EXPECT_EQ(*first, temp / "ZYDC1.JPG");
  EXPECT_EQ(test::ReadFile(*first), test::ReadFile(test::SampleCardFiles() / "DCIM/100PELLO/IMG_0001.JPG"));
  // A deleted photo comes back from its clusters too.
  const auto deleted = OpenRecoveredFile(app, line("Birthday party - cake and candles.jpg"));
  ASSERT_TRUE(deleted);
  EXPECT_EQ(deleted->filename(), "ZYDC2.jpg");
  EXPECT_EQ(test::ReadFile(*deleted),
            test::ReadFile(test::SampleCardFiles() / "DCIM/100PELLO/Birthday party - cake and candles.jpg"));
  ASSERT_EQ(launcher->runs.size(), 2u);
  EXPECT_THAT(launcher->runs[0], ::testing::ElementsAre("xdg-open", (temp / "ZYDC1.JPG").string()));
  EXPECT_THAT(ui.Events(), ::testing::Not(::testing::Contains(::testing::StartsWith("message"))));

  FileListRow folder;
  folder.type = "FOLDER";
  EXPECT_FALSE(OpenRecoveredFile(app, folder));
  EXPECT_EQ(launcher->runs.size(), 2u);
}

TEST(OpenRecoveredFile, NtfsFilesComeBackFromTheirRecordOrTheirRuns) {
  test::TempDir temp;
  test::ScriptedUi ui;
  AppState app(ui);
  app.temp_folder = temp.Path();
  app.launcher = std::make_shared<test::RecordingLauncher>();
  const auto image = test::NtfsFixture("ntfs-features-disk.img");
  app.current_device_path = app.devices.AttachDiskImage(image);
  app.mode.Set(SearchMode::kBasic);
  PartitionParams& p = app.partition_params;
  p.FileSystemName = "NTFS";
  p.StartSector = p.RangeStart = test::kNtfsFeaturesPartitionStart;
  p.EndSector = p.RangeEnd = std::filesystem::file_size(image) / 512;
  p.ReadLimitBytes = p.EndSector * 512;
  RunBasicSearch(app, {});

  const auto original = [&](const std::string& path) {
    const std::string at = " -o " + std::to_string(test::kNtfsFeaturesPartitionStart) + " '" + image.string() + "' ";
    const std::string inode = test::Shell("ifind" + at + "-n '" + path + "'");
    return test::Shell("icat" + at + inode.substr(0, inode.find('\n')));
  };
  struct Case {
    const char* folder;
    const char* name;
  };
  // Resident, in runs, deleted, and in runs kept in extension records.
  for (const Case& c : {Case{"Docs", "report.txt"}, Case{"Docs", "photo.jpg"}, Case{"Docs", "deleted big.bin"},
                        Case{"Fragmented", "many runs.bin"}, Case{"Docs", "empty.txt"}}) {
    const FolderNode* folder = app.results.nodes.ByName(c.folder);
    ASSERT_NE(folder, nullptr);
    std::optional<FileListRow> line;
    for (const FileListRow& row : FillFileList(app, folder->tree_item))
      if (row.name == c.name) line = row;
    ASSERT_TRUE(line) << c.name;
    const auto copy = OpenRecoveredFile(app, *line);
    ASSERT_TRUE(copy) << c.name;
    EXPECT_EQ(test::ReadFile(*copy), original(std::string(c.folder) + "/" + c.name)) << c.name;
  }
  EXPECT_TRUE(ui.Reports().empty());
}

}  // namespace
}  // namespace pellora
