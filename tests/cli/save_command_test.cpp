// pellora-cli basic --save: what is saved is what the file system holds, held against mtools'
// own extraction of the same images and against the files the sample card was made from.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fstream>
#include <nlohmann/json.hpp>
#include <set>
#include <sstream>

#include "support/cli_runner.hpp"
#include "support/fat_image.hpp"
#include "support/temp_dir.hpp"

namespace pellora {
namespace {

namespace fs = std::filesystem;
using ::testing::HasSubstr;

std::string Sha256(const fs::path& file) { return test::Shell("sha256sum '" + file.string() + "'").substr(0, 64); }

std::set<std::string> Files(const fs::path& root, bool folders) {
  std::set<std::string> found;
  for (const auto& entry : fs::recursive_directory_iterator(root))
    if (entry.is_directory() == folders) found.insert(fs::relative(entry.path(), root).string());
  return found;
}

// Every file mtools extracts from the volume is saved at the same path with the same bytes, and
// every folder it makes is there too.
void ExpectSameAsMcopy(const fs::path& image_spec, const fs::path& saved, const fs::path& scratch) {
  const fs::path extracted = scratch / "mcopy";
  fs::create_directories(extracted);
  // mtools writes accented names in UTF-8 only under a UTF-8 locale.
  test::Shell("LC_ALL=C.UTF-8 mcopy -s -n -i '" + image_spec.string() + "' '::*' '" + extracted.string() + "/'");
  const auto files = Files(extracted, false);
  ASSERT_FALSE(files.empty());
  for (const std::string& file : files) {
    ASSERT_TRUE(fs::exists(saved / file)) << file;
    EXPECT_EQ(test::ReadFile(saved / file), test::ReadFile(extracted / file)) << file;
  }
  for (const std::string& folder : Files(extracted, true)) EXPECT_TRUE(fs::is_directory(saved / folder)) << folder;
}

nlohmann::json SaveJson(const std::vector<std::string>& arguments) {
  const auto result = test::RunCli(arguments);
  EXPECT_EQ(result.exit_code, 0) << result.err;
  return nlohmann::json::parse(result.out);
}

TEST(SaveCommand, SampleCardComesBackWholeDeletedPhotosIncluded) {
  test::TempDir dir;
  const fs::path card = test::SampleCard();
  const std::string checksum = Sha256(card);
  const auto document = SaveJson({"--json", "--image", card.string(), "basic", "--drive", "disk:0", "--partition", "1",
                                  "--save", (dir / "out").string()});
  const auto& save = document["save"];
  EXPECT_EQ(save["end"], "completed");
  EXPECT_EQ(save["message"], "Recovered data has been saved successfully.");
  EXPECT_EQ(save["files_saved"], save["files_selected"]);
  EXPECT_EQ(save["folders_saved"], save["folders_selected"]);
  EXPECT_EQ(save["files_written"], save["files_saved"]);
  EXPECT_EQ(save["files_incomplete"], 0);
  EXPECT_EQ(Sha256(card), checksum);

  ExpectSameAsMcopy(card.string() + "@@" + std::to_string(test::kSampleCardPartitionStart * 512), dir / "out",
                    dir.Path());
  // Deleted photos are contiguous on the card: they come back byte for byte, under the names the
  // directory still holds ("_" for the lost first letter of a short name).
  const fs::path originals = test::SampleCardFiles();
  const std::pair<const char*, const char*> deleted[] = {
      {"DCIM/100PELLO/Birthday party - cake and candles.jpg", "DCIM/100PELLO/Birthday party - cake and candles.jpg"},
      {"DCIM/100PELLO/_MG_0008.JPG", "DCIM/100PELLO/IMG_0008.JPG"},
      {"Trip 2025/Mountain sunrise.jpg", "Trip 2025/Mountain sunrise.jpg"},
      {"Trip 2025/_MG_2001.JPG", "Trip 2025/IMG_2001.JPG"}};
  for (const auto& [saved, original] : deleted)
    EXPECT_EQ(test::ReadFile(dir / "out" / saved), test::ReadFile(originals / original)) << saved;
  // An accented name (its 8.3 name holds bytes above 127) and a file renamed by a program that kept
  // its stale long name (saved under its 8.3 name) come back whole.
  for (const char* name : {"Documents/\u00dcn\u00efc\u00f6d\u00e9 na\u00efve caf\u00e9.txt", "Documents/GRANDMA.TXT"})
    EXPECT_EQ(test::ReadFile(dir / "out" / name), test::ReadFile(originals / name)) << name;
  EXPECT_FALSE(fs::exists(dir / "out/Documents/Letter to grandma.txt"));
  // The folder whose entry is lost comes back under its made-up name, its photos whole.
  int lost_photos = 0;
  for (const auto& entry : fs::directory_iterator(dir / "out" / "DCIM")) {
    if (!entry.path().filename().string().starts_with("DIR")) continue;
    for (const char* name : {"IMG_0101.JPG", "IMG_0102.JPG"}) {
      EXPECT_EQ(test::ReadFile(entry.path() / name), test::ReadFile(originals / "DCIM/101PELLO" / name));
      ++lost_photos;
    }
  }
  EXPECT_EQ(lost_photos, 2);
}

struct Layout {
  int fat_bits;
  int sectors_per_cluster;
  int size_mib;
};

class SaveAgainstMcopy : public ::testing::TestWithParam<Layout> {};

TEST_P(SaveAgainstMcopy, EveryAllocatedFileByteForByte) {
  const Layout layout = GetParam();
  test::TempDir dir;
  test::MakeLocalTree(dir / "tree", 400, 5);
  test::FatImage image(dir / "volume.img", layout.fat_bits, layout.sectors_per_cluster, layout.size_mib);
  image.PutTree(dir / "tree");
  image.Put("large.bin", std::string(3 << 20, 'L') + "end");
  image.Delete("L1_0/Photo number 1 from the trip.jpg");
  image.DeleteTree("L1_0/Level 2 album 1");
  const std::string checksum = Sha256(image.Path());
  const auto document = SaveJson({"--json", "--volume-image", image.Path().string(), "basic", "--drive", "vol:D",
                                  "--save", (dir / "out").string()});
  EXPECT_EQ(document["save"]["end"], "completed");
  EXPECT_EQ(Sha256(image.Path()), checksum);
  ExpectSameAsMcopy(image.Path(), dir / "out", dir.Path());
  // What was deleted comes back too: its clusters were not reused.
  EXPECT_EQ(test::ReadFile(dir / "out/L1_0/Photo number 1 from the trip.jpg"),
            test::ReadFile(dir / "tree/L1_0/Photo number 1 from the trip.jpg"));
}

INSTANTIATE_TEST_SUITE_P(Layouts, SaveAgainstMcopy,
                         ::testing::Values(Layout{16, 4, 32}, Layout{16, 64, 160}, Layout{32, 1, 40},
                                           Layout{32, 8, 300}),
                         [](const auto& param_info) {
                           return "FAT" + std::to_string(param_info.param.fat_bits) + "_" +
                                  std::to_string(param_info.param.sectors_per_cluster) + "spc";
                         });

// Every allocated file The Sleuth Kit lists on the NTFS volume (system files and named streams
// aside) is saved at the same path with the bytes icat extracts.
void ExpectSameAsIcat(const fs::path& image, std::uint64_t offset, const fs::path& saved, const fs::path& scratch) {
  std::istringstream lines(test::Shell("fls -r -p -o " + std::to_string(offset) + " '" + image.string() + "'"));
  int compared = 0;
  for (std::string line; std::getline(lines, line);) {
    if (!line.starts_with("r/r ")) continue;  // allocated files only; deleted ones may be overwritten
    const std::size_t tab = line.find('\t');
    const std::string inode = line.substr(4, line.find(':') - 4);
    const std::string path = line.substr(tab + 1);
    if (path.starts_with("$") || path.find(':') != std::string::npos) continue;
    const fs::path expected = scratch / ("icat-" + std::to_string(compared));
    test::Shell("icat -o " + std::to_string(offset) + " '" + image.string() + "' " + inode + " > '" +
                expected.string() + "'");
    ASSERT_TRUE(fs::exists(saved / path)) << path;
    EXPECT_EQ(test::ReadFile(saved / path), test::ReadFile(expected)) << path;
    ++compared;
  }
  EXPECT_GT(compared, 5);
}

TEST(SaveCommand, NtfsFilesAsIcatExtractsThem) {
  const fs::path fixtures = PELLORA_NTFS_FIXTURES;
  struct Case {
    const char* image;
    std::vector<std::string> drive;
    std::uint64_t offset;
  };
  const std::vector<Case> cases = {
      {"ntfs-features-disk.img", {"--image", "IMAGE", "basic", "--drive", "disk:0", "--partition", "1"}, 2048},
      {"ntfs-fragmented-mft.img", {"--volume-image", "IMAGE", "basic", "--drive", "vol:D"}, 0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.image);
    test::TempDir dir;
    const fs::path image = fixtures / c.image;
    const std::string checksum = Sha256(image);
    std::vector<std::string> arguments{"--json"};
    for (const std::string& argument : c.drive) arguments.push_back(argument == "IMAGE" ? image.string() : argument);
    arguments.insert(arguments.end(), {"--save", (dir / "out").string()});
    const auto document = SaveJson(arguments);
    EXPECT_EQ(document["save"]["end"], "completed");
    EXPECT_EQ(Sha256(image), checksum);
    ExpectSameAsIcat(image, c.offset, dir / "out", dir.Path());
  }
}

TEST(SaveCommand, AFragmentedDeletedFileIsSavedAsTheContiguousGuess) {
  // A nearly full volume with holes: the new file is split across them, then deleted.
  test::TempDir dir;
  test::FatImage image(dir / "v.img", 16, 1, 4);
  for (char n = '0'; n < '8'; ++n) image.Put(std::string("f") + n, std::string(300000, n));
  image.Put("filler", std::string(1300000, 'f'));
  image.Delete("f1");
  image.Delete("f3");
  image.Delete("f5");
  std::string big(700000, '\0');
  for (std::size_t i = 0; i < big.size(); ++i) big[i] = static_cast<char>('a' + i % 26);
  image.Put("big", big);
  image.Delete("big");
  const auto document = SaveJson({"--json", "--volume-image", image.Path().string(), "basic", "--drive", "vol:D",
                                  "--save", (dir / "out").string()});
  std::uint64_t first = 0;
  std::string name;
  for (const auto& file : document["root"]["files"]) {
    if (file["size"] != 700000 || !file["deleted"].get<bool>()) continue;
    first = file["first_cluster"];
    name = file["name"];
  }
  ASSERT_FALSE(name.empty());
  // The guess: the file's size from its first cluster on, one cluster after the other.
  const auto params = image.Params();
  const std::string volume = test::ReadFile(image.Path());
  const std::string guess = volume.substr(params.ClusterStart(first) * 512, 700000);
  const std::string saved = test::ReadFile(dir / "out" / name);
  EXPECT_EQ(saved, guess);
  EXPECT_NE(saved, big);  // the file really was split
  EXPECT_EQ(saved.substr(0, 1000), big.substr(0, 1000));
}

TEST(SaveCommand, SelectionsConflictsAndLongPaths) {
  test::TempDir dir;
  const std::string card = test::SampleCard().string();
  const std::vector<std::string> basic = {"--json", "--image", card, "basic", "--drive", "disk:0", "--partition", "1"};
  auto with = [&](std::vector<std::string> more) {
    std::vector<std::string> arguments = basic;
    arguments.insert(arguments.end(), more.begin(), more.end());
    return arguments;
  };

  // A folder of the tree; a file of a folder's list goes into the destination itself.
  SaveJson(with({"--save", (dir / "one").string(), "--select", "Documents"}));
  EXPECT_EQ(
      Files(dir / "one", false),
      (std::set<std::string>{"Documents/GRANDMA.TXT", "Documents/Packing list for the trip.pdf", "Documents/notes.txt",
                             "Documents/\u00dcn\u00efc\u00f6d\u00e9 na\u00efve caf\u00e9.txt"}));
  const auto file = SaveJson(with({"--save", (dir / "file").string(), "--select-file", "Documents/notes.txt"}));
  EXPECT_EQ(Files(dir / "file", false), std::set<std::string>{"notes.txt"});
  EXPECT_EQ(file["save"]["files_saved"], 1);

  // The same again: each answer to the files that are there now.
  const auto renamed = SaveJson(with({"--save", (dir / "one").string(), "--select", "Documents"}));
  EXPECT_TRUE(fs::exists(dir / "one/Documents/notes_zy_0.txt"));  // renaming is the answer without a terminal
  const auto skipped =
      SaveJson(with({"--save", (dir / "one").string(), "--select", "Documents", "--on-conflict", "skip"}));
  EXPECT_EQ(skipped["save"]["files_written"], 0);
  EXPECT_EQ(skipped["save"]["unsaved"].size(), 4u);  // named as kept; the save still succeeded
  EXPECT_EQ(skipped["save"]["unsaved"][0]["state"], "kept");
  EXPECT_EQ(Files(dir / "one", false).size(), 8u);
  const auto overwritten =
      SaveJson(with({"--save", (dir / "one").string(), "--select", "Documents", "--on-conflict", "overwrite"}));
  EXPECT_EQ(overwritten["save"]["files_written"], 4);
  EXPECT_EQ(Files(dir / "one", false).size(), 8u);

  // A destination so deep that the files of every folder stay too long even under their short
  // names: they go below the folder given for long paths, in a folder named like their own.
  const std::size_t depth = 240 - dir.Path().native().size() - 1;
  const fs::path deep = dir / std::string(depth, 'd');
  const auto moved = SaveJson(
      with({"--save", deep.string(), "--select", "DCIM/100PELLO", "--on-long-path", (dir / "short").string()}));
  EXPECT_EQ(moved["save"]["files_written"], 10);
  EXPECT_EQ(Files(dir / "short", false).size(), 10u);
  EXPECT_TRUE(fs::exists(dir / "short/100PELLO/IMG_0001.JPG"));
  EXPECT_TRUE(fs::is_directory(deep / "DCIM/100PELLO"));
  // Without an answer the long paths are ignored, each one said on stderr: nothing was saved, and
  // the save says so (exit status 1, every file named, no completion text).
  const auto ignored =
      test::RunCli(with({"--save", (dir / std::string(depth, 'e')).string(), "--select", "DCIM/100PELLO"}));
  EXPECT_EQ(ignored.exit_code, 1);
  const auto ignored_save = nlohmann::json::parse(ignored.out)["save"];
  EXPECT_EQ(ignored_save["files_written"], 0);
  EXPECT_EQ(ignored_save["files_saved"], 0);
  ASSERT_EQ(ignored_save["unsaved"].size(), 10u);
  EXPECT_EQ(ignored_save["unsaved"][0]["state"], "not written");
  EXPECT_EQ(ignored_save["unsaved"][0]["reason"], "path too long");
  EXPECT_TRUE(ignored_save["message"].is_null());
  EXPECT_THAT(ignored.err, HasSubstr("Destination Path too long: Destination Path is too long."));

  // So deep that even ZYD_Miscellaneous is too long: the files moved there are not written, and
  // are not counted as saved.
  const fs::path deeper = dir / std::string(250 - dir.Path().native().size() - 1, 'f');
  const auto misc = test::RunCli({"--image", card, "basic", "--drive", "disk:0", "--partition", "1", "--save",
                                  deeper.string(), "--select", "DCIM/100PELLO", "--on-long-path", "misc"});
  EXPECT_EQ(misc.exit_code, 1);
  EXPECT_THAT(misc.out, HasSubstr("( recovered saved data : 0 Files, 2 Folders )\n( not saved : " + deeper.string() +
                                  "/ZYD_Miscellaneous/100PELLO/IMG_0001.JPG - path too long )\n"));
  EXPECT_THAT(misc.out, ::testing::Not(HasSubstr("saved successfully")));

  // Usage: a selection needs --save; a folder that is not in the tree ends the command.
  EXPECT_EQ(test::RunCli(with({"--select", "DCIM"})).exit_code, 2);
  const auto missing = test::RunCli(with({"--save", (dir / "x").string(), "--select", "NoSuchFolder"}));
  EXPECT_EQ(missing.exit_code, 1);
  EXPECT_THAT(missing.err, HasSubstr("The result tree has no folder \"NoSuchFolder\"."));
}

TEST(SaveCommand, TextSummaryAfterTheTree) {
  test::TempDir dir;
  const auto result = test::RunCli({"--image", test::SampleCard().string(), "basic", "--drive", "disk:0", "--partition",
                                    "1", "--save", (dir / "out").string()});
  ASSERT_EQ(result.exit_code, 0) << result.err;
  EXPECT_THAT(result.out, HasSubstr("└── ZYD_Miscellaneous/\n( Total selected recovered data to be saved : 18 Files, "
                                    "6 Folders )\n( recovered saved data : 18 Files, 6 Folders )\nRecovered data has "
                                    "been saved successfully.\n"));
}

}  // namespace
}  // namespace pellora
