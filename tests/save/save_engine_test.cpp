// The save engine over FAT volumes made by mkfs.fat and mtools: what it writes, where, and how it
// stops.

#include <fcntl.h>
#include <sys/mount.h>
#include <unistd.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <fstream>

#include "common/output_file.hpp"
#include "common/text.hpp"
#include "save/checked_tree_saving.hpp"
#include "save/destination_check.hpp"
#include "save/save_run.hpp"
#include "save/save_worker.hpp"
#include "save/selection_count.hpp"
#include "save_fixture.hpp"
#include "search/file_list_filler.hpp"
#include "support/memory_disk.hpp"
#include "support/recording_launcher.hpp"
#include "support/temp_dir.hpp"

namespace pellora {
namespace {

namespace fs = std::filesystem;
using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::Not;
using ::testing::StartsWith;
using ::testing::UnorderedElementsAre;

std::string Content(std::size_t size, char seed) {
  std::string text(size, '\0');
  for (std::size_t i = 0; i < size; ++i) text[i] = static_cast<char>(seed + static_cast<char>(i % 251));
  return text;
}

// Every file and folder below a folder, as relative paths ("a/", "a/b.txt").
std::vector<std::string> Listing(const fs::path& root) {
  std::vector<std::string> entries;
  for (const auto& entry : fs::recursive_directory_iterator(root)) {
    const std::string path = fs::relative(entry.path(), root).string();
    entries.push_back(entry.is_directory() ? path + "/" : path);
  }
  std::sort(entries.begin(), entries.end());
  return entries;
}

TEST(SaveEngine, LongNamesKeepToThe259CharacterLimit) {
  test::TempDir dir;
  test::FatImage image(dir / "v.img", 32, 1, 40);
  const std::string fits = std::string(96, 'a') + ".txt";      // 100 characters
  const std::string too_long = std::string(97, 'b') + ".txt";  // 101
  image.Mkdir("F");
  image.Put("F/" + fits, "fits");
  image.Put("F/" + too_long, "too long");
  test::Recovered recovered(image.Path(), "FAT32");

  // base + "/F/" + fits has exactly 259 characters.
  const std::size_t base_length = 259 - 3 - fits.size();
  const fs::path base = dir / std::string(base_length - dir.Path().native().size() - 1, 'd');
  ASSERT_TRUE(recovered.SaveAll(base));
  ASSERT_EQ((base / "F" / fits).native().size(), 259u);
  std::string short_name;
  for (const FileListRow& row : FileLines(recovered.app, recovered.Folder("F")))
    if (row.name == too_long) short_name = row.short_name;
  ASSERT_EQ(short_name.size(), 12u);  // BBBBBB~1.TXT
  EXPECT_THAT(Listing(base / "F"), UnorderedElementsAre(fits, short_name));
  EXPECT_EQ(test::ReadFile(base / "F" / fits), "fits");
  EXPECT_EQ(test::ReadFile(base / "F" / short_name), "too long");
  EXPECT_THAT(recovered.ui.Events(), Not(Contains(StartsWith("long path"))));
}

// A volume of 4 KiB clusters whose first file is read in several pieces.
struct ThreeFiles {
  test::TempDir dir;
  test::FatImage image{dir / "v.img", 32, 8, 300};
  std::string big = Content(3 << 20, 'a');
  ThreeFiles() {
    image.Put("big.bin", big);
    image.Put("next.bin", Content(100000, 'n'));
    image.Put("last.bin", Content(5000, 'l'));
  }
};

TEST(SaveEngine, SkipEndsOneFileAndStopEndsTheRunBothLeavingThePartialFile) {
  ThreeFiles three;
  for (const SaveButton button : {SaveButton::kSkip, SaveButton::kStop}) {
    test::Recovered recovered(three.image.Path(), "FAT32");
    recovered.ui.OnSaveProgress([button](const SaveProgress& p) {
      return p.file_name == "big.bin" && p.file_written >= (1u << 20) ? button : SaveButton::kNone;
    });
    const fs::path out = three.dir / (button == SaveButton::kSkip ? "skipped" : "stopped");
    ASSERT_TRUE(recovered.SaveAll(out));
    const std::string partial = test::ReadFile(out / "big.bin");
    EXPECT_EQ(partial.size(), 1u << 20);
    EXPECT_EQ(partial, three.big.substr(0, 1 << 20));
    const SaveState& state = recovered.app.save;
    EXPECT_EQ(state.counters.files_incomplete, 1u);
    // The partial file is not counted as saved.
    if (button == SaveButton::kSkip) {
      EXPECT_EQ(state.end, SaveEnd::kCompleted);
      EXPECT_EQ(test::ReadFile(out / "next.bin"), Content(100000, 'n'));
      EXPECT_EQ(test::ReadFile(out / "last.bin"), Content(5000, 'l'));
      EXPECT_EQ(state.counters.files_saved, 2u);
    } else {
      EXPECT_EQ(state.end, SaveEnd::kStopped);
      EXPECT_THAT(Listing(out), ElementsAre("ZYD_Miscellaneous/", "big.bin"));
      EXPECT_EQ(state.counters.files_saved, 0u);
    }
    // Neither says "saved successfully": the summary ends naming the partial file.
    EXPECT_THAT(recovered.ui.Events(), Not(Contains(StartsWith("save completed"))));
    ASSERT_EQ(state.unsaved.size(), 1u);
    EXPECT_EQ(recovered.ui.LastText(UiText::kSaveTotals), "( incomplete : " + (out / "big.bin").string() +
                                                              " - 1048576 of " + std::to_string(three.big.size()) +
                                                              " bytes written )");
    EXPECT_FALSE(state.skip);
  }
}

TEST(SaveEngine, StopWhileCountingWritesNothing) {
  ThreeFiles three;
  test::Recovered recovered(three.image.Path(), "FAT32");
  recovered.ui.OnSaveProgress(
      [](const SaveProgress& p) { return p.phase == SavePhase::kCounting ? SaveButton::kStop : SaveButton::kNone; });
  ASSERT_TRUE(recovered.SaveAll(three.dir / "out"));
  EXPECT_EQ(recovered.app.save.end, SaveEnd::kCountStopped);
  EXPECT_THAT(Listing(three.dir / "out"), IsEmpty());
  EXPECT_THAT(recovered.ui.Events(), Not(Contains(StartsWith("save completed"))));
}

TEST(SaveEngine, CountsAndTheSavingWindowAgree) {
  ThreeFiles three;
  three.image.Mkdir("A");
  three.image.Mkdir("A/B");
  three.image.Put("A/B/deep.txt", "deep");
  three.image.Mkdir("C");
  three.image.Put("C/c.txt", "c");
  test::Recovered recovered(three.image.Path(), "FAT32");
  ResultTree& tree = recovered.app.results.tree;
  tree.SetChecked(recovered.Folder("A/B"), true);  // A becomes partly ticked
  ASSERT_TRUE(recovered.Save(
      {.source = SaveSource::kCheckedTree, .rows = {}, .destination = three.dir / "out", .deep_partitions = {}}));
  EXPECT_THAT(Listing(three.dir / "out"), ElementsAre("A/", "A/B/", "A/B/deep.txt"));
  const SaveCounters& c = recovered.app.save.counters;
  EXPECT_EQ(c.files_selected, 1u);
  EXPECT_EQ(c.folders_selected, 2u);  // the partly ticked A counts as a folder, as the save counts it
  EXPECT_EQ(c.files_saved, 1u);
  EXPECT_EQ(c.folders_saved, 2u);
  EXPECT_EQ(recovered.ui.LastText(UiText::kSaveTotals), "( recovered saved data : 1 Files, 2 Folders )");
  const auto reports = recovered.ui.SaveReports();
  ASSERT_FALSE(reports.empty());
  const SaveProgress& last = reports.back();
  EXPECT_EQ(last.file_name, "deep.txt");
  EXPECT_EQ(last.file_written, 4u);
  EXPECT_EQ(last.file_size, 4u);
  EXPECT_EQ(last.files_done, 1u);
  EXPECT_EQ(last.files_selected, 1u);
  EXPECT_EQ(last.folders_selected, 2u);
}

// Files of the file list and a folder row: the files go into the destination itself, the folder
// with everything below it where it stands in the tree.
TEST(SaveEngine, SelectedRowsOfTheFileList) {
  ThreeFiles three;
  three.image.Mkdir("A");
  three.image.Mkdir("A/B");
  three.image.Put("A/B/deep.txt", "deep");
  three.image.Put("A/a.txt", "a");
  test::Recovered recovered(three.image.Path(), "FAT32");
  std::vector<FileListRow> rows;
  for (FileListRow& row : FillFileList(recovered.app, recovered.app.results.tree.FirstItem()))
    if (row.name == "A" || row.name == "next.bin") rows.push_back(std::move(row));
  ASSERT_EQ(rows.size(), 2u);
  ASSERT_TRUE(recovered.Save(
      {.source = SaveSource::kSelectedRows, .rows = rows, .destination = three.dir / "out", .deep_partitions = {}}));
  EXPECT_THAT(Listing(three.dir / "out"), ElementsAre("A/", "A/B/", "A/B/deep.txt", "A/a.txt", "next.bin"));
  const SaveCounters& c = recovered.app.save.counters;
  EXPECT_EQ(c.files_selected, 3u);
  EXPECT_EQ(c.folders_selected, 2u);
  EXPECT_EQ(c.files_saved, 3u);
  EXPECT_EQ(c.folders_saved, 2u);
}

TEST(SaveEngine, ConflictsWithWhatTheDestinationHolds) {
  test::TempDir dir;
  test::FatImage image(dir / "v.img", 16, 4, 32);
  image.Put("report.doc", "recovered report");
  image.Put("name", "recovered name");
  image.Put("other.txt", "recovered other");
  struct Case {
    const char* label;
    ReplaceAnswer answer;
    std::vector<std::string> files;  // what the destination holds afterwards
    std::string report;              // the content of report.doc
    std::vector<std::string> windows;
  };
  const std::vector<Case> cases = {
      {"rename all",
       {ReplaceChoice::kRename, true, ""},
       {"ZYD_Miscellaneous/", "name", "name_zy_0", "other.txt", "report.doc", "report_zy_0.doc"},
       "old",
       {"report.doc"}},
      {"skip all",
       {ReplaceChoice::kSkip, true, ""},
       {"ZYD_Miscellaneous/", "name", "other.txt", "report.doc"},
       "old",
       {"report.doc"}},
      {"overwrite",
       {ReplaceChoice::kOverwrite, false, ""},
       {"ZYD_Miscellaneous/", "name", "other.txt", "report.doc"},
       "recovered report",
       {"report.doc", "name"}},
      {"cancel",
       {ReplaceChoice::kCancel, false, ""},
       {"ZYD_Miscellaneous/", "name", "report.doc"},
       "old",
       {"report.doc"}},
  };
  for (const Case& c : cases) {
    const fs::path out = dir / c.label;
    fs::create_directories(out);
    test::WriteFile(out / "report.doc", "old");
    test::WriteFile(out / "name", "old");
    test::Recovered recovered(image.Path(), "FAT16");
    recovered.ui.AnswerReplace({c.answer});
    ASSERT_TRUE(recovered.SaveAll(out)) << c.label;
    EXPECT_THAT(Listing(out), ::testing::ElementsAreArray(c.files)) << c.label;
    EXPECT_EQ(test::ReadFile(out / "report.doc"), c.report) << c.label;
    std::vector<std::string> windows;
    for (const std::string& event : recovered.ui.Events())
      if (event.starts_with("replace: "))
        windows.push_back(fs::path(event.substr(9, event.find(" -> ") - 9)).filename());
    EXPECT_EQ(windows, c.windows) << c.label;
  }
}

TEST(SaveEngine, HostileNamesStayInsideTheDestination) {
  test::TempDir dir;
  test::FatImage image(dir / "v.img", 16, 1, 16);
  image.Mkdir("evilfolder");
  image.Put("evilfolder/evil file.txt", "escaped?");
  image.Put("slash it.txt", "slashed");
  image.Put("ctrl char.txt", "control");
  test::PatchLongName(image.Path(), "evilfolder", "..");
  test::PatchLongName(image.Path(), "evil file.txt", "../../x.txt");
  test::PatchLongName(image.Path(), "slash it.txt", "/etc/x.txt");
  test::PatchLongName(image.Path(), "ctrl char.txt",
                      "a\x01"
                      "b\x1f.txt");
  test::Recovered recovered(image.Path(), "FAT16");
  fs::create_directories(dir / "inner");
  ASSERT_TRUE(recovered.SaveAll(dir / "inner" / "out"));
  EXPECT_THAT(Listing(dir.Path()),
              ElementsAre("inner/", "inner/out/", "inner/out/ZYD_Miscellaneous/", "inner/out/__/",
                          "inner/out/__/.._.._x.txt", "inner/out/_etc_x.txt", "inner/out/a_b_.txt", "v.img"));
  EXPECT_EQ(test::ReadFile(dir / "inner/out/__/.._.._x.txt"), "escaped?");
}

TEST(SaveEngine, RefusalsAndTheDestinationCheck) {
  test::TempDir dir;
  test::FatImage image(dir / "v.img", 16, 4, 32);
  image.Put("a.txt", "a");
  test::ScriptedUi ui;
  AppState fresh(ui);
  EXPECT_FALSE(StartSave(
      fresh, {.source = SaveSource::kCheckedTree, .rows = {}, .destination = dir / "out", .deep_partitions = {}}));
  EXPECT_THAT(ui.Messages(), ElementsAre(std::string(kSaveNotAvailableText)));

  test::Recovered recovered(image.Path(), "FAT16");
  const SaveRequest request{
      .source = SaveSource::kCheckedTree, .rows = {}, .destination = dir / "out", .deep_partitions = {}};
  EXPECT_FALSE(recovered.Save(request));  // nothing ticked
  EXPECT_FALSE(recovered.Save(
      {.source = SaveSource::kSelectedRows, .rows = {}, .destination = dir / "out", .deep_partitions = {}}));
  recovered.app.results.tree.SetChecked(recovered.app.results.tree.FirstItem(), true);
  test::WriteFile(dir / "plain-file", "");
  EXPECT_FALSE(recovered.Save(
      {.source = SaveSource::kCheckedTree, .rows = {}, .destination = dir / "plain-file/out", .deep_partitions = {}}));
  EXPECT_THAT(recovered.ui.Messages(), ElementsAre(std::string(kNothingSelectedText), std::string(kNothingSelectedText),
                                                   std::string(kInvalidDestinationText)));
  EXPECT_EQ(recovered.app.save.end, SaveEnd::kRefused);
  EXPECT_FALSE(fs::exists(dir / "out"));

  // A folder of the person's called "zysave" is not taken away by the check; "Open Containing
  // Folder" opens the destination.
  fs::create_directories(dir / "out" / "zysave");
  auto launcher = std::make_shared<test::RecordingLauncher>();
  recovered.app.launcher = launcher;
  recovered.ui.AnswerSaveCompleted({.ok = true, .open_folder = true});
  const fs::path previous = fs::current_path();
  fs::current_path(dir.Path());
  const bool saved =
      recovered.Save({.source = SaveSource::kCheckedTree, .rows = {}, .destination = "out/", .deep_partitions = {}});
  fs::current_path(previous);
  ASSERT_TRUE(saved);
  EXPECT_EQ(recovered.app.save.destination_base, dir / "out");
  EXPECT_THAT(Listing(dir / "out"), ElementsAre("ZYD_Miscellaneous/", "a.txt", "zysave/"));
  ASSERT_EQ(launcher->runs.size(), 1u);
  EXPECT_THAT(launcher->runs[0], ElementsAre("xdg-open", (dir / "out").string()));
}

// A small tmpfs as the destination. Mounting needs the right to; without it the test is skipped.
class SmallTmpfs {
 public:
  SmallTmpfs(const fs::path& point, std::size_t bytes) : point_(point) {
    fs::create_directories(point);
    const std::string options = "size=" + std::to_string(bytes);
    mounted_ = ::mount("tmpfs", point.c_str(), "tmpfs", 0, options.c_str()) == 0;
  }
  ~SmallTmpfs() {
    if (mounted_) ::umount2(point_.c_str(), MNT_DETACH);
  }
  bool Mounted() const { return mounted_; }

 private:
  fs::path point_;
  bool mounted_ = false;
};

TEST(SaveEngine, FullDestinationStopsTheWholeSave) {
  test::TempDir dir;
  test::FatImage image(dir / "v.img", 16, 4, 32);
  image.Put("one.bin", Content(300 << 10, '1'));
  image.Put("two.bin", Content(300 << 10, '2'));
  image.Put("three.bin", Content(300 << 10, '3'));
  SmallTmpfs full(dir / "full", 512 << 10);
  if (!full.Mounted()) GTEST_SKIP() << "cannot mount a tmpfs here: " << std::strerror(errno);
  test::Recovered recovered(image.Path(), "FAT16");
  ASSERT_TRUE(recovered.SaveAll(dir / "full" / "out"));
  EXPECT_EQ(recovered.app.save.end, SaveEnd::kOutOfSpace);
  EXPECT_THAT(recovered.ui.Messages(), ElementsAre(std::string(kSaveFailureText)));
  EXPECT_THAT(recovered.ui.Events(), Not(Contains(StartsWith("save completed"))));
  EXPECT_EQ(test::ReadFile(dir / "full/out/one.bin"), Content(300 << 10, '1'));
  EXPECT_LT(fs::file_size(dir / "full/out/two.bin"), 300u << 10);
  EXPECT_FALSE(fs::exists(dir / "full/out/three.bin"));
  // Cut short by the full disk: not saved, and named.
  EXPECT_EQ(recovered.app.save.counters.files_saved, 1u);
  ASSERT_FALSE(recovered.app.save.unsaved.empty());
  EXPECT_EQ(recovered.app.save.unsaved[0].kind, UnsavedItem::Kind::kIncomplete);
  EXPECT_EQ(recovered.app.save.unsaved[0].path, dir / "full/out/two.bin");
}

// A file whose clusters lie beyond the medium is created but cannot be filled: it is not counted
// as saved, it is named with what was written, and the completion text does not come.
TEST(SaveEngine, OnlyWholeFilesCountAsSavedAndTheOthersAreNamed) {
  test::TempDir dir;
  test::FatImage image(dir / "v.img", 16, 4, 32);
  image.Put("whole.txt", "whole");
  image.Put("cut.bin", Content(5000, 'c'));
  std::string bytes = test::ReadFile(image.Path());
  const std::size_t entry = bytes.find("CUT     BIN");
  ASSERT_NE(entry, std::string::npos);
  bytes[entry + 26] = '\xF0';  // first cluster 0xFFF0: far beyond the 32 MiB volume
  bytes[entry + 27] = '\xFF';
  test::WriteFile(image.Path(), bytes);
  test::Recovered recovered(image.Path(), "FAT16");
  ASSERT_TRUE(recovered.SaveAll(dir / "out"));
  const SaveState& save = recovered.app.save;
  EXPECT_EQ(save.end, SaveEnd::kCompleted);
  EXPECT_EQ(save.counters.files_selected, 2u);
  EXPECT_EQ(save.counters.files_saved, 1u);
  EXPECT_EQ(save.counters.files_incomplete, 1u);
  ASSERT_EQ(save.unsaved.size(), 1u);
  EXPECT_EQ(save.unsaved[0].kind, UnsavedItem::Kind::kIncomplete);
  EXPECT_EQ(save.unsaved[0].path, dir / "out" / "cut.bin");
  EXPECT_EQ(UnsavedText(save.unsaved[0]),
            "( incomplete : " + (dir / "out" / "cut.bin").string() + " - 0 of 5000 bytes written )");
  EXPECT_FALSE(EverythingWritten(save));
  EXPECT_THAT(recovered.ui.Events(), Not(Contains(StartsWith("save completed"))));
  EXPECT_EQ(test::ReadFile(dir / "out" / "whole.txt"), "whole");

  // A conflict the person skips keeps the file there: named, but the save is a success.
  test::Recovered again(image.Path(), "FAT16");
  again.ui.AnswerReplace({{ReplaceChoice::kSkip, true, ""}});
  ASSERT_TRUE(again.SaveAll(dir / "out"));
  ASSERT_EQ(again.app.save.unsaved.size(), 2u);
  EXPECT_EQ(again.app.save.unsaved[0].kind, UnsavedItem::Kind::kKept);
  EXPECT_EQ(again.app.save.unsaved[1].kind, UnsavedItem::Kind::kKept);
  EXPECT_TRUE(EverythingWritten(again.app.save));
  EXPECT_THAT(again.ui.Events(), Contains(StartsWith("save completed")));
}

// Deep Search's partition table as the save engine sees it, recording what it is asked.
class RecordingPartitions : public DeepPartitions {
 public:
  explicit RecordingPartitions(std::vector<std::uint64_t> starts) : starts_(std::move(starts)) {}
  std::size_t Count() const override { return starts_.size(); }
  std::uint64_t Cluster0StartOf(std::size_t row) const override { return starts_[row]; }
  void MakeCurrent(std::size_t row) override { calls.push_back("make " + std::to_string(row)); }
  void Restore() override { calls.push_back("restore"); }
  std::vector<std::string> calls;

 private:
  std::vector<std::uint64_t> starts_;
};

TEST(SaveEngine, DeepModeReadsEachFolderOnItsPartition) {
  test::TempDir dir;
  test::FatImage image(dir / "v.img", 16, 4, 32);
  image.Mkdir("Other");
  image.Mkdir("Other/Sub");
  image.Put("Other/Sub/s.txt", "s");
  image.Mkdir("Here");
  image.Put("Here/h.txt", "h");
  image.Put("r.txt", "r");
  test::Recovered recovered(image.Path(), "FAT16");
  AppState& app = recovered.app;
  const std::uint64_t here = app.working_params.Cluster0Start;
  const std::uint64_t other = here + 1000;
  app.results.nodes.ByItem(recovered.Folder("Other"))->partition_start = other;
  app.results.nodes.ByItem(recovered.Folder("Other/Sub"))->partition_start = here;
  app.results.nodes.ByItem(recovered.Folder("Here"))->partition_start = here;
  app.mode.Set(SearchMode::kDeep);
  RecordingPartitions partitions({here, other});
  app.results.tree.SetChecked(app.results.tree.FirstItem(), true);
  ASSERT_TRUE(recovered.Save(
      {.source = SaveSource::kCheckedTree, .rows = {}, .destination = dir / "out", .deep_partitions = &partitions}));
  // Here: its own partition is current already. Other: made current. Sub: its partition differs
  // from its parent's, so every partition in turn. The root's files: every partition. The count
  // walks the same way before the save.
  const std::vector<std::string> walk = {"make 1",  "restore", "make 0", "make 1",
                                         "restore", "make 0",  "make 1", "restore"};
  std::vector<std::string> twice = walk;
  twice.insert(twice.end(), walk.begin(), walk.end());
  EXPECT_EQ(partitions.calls, twice);
  EXPECT_THAT(Listing(dir / "out"), ElementsAre("Here/", "Here/h.txt", "Other/", "Other/Sub/", "Other/Sub/s.txt",
                                                "ZYD_Miscellaneous/", "r.txt"));
}

// The NTFS savers through the seam the NTFS engine fills: rows of a folder and the $DATA of a
// FILE record.
TEST(SaveEngine, NtfsFoldersThroughTheirRowsAndRecords) {
  test::TempDir dir;
  test::ScriptedUi ui;
  AppState app(ui);
  test::MemoryDisk disk(64);
  for (std::uint64_t sector = 0; sector < 64; ++sector)
    disk.Text(sector, 0, std::string(512, static_cast<char>('A' + sector % 26)));
  disk.AttachAs(app.devices, "\\\\.\\PhysicalDrive0");
  app.current_device_path = "\\\\.\\PhysicalDrive0";
  app.partition_params.ReadLimitBytes = 64 * 512;
  app.working_params.ParamsFileSystemName = "NTFS";
  app.working_params.SectorsPerCluster = 1;
  app.results.AddFolderNode(kNoItem, "Docs", 40, 0, 0, kNtfsRootRecord, false, 0);
  app.results.tree.SetChecked(app.results.tree.FirstItem(), true);

  const fs::path out = dir / "out";
  fs::create_directories(out / "Docs");
  test::WriteFile(out / "Docs" / "linked.txt", "kept");
  SaveState state;
  state.destination_base = out;
  SaveRun run(app, state);
  run.ntfs.folder_files = [](std::uint64_t self) -> std::vector<NtfsFolderFile> {
    if (self == kNtfsRootRecord) return {{"first.bin", "0", true, true, 100}};
    if (self != 40) return {};
    return {{"resident.txt", "5", false, false, 200},
            {"runs.bin", "1200", false, false, 300},
            {"unreadable.dat", "10", false, false, 400},
            {"no size.txt", "", true, false, 500},
            {"linked.txt", "4", true, false, 600},
            {"Holiday pictures " + std::string(240, 'x') + ".jpeg", "7", false, false, 700}};
  };
  run.ntfs.file_data = [](std::uint64_t sector) {
    NtfsSavedContent data;
    if (sector == 200)
      data = {NtfsSavedContent::Kind::kResident,
              {std::byte{'h'}, std::byte{'e'}, std::byte{'l'}, std::byte{'l'}, std::byte{'o'}},
              {},
              5,
              {}};
    if (sector == 300) data = {NtfsSavedContent::Kind::kNonResident, {}, {{10, 2}, {20, 3}}, 1200, {}};
    return data;
  };
  EXPECT_TRUE(CountSelection(run, SaveSource::kCheckedTree, {}));
  EXPECT_EQ(state.counters.files_selected, 6u);  // the row without a size is passed over
  SaveCheckedTree(run);
  // A name too long for the path and no 8.3 name to fall back on: the made short name.
  EXPECT_THAT(Listing(out), ElementsAre("Docs/", "Docs/HOLIDA~(1).JPEG", "Docs/linked.txt", "Docs/resident.txt",
                                        "Docs/runs.bin", "Docs/unreadable.dat", "first.bin"));
  EXPECT_EQ(test::ReadFile(out / "Docs/resident.txt"), "hello");
  EXPECT_EQ(test::ReadFile(out / "Docs/runs.bin"),
            std::string(512, 'K') + std::string(512, 'L') + std::string(176, 'U'));
  EXPECT_EQ(test::ReadFile(out / "Docs/unreadable.dat"), "");
  EXPECT_EQ(test::ReadFile(out / "first.bin"), "");
  EXPECT_EQ(test::ReadFile(out / "Docs/linked.txt"), "kept");  // flagged and there already: invalid
  EXPECT_EQ(state.counters.invalid_entries, 1u);
  EXPECT_EQ(state.counters.files_saved, 5u);
  EXPECT_EQ(state.counters.folders_saved, 1u);
}

}  // namespace
}  // namespace pellora
