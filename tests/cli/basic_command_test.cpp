// Basic Search from the command line, held against The Sleuth Kit's fls on the same images.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "support/cli_runner.hpp"
#include "support/fat_image.hpp"
#include "support/fls_oracle.hpp"
#include "support/temp_dir.hpp"

namespace pellora {
namespace {

using ::testing::HasSubstr;

using test::BasicTree;
using test::ExpectFlsTreeFound;
using test::FlsTree;

struct Layout {
  int fat_bits;
  int sectors_per_cluster;
  int size_mib;
};

class BasicAgainstFls : public ::testing::TestWithParam<Layout> {};

TEST_P(BasicAgainstFls, EveryFolderAndFileAtTheSamePathWithTheSameSize) {
  const Layout layout = GetParam();
  test::TempDir dir;
  test::MakeLocalTree(dir / "tree", 2000, 8);
  test::FatImage image(dir / "volume.img", layout.fat_bits, layout.sectors_per_cluster, layout.size_mib);
  image.PutTree(dir / "tree");
  image.Delete("L1_0/Photo number 1 from the trip.jpg");
  image.Delete("IMG_1000.JPG");
  image.DeleteTree("L1_0/Level 2 album 1");

  const auto ours = BasicTree({"--json", "--volume-image", image.Path().string(), "basic", "--drive", "vol:D"});
  ExpectFlsTreeFound(FlsTree(image.Path()), ours);
  EXPECT_TRUE(ours.at("L1_0/Level 2 album 1").deleted);
  EXPECT_TRUE(ours.at("L1_0/Photo number 1 from the trip.jpg").deleted);
}

INSTANTIATE_TEST_SUITE_P(Layouts, BasicAgainstFls,
                         ::testing::Values(Layout{16, 1, 16}, Layout{16, 4, 32}, Layout{16, 16, 96},
                                           Layout{16, 64, 160}, Layout{32, 1, 40}, Layout{32, 8, 300},
                                           Layout{32, 64, 2100}),
                         [](const auto& param_info) {
                           return "FAT" + std::to_string(param_info.param.fat_bits) + "_" +
                                  std::to_string(param_info.param.sectors_per_cluster) + "spc";
                         });

TEST(BasicCommand, Fat32WithBothBootSectorsWipedIsRebuiltFromItsDirectories) {
  test::TempDir dir;
  test::MakeLocalTree(dir / "tree", 300, 4);
  const auto disk = dir / "disk.img";
  test::Shell("truncate -s 64M '" + disk.string() + "' && printf 'label: dos\\nstart=2048, type=c\\n' | sfdisk -q '" +
              disk.string() + "' && mkfs.fat --invariant -F 32 -s 1 --offset 2048 '" + disk.string() + "' >/dev/null");
  test::Shell("cd '" + (dir / "tree").string() + "' && mcopy -s -m -i '" + disk.string() + "@@1048576' ./* ::");
  const auto fls = FlsTree(disk, 2048);
  // Wipe the boot sector and its backup: only the FAT and the directories tell the layout now.
  test::Shell("dd if=/dev/zero of='" + disk.string() + "' bs=512 seek=2048 count=1 conv=notrunc status=none && " +
              "dd if=/dev/zero of='" + disk.string() + "' bs=512 seek=2054 count=1 conv=notrunc status=none");
  const auto ours = BasicTree({"--json", "--image", disk.string(), "basic", "--drive", "disk:0", "--partition", "1"});
  ExpectFlsTreeFound(fls, ours);
}

TEST(BasicCommand, SampleCardDeletedAndLostFoldersComeBack) {
  std::string message;
  const auto ours = BasicTree(
      {"--json", "--image", test::SampleCard().string(), "basic", "--drive", "disk:0", "--partition", "1"}, &message);
  EXPECT_EQ(message, "Recovery is completed in Basic Search Mode, use other search mode to recover your data.");
  // fls takes a long name whatever its checksum; the letter's long name is stale (it names the
  // file before a rename that kept only 8.3 names), so the file is GRANDMA.TXT, as mtools lists it.
  auto fls = FlsTree(test::SampleCard(), test::kSampleCardPartitionStart);
  ASSERT_EQ(fls.erase("Documents/Letter to grandma.txt"), 1u);
  ExpectFlsTreeFound(fls, ours);
  EXPECT_FALSE(ours.contains("Documents/Letter to grandma.txt"));
  EXPECT_EQ(ours.at("Documents/GRANDMA.TXT").size, 44u);
  EXPECT_FALSE(ours.at("Documents/GRANDMA.TXT").deleted);
  EXPECT_TRUE(ours.contains("Documents/\u00dcn\u00efc\u00f6d\u00e9 na\u00efve caf\u00e9.txt"));
  // The deleted photo keeps its long name; the deleted folder and its photos are marked.
  EXPECT_TRUE(ours.at("DCIM/100PELLO/Birthday party - cake and candles.jpg").deleted);
  EXPECT_TRUE(ours.at("Trip 2025").deleted);
  // 101PELLO lost its entry: found by the scan, under its parent, with a made-up name.
  std::string lost;
  for (const auto& [path, entry] : ours)
    if (path.starts_with("DCIM/DIR") && path.ends_with("/IMG_0101.JPG")) lost = path;
  ASSERT_FALSE(lost.empty());
  EXPECT_EQ(ours.at(lost).size, std::filesystem::file_size(test::SampleCardFiles() / "DCIM/101PELLO/IMG_0101.JPG"));
  EXPECT_TRUE(ours.contains("ZYD_Miscellaneous"));
}

TEST(BasicCommand, TextTreeAndRefusals) {
  const auto card = test::SampleCard().string();
  const auto tree = test::RunCli({"--image", card, "basic", "--drive", "disk:0", "--partition", "1"});
  ASSERT_EQ(tree.exit_code, 0) << tree.err;
  EXPECT_THAT(tree.out, HasSubstr("Root\n├── DCIM/\n│   ├── 100PELLO/\n"));
  EXPECT_THAT(tree.out, HasSubstr("├── Trip 2025/  [deleted]\n"));
  EXPECT_THAT(tree.out, HasSubstr("Holiday at the beach 2026.jpg  (Image File, 361028 bytes, 01-JUL-2026 10:01:00)"));

  const auto missing = test::RunCli({"--image", card, "basic", "--drive", "disk:0", "--partition", "3"});
  EXPECT_EQ(missing.exit_code, 1);
  const auto whole_disk = test::RunCli({"--image", card, "basic", "--drive", "disk:0"});
  EXPECT_EQ(whole_disk.exit_code, 1);  // the whole-disk prompt answers "OK, Go Back" without a terminal
}

// A name on the medium that holds terminal commands is printed escaped, as ls prints it; JSON has
// its own escapes.
TEST(BasicCommand, ControlCharactersOfNamesAreEscapedOnTheTerminal) {
  test::TempDir dir;
  test::FatImage image(dir / "v.img", 16, 1, 16);
  image.Put("colour name.txt", "red");
  image.Put("new line.txt", "two lines");
  test::PatchLongName(image.Path(), "colour name.txt", "\x1b[31mred.txt");
  test::PatchLongName(image.Path(), "new line.txt",
                      "a\nb\x9b"
                      "2J.txt");
  const auto text = test::RunCli({"--volume-image", image.Path().string(), "basic", "--drive", "vol:D"});
  ASSERT_EQ(text.exit_code, 0) << text.err;
  EXPECT_THAT(text.out, HasSubstr("── \\033[31mred.txt  (Text file, 3 bytes"));
  EXPECT_THAT(text.out, HasSubstr("── a\\nb\\302\\2332J.txt  ("));
  EXPECT_EQ(text.out.find('\x1b'), std::string::npos);
  const auto json = test::RunCli({"--json", "--volume-image", image.Path().string(), "basic", "--drive", "vol:D"});
  ASSERT_EQ(json.exit_code, 0) << json.err;
  EXPECT_THAT(json.out, HasSubstr("\"name\": \"\\u001b[31mred.txt\""));
}

}  // namespace
}  // namespace pellora
