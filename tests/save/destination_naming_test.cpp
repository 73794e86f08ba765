// The names of the destination: new names for conflicts, short names for long paths, the replace
// and long-path windows and folder creation.

#include "save/destination_naming.hpp"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "save/conflicts.hpp"
#include "save/folder_creation.hpp"
#include "save/long_paths.hpp"
#include "support/scripted_ui.hpp"
#include "support/temp_dir.hpp"

namespace pellora {
namespace {

namespace fs = std::filesystem;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

// A path of exactly `length` characters: the folder, a separator, then a name of x's with ".txt".
fs::path PathOfLength(const fs::path& folder, std::size_t length) {
  const std::size_t name = length - folder.native().size() - 1;
  return folder / (std::string(name - 4, 'x') + ".txt");
}

TEST(DestinationNaming, TheLimitIs259Characters) {
  test::TempDir dir;
  EXPECT_FALSE(PathTooLong(PathOfLength(dir.Path(), 259)));
  EXPECT_TRUE(PathTooLong(PathOfLength(dir.Path(), 260)));
  // Characters, not bytes: 220 two-byte letters are 220 characters.
  std::string letters;
  for (int i = 0; i < 110; ++i) letters += "\xC3\xA9";
  EXPECT_FALSE(PathTooLong(fs::path("/d") / letters / letters));
  // A component this platform cannot hold is too long whatever the whole path's length.
  std::string wide;
  for (int i = 0; i < 86; ++i) wide += "\xE6\x97\xA5";  // 86 characters, 258 bytes
  EXPECT_TRUE(PathTooLong(fs::path("/d") / wide));
}

TEST(DestinationNaming, ShortNameOrTheMadeOne) {
  EXPECT_EQ(ShortNameForLongPath("Holiday pictures 2019.jpeg", "HOLIDA~1.JPE"), "HOLIDA~1.JPE");
  EXPECT_EQ(ShortNameForLongPath("Holiday pictures 2019.jpeg", ""), "HOLIDA~(1).JPEG");
  EXPECT_EQ(ShortNameForLongPath("notes without extension", ""), "NOTES ~(1)");
  EXPECT_EQ(ShortNameForLongPath("\xC3\xA9t\xC3\xA9 \xC3\xA0 la plage.jpg", ""), "\xC3\xA9T\xC3\xA9 \xC3\xA0 ~(1).JPG");

  test::TempDir dir;
  const fs::path folder = dir / "f";
  const std::string fits(259 - folder.native().size() - 1, 'n');
  EXPECT_EQ(FileDestination(folder, fits, "SHORT.TXT"), folder / fits);
  EXPECT_EQ(FileDestination(folder, fits + "n", "SHORT.TXT"), folder / "SHORT.TXT");
  EXPECT_EQ(FileDestination(folder, "../up", "UP"), folder / ".._up");
}

TEST(DestinationNaming, NewNamesCountFromZeroPastTheNamesTaken) {
  test::TempDir dir;
  test::WriteFile(dir / "report.doc", "");
  EXPECT_EQ(NewNamePath(dir / "report.doc"), dir / "report_zy_0.doc");
  test::WriteFile(dir / "report_zy_0.doc", "");
  EXPECT_EQ(NewNamePath(dir / "report.doc"), dir / "report_zy_1.doc");
  EXPECT_EQ(NewNamePath(dir / "name"), dir / "name_zy_0");
  EXPECT_EQ(NewNamePath(dir / "archive.tar.gz"), dir / "archive.tar_zy_0.gz");
}

// Many generations of one name in one folder: each clash gets exactly the name probing from 0 would
// give (holes left by earlier runs are filled first), without probing from 0 each time.
TEST(DestinationNaming, RenamedClashesGiveTheNamesProbingFromZeroGives) {
  test::TempDir dir;
  for (const char* taken : {"IMG_0001.JPG", "IMG_0001_zy_0.JPG", "IMG_0001_zy_2.JPG", "IMG_0001_zy_5.JPG", "other"})
    test::WriteFile(dir / taken, "");
  test::ScriptedUi ui;
  NamingState naming;
  naming.replace = ReplaceMode::kRenameAll;
  RunStop stop;
  std::vector<std::string> names;
  for (int i = 0; i < 400; ++i) {
    const fs::path expected = NewNamePath(dir / "IMG_0001.JPG");  // probing from 0, as before
    const auto got = ResolveFileName(naming, ui, stop, dir / "IMG_0001.JPG");
    ASSERT_EQ(got, expected) << i;
    names.push_back(got->filename());
    test::WriteFile(*got, "");
  }
  EXPECT_THAT(std::vector(names.begin(), names.begin() + 5),
              ElementsAre("IMG_0001_zy_1.JPG", "IMG_0001_zy_3.JPG", "IMG_0001_zy_4.JPG", "IMG_0001_zy_6.JPG",
                          "IMG_0001_zy_7.JPG"));
  EXPECT_EQ(names.back(), "IMG_0001_zy_402.JPG");
  // A name given but never used (skipped, or renamed by hand) is offered again.
  EXPECT_EQ(ResolveFileName(naming, ui, stop, dir / "IMG_0001.JPG"), dir / "IMG_0001_zy_403.JPG");
  EXPECT_EQ(ResolveFileName(naming, ui, stop, dir / "IMG_0001.JPG"), dir / "IMG_0001_zy_403.JPG");
  // The destination emptied between two saves: the numbers start again from 0.
  for (const auto& entry : fs::directory_iterator(dir.Path()))
    if (entry.path().filename() != "IMG_0001.JPG") fs::remove(entry.path());
  EXPECT_EQ(ResolveFileName(naming, ui, stop, dir / "IMG_0001.JPG"), dir / "IMG_0001_zy_0.JPG");
  EXPECT_THAT(ui.Events(), IsEmpty());
}

TEST(DestinationNaming, PathsWrapInTheSavingWindowWhenLong) {
  EXPECT_EQ(PathDisplayText("/out/DCIM/IMG_0001.JPG"), "/out/DCIM/IMG_0001.JPG");
  const std::string longer = "/out/" + std::string(70, 'a') + "/b.jpg";
  EXPECT_EQ(PathDisplayText(longer), " /out /" + std::string(70, 'a') + " /b.jpg");
}

// Each answer of the replace window, with and without "Apply the answer to all the files", over a
// destination that holds report.doc and name already.
TEST(Conflicts, EveryAnswerAndForAll) {
  test::TempDir dir;
  test::WriteFile(dir / "report.doc", "old");
  test::WriteFile(dir / "name", "old");
  const fs::path report = dir / "report.doc";
  const fs::path name = dir / "name";
  // The edited name is plain text here: GCC 12 at -O3 takes a table of std::string members for
  // uninitialised (a false -Wmaybe-uninitialized).
  struct Case {
    const char* label;
    ReplaceChoice choice;
    bool for_all;
    const char* new_name;
    std::optional<fs::path> first;   // what the asked conflict gives
    std::optional<fs::path> second;  // the next conflict (name): asked again unless "for all"
    bool asked_again;
    bool stops;
  };
  const Case cases[] = {
      {"overwrite", ReplaceChoice::kOverwrite, false, "", report, name, true, false},
      {"overwrite all", ReplaceChoice::kOverwrite, true, "", report, name, false, false},
      {"rename", ReplaceChoice::kRename, false, "", dir / "report_zy_0.doc", name, true, false},
      {"rename all", ReplaceChoice::kRename, true, "", dir / "report_zy_0.doc", dir / "name_zy_0", false, false},
      {"rename edited", ReplaceChoice::kRename, false, "mine.doc", dir / "mine.doc", name, true, false},
      {"skip", ReplaceChoice::kSkip, false, "", std::nullopt, name, true, false},
      {"skip all", ReplaceChoice::kSkip, true, "", std::nullopt, std::nullopt, false, false},
      {"cancel", ReplaceChoice::kCancel, false, "", std::nullopt, std::nullopt, false, true},
  };
  for (const Case& c : cases) {
    test::ScriptedUi ui;
    ui.AnswerReplace({{c.choice, c.for_all, c.new_name}});  // the second window, when asked, gets "Overwrite"
    NamingState naming;
    RunStop stop;
    EXPECT_EQ(ResolveFileName(naming, ui, stop, report), c.first) << c.label;
    EXPECT_EQ(ResolveFileName(naming, ui, stop, name), c.second) << c.label;
    EXPECT_EQ(ResolveFileName(naming, ui, stop, dir / "free.txt"), dir / "free.txt") << c.label;
    EXPECT_EQ(ui.Events().size(), c.asked_again ? 2u : 1u) << c.label;
    EXPECT_EQ(ui.Events().front(), "replace: " + report.string() + " -> " + (dir / "report_zy_0.doc").string())
        << c.label;
    EXPECT_EQ(stop.Requested(), c.stops) << c.label;
  }
}

TEST(LongPaths, EachChoiceOnceOrForAll) {
  test::TempDir dir;
  const fs::path base = dir / "out";
  const fs::path too_long = base / "very long";
  struct Case {  // the picked folder as plain text, as above
    const char* label;
    LongPathChoice choice;
    bool for_all;
    const char* picked;
    std::optional<fs::path> first;
    std::optional<fs::path> second;  // the next long path: asked again (and closed) unless for all
    bool asked_again;
  };
  const std::string picked = (dir / "picked").string();
  const Case cases[] = {
      {"ignore", LongPathChoice::kIgnore, false, "", std::nullopt, std::nullopt, true},
      {"ignore all", LongPathChoice::kIgnore, true, "", std::nullopt, std::nullopt, false},
      {"misc", LongPathChoice::kMoveToMiscellaneous, false, "", base / "ZYD_Miscellaneous", std::nullopt, true},
      {"misc all", LongPathChoice::kMoveToMiscellaneous, true, "", base / "ZYD_Miscellaneous",
       base / "ZYD_Miscellaneous", false},
      {"browse all", LongPathChoice::kBrowse, true, picked.c_str(), dir / "picked", dir / "picked", false},
      {"browse cancelled", LongPathChoice::kBrowse, false, "", std::nullopt, std::nullopt, true},
  };
  for (const Case& c : cases) {
    test::ScriptedUi ui;
    ui.AnswerLongPath({{c.choice, c.for_all, c.picked}});
    NamingState naming;
    EXPECT_EQ(LongPathBase(naming, ui, base, too_long), c.first) << c.label;
    EXPECT_EQ(LongPathBase(naming, ui, base, too_long), c.second) << c.label;
    EXPECT_EQ(ui.Events().size(), c.asked_again ? 2u : 1u) << c.label;
    EXPECT_EQ(ui.Events().front(), "long path: " + too_long.string()) << c.label;
  }
  EXPECT_TRUE(fs::is_directory(dir / "picked"));
}

TEST(FolderCreation, MissingParentsAndPathsTooLong) {
  test::TempDir dir;
  test::ScriptedUi ui;
  NamingState naming;
  const fs::path base = dir / "out";
  fs::create_directories(base);
  EXPECT_EQ(CreateFolder(naming, ui, base, base / "a" / "b" / "c"), base / "a" / "b" / "c");
  EXPECT_TRUE(fs::is_directory(base / "a" / "b" / "c"));
  EXPECT_EQ(CreateFolder(naming, ui, base, base / "a"), base / "a");  // it exists: fine
  EXPECT_THAT(ui.Events(), IsEmpty());

  const fs::path deep = base / std::string(200, 'd') / std::string(100, 'e');
  ui.AnswerLongPath({{LongPathChoice::kMoveToMiscellaneous, false, ""}});
  EXPECT_EQ(CreateFolder(naming, ui, base, deep), base / "ZYD_Miscellaneous" / std::string(100, 'e'));
  EXPECT_TRUE(fs::is_directory(base / "ZYD_Miscellaneous" / std::string(100, 'e')));
  EXPECT_FALSE(fs::exists(deep));
  EXPECT_EQ(CreateFolder(naming, ui, base, deep), std::nullopt);  // closed: ignored
  EXPECT_THAT(ui.Events(), ElementsAre("long path: " + deep.string(), "long path: " + deep.string()));
}

}  // namespace
}  // namespace pellora
