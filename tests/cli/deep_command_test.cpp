// pellora-cli deep on images made by sfdisk, mkfs.fat and mtools and then damaged, held against
// what The Sleuth Kit and mtools saw before the damage.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>

#include "support/cli_runner.hpp"
#include "support/fat_image.hpp"
#include "support/fls_oracle.hpp"
#include "support/temp_dir.hpp"

namespace pellora {
namespace {

namespace fs = std::filesystem;
using ::testing::HasSubstr;

std::string Quote(const fs::path& path) { return "'" + path.string() + "'"; }

// Every file fls lists (allocated or deleted), by its path, with the bytes icat gives for it.
std::map<std::string, std::string> IcatFiles(const fs::path& image, std::uint64_t offset, const fs::path& scratch) {
  std::map<std::string, std::string> files;
  std::istringstream lines(test::Shell("fls -r -p -o " + std::to_string(offset) + " " + Quote(image)));
  for (std::string line; std::getline(lines, line);) {
    if (!line.starts_with("r/r")) continue;
    const std::size_t tab = line.find('\t');
    std::string inode = line.substr(4, line.find(':') - 4);
    if (inode.starts_with("* ")) inode = inode.substr(2);
    const std::string path = line.substr(tab + 1);
    if (path.starts_with("$") || path.find("(Volume Label Entry)") != std::string::npos) continue;
    const fs::path out = scratch / ("icat-" + std::to_string(files.size()));
    test::Shell("icat -o " + std::to_string(offset) + " " + Quote(image) + " " + inode + " > " + Quote(out));
    files[path] = test::ReadFile(out);
  }
  return files;
}

TEST(DeepCommand, CameraCardWithoutBootSectorsAndFatsComesBackWhole) {
  test::TempDir dir;
  const fs::path card = dir / "card.img";
  fs::copy_file(test::SampleCard(), card);
  const std::uint64_t start = test::kSampleCardPartitionStart;
  // fls takes a long name whatever its checksum; the letter's long name is stale, so the file is
  // GRANDMA.TXT (as mtools lists it) with the bytes icat gives under the stale name.
  test::FoundTree before = test::FlsTree(card, start);
  ASSERT_EQ(before.erase("Documents/Letter to grandma.txt"), 1u);
  auto contents = IcatFiles(card, start, dir.Path());
  ASSERT_EQ(contents.count("Documents/Letter to grandma.txt"), 1u);
  contents["Documents/GRANDMA.TXT"] = contents["Documents/Letter to grandma.txt"];
  contents.erase("Documents/Letter to grandma.txt");
  ASSERT_GT(contents.size(), 10u);

  test::WipeFat32Layout(card, start);

  const fs::path out = dir / "out";
  const test::FoundTree found = test::BasicTree(
      {"--json", "--image", card.string(), "deep", "--drive", "disk:0", "--partition", "1", "--save", out.string()});
  test::ExpectFlsTreeFound(before, found);
  // Camera files are written in one piece: every one, deleted ones too, is saved byte for byte.
  for (const auto& [path, bytes] : contents) {
    ASSERT_TRUE(fs::exists(out / path)) << path;
    EXPECT_EQ(test::ReadFile(out / path), bytes) << path;
  }
}

// Two file systems on one disk whose partition table is gone: a FAT32 and a FAT16 partition, both
// with a DCIM folder, their cluster numbers overlapping.
TEST(DeepCommand, TwoFileSystemsInOneRangeEachReadFromItsOwnPartition) {
  test::TempDir dir;
  const fs::path disk = dir / "disk.img";
  const std::uint64_t p1 = 2048, p1_sectors = 60 * 2048, p2 = p1 + p1_sectors, p2_sectors = 40 * 2048;
  test::Shell("truncate -s 110M " + Quote(disk) + " && printf 'label: dos\\nunit: sectors\\nstart=" +
              std::to_string(p1) + ", size=" + std::to_string(p1_sectors) + ", type=c\\nstart=" + std::to_string(p2) +
              ", size=" + std::to_string(p2_sectors) + ", type=6\\n' | sfdisk --quiet " + Quote(disk));
  test::Shell("mkfs.fat --invariant -F 32 -s 1 --offset " + std::to_string(p1) + " " + Quote(disk) + " " +
              std::to_string(p1_sectors / 2) + " > /dev/null");
  test::Shell("mkfs.fat --invariant -F 16 -s 4 --offset " + std::to_string(p2) + " " + Quote(disk) + " " +
              std::to_string(p2_sectors / 2) + " > /dev/null");
  const fs::path local = dir / "local";
  std::map<std::string, std::string> written;
  const auto put = [&](std::uint64_t at, const std::string& path, const std::string& content) {
    const fs::path file = local / std::to_string(at) / path;
    fs::create_directories(file.parent_path());
    test::WriteFile(file, content);
    const std::string image = Quote(disk.string() + "@@" + std::to_string(at * 512));
    std::string folder;
    for (std::size_t slash = path.find('/'); slash != std::string::npos; slash = path.find('/', slash + 1))
      test::Shell("MTOOLS_SKIP_CHECK=1 mmd -D s -i " + image + " '::" + path.substr(0, slash) +
                  "' 2>/dev/null || true");
    test::Shell("MTOOLS_SKIP_CHECK=1 mcopy -o -i " + image + " " + Quote(file) + " '::" + path + "'");
  };
  put(p1, "DCIM/100CANON/IMG_0001.JPG", std::string(70000, 'a'));
  put(p1, "DCIM/100CANON/IMG_0002.JPG", std::string(3000, 'b'));
  put(p1, "Notes/todo.txt", "first partition");
  put(p2, "DCIM/OLD/IMG_9001.JPG", std::string(50000, 'c'));
  put(p2, "Music/Song of the year.mp3", std::string(12345, 'd'));
  put(p1, "first.txt", "in the first root");
  put(p2, "second.txt", "in the second root");
  test::ZeroSectors(disk, 0, 1);

  const fs::path out = dir / "out";
  const auto result = test::RunCli({"--json", "--image", disk.string(), "deep", "--drive", "disk:0", "--range", "0",
                                    std::to_string(p2 + p2_sectors), "--fs", "FAT32", "--save", out.string()});
  ASSERT_EQ(result.exit_code, 0) << result.err;
  const auto document = nlohmann::json::parse(result.out);
  ASSERT_EQ(document["partitions"].size(), 2u);
  EXPECT_EQ(document["partitions"][0]["file_system"], "FAT32");
  EXPECT_EQ(document["partitions"][1]["file_system"], "FAT16");
  const std::map<std::string, std::string> expected = {
      {"DCIM/100CANON/IMG_0001.JPG", std::string(70000, 'a')},
      {"DCIM/100CANON/IMG_0002.JPG", std::string(3000, 'b')},
      {"Notes/todo.txt", "first partition"},
      {"DCIM (1)/OLD/IMG_9001.JPG", std::string(50000, 'c')},
      {"Music/Song of the year.mp3", std::string(12345, 'd')},
      {"first.txt", "in the first root"},
      {"second.txt", "in the second root"},
  };
  for (const auto& [path, bytes] : expected) {
    ASSERT_TRUE(fs::exists(out / path)) << path << "\n" << result.out;
    EXPECT_EQ(test::ReadFile(out / path), bytes) << path;
  }

  // Files chosen in the lists (not folders ticked) are read from the partition they were listed
  // from: Root's list gathers both root directories, Music lies on the second partition.
  const fs::path chosen = dir / "chosen";
  const auto picked =
      test::RunCli({"--image", disk.string(), "deep", "--drive", "disk:0", "--range", "0",
                    std::to_string(p2 + p2_sectors), "--fs", "FAT32", "--save", chosen.string(), "--select-file",
                    "first.txt", "--select-file", "second.txt", "--select-file", "Music/Song of the year.mp3"});
  ASSERT_EQ(picked.exit_code, 0) << picked.err;
  EXPECT_EQ(test::ReadFile(chosen / "first.txt"), "in the first root");
  EXPECT_EQ(test::ReadFile(chosen / "second.txt"), "in the second root");
  EXPECT_TRUE(test::ReadFile(chosen / "Song of the year.mp3") == std::string(12345, 'd'))
      << "read from the other partition";
}

TEST(DeepCommand, StartRefusals) {
  test::TempDir dir;
  // A FAT16 volume without its boot sector: nothing says what it holds.
  const fs::path volume = dir / "volume.img";
  test::Shell("truncate -s 10M " + Quote(volume) + " && mkfs.fat --invariant -F 16 -s 4 " + Quote(volume) +
              " > /dev/null && MTOOLS_SKIP_CHECK=1 mmd -i " + Quote(volume) + " ::Kept ::Kept/Inner");
  test::ZeroSectors(volume, 0, 1);
  const std::string image = volume.string();
  struct Case {
    std::vector<std::string> arguments;
    std::string message;
  };
  const std::vector<Case> refused = {
      {{}, "Select file system type for recovery of selected drive."},
      {{"--fs", "Unknown"}, "Select file system type for recovery of selected drive."},
      {{"--range", "5000", "5000", "--fs", "FAT16"},
       "The value of \u2018End Sector\u2019 cannot be less than or equal to the \u2018Start Sector\u2019 of the "
       "Drive."},
  };
  for (const Case& c : refused) {
    std::vector<std::string> arguments = {"--volume-image", image, "deep", "--drive", image};
    arguments.insert(arguments.end(), c.arguments.begin(), c.arguments.end());
    const auto result = test::RunCli(arguments);
    EXPECT_EQ(result.exit_code, 1) << c.message;
    EXPECT_THAT(result.err, HasSubstr(c.message));
  }
  // Told what to search for, it finds the folder.
  const auto found = test::RunCli({"--volume-image", image, "deep", "--drive", image, "--fs", "FAT16"});
  EXPECT_EQ(found.exit_code, 0) << found.err;
  EXPECT_THAT(found.out, HasSubstr("Kept/"));
}

}  // namespace
}  // namespace pellora
