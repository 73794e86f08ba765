// Basic Search of NTFS from the command line, held against The Sleuth Kit's fls on images filled
// through ntfs-3g.

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

using ::testing::HasSubstr;
using ::testing::Not;

std::vector<std::string> FeaturesDisk(std::vector<std::string> arguments) {
  const std::vector<std::string> tail{
      "--image", test::NtfsFixture("ntfs-features-disk.img").string(), "basic", "--drive", "disk:0", "--partition",
      "1"};
  arguments.insert(arguments.end(), tail.begin(), tail.end());
  return arguments;
}

struct NtfsImage {
  const char* name;
  std::uint64_t partition_start;
  std::vector<std::string> attach;
};

class NtfsAgainstFls : public ::testing::TestWithParam<NtfsImage> {};

TEST_P(NtfsAgainstFls, EveryFolderAndFileAtTheSamePathWithTheSameSize) {
  const NtfsImage& image = GetParam();
  const auto path = test::NtfsFixture(image.name).string();
  std::vector<std::string> arguments{"--json", image.attach[0], path, "basic", "--drive"};
  arguments.insert(arguments.end(), image.attach.begin() + 1, image.attach.end());
  std::string message;
  const auto ours = test::BasicTree(arguments, &message);
  EXPECT_EQ(message, "Recovery is completed in Basic Search Mode, use other search mode to recover your data.");
  test::ExpectFlsTreeFound(test::FlsTree(path, image.partition_start), ours);
}

INSTANTIATE_TEST_SUITE_P(Images, NtfsAgainstFls,
                         ::testing::Values(NtfsImage{"ntfs-features-disk.img",
                                                     test::kNtfsFeaturesPartitionStart,
                                                     {"--image", "disk:0", "--partition", "1"}},
                                           NtfsImage{"ntfs-fragmented-mft.img", 0, {"--volume-image", "vol:D"}}),
                         [](const auto& param_info) {
                           return param_info.index == 0 ? "FeaturesDisk" : "FragmentedMftVolume";
                         });

TEST(BasicNtfsCommand, LostParentsLaterParentsAndNamesOfEveryKind) {
  const auto ours = test::BasicTree(FeaturesDisk({"--json"}));
  // Its parent's record was wiped: filed under the miscellaneous folder with its file.
  ASSERT_TRUE(ours.contains("ZYD_Miscellaneous/Also"));
  EXPECT_TRUE(ours.at("ZYD_Miscellaneous/Also").deleted);
  EXPECT_EQ(ours.at("ZYD_Miscellaneous/Also/k2.txt").size, 35u);
  // Its record comes before its parent's: attached under it after the scan.
  EXPECT_EQ(ours.at("Parent later/Child first/inner.txt").size, 800u);
  // Names in the DOS namespace only, for a file and a folder; the long name wins over the short.
  EXPECT_TRUE(ours.contains("DOSONLY.TXT"));
  EXPECT_TRUE(ours.contains("DOSDIR/inside.txt"));
  EXPECT_TRUE(ours.contains("Docs/Long file name.txt"));
  EXPECT_FALSE(ours.contains("Docs/LONGFI~1.TXT"));
  // Names and runs kept in extension records.
  EXPECT_EQ(ours.at("Fragmented/many runs.bin").size, 5222400u);
  EXPECT_TRUE(ours.at("Docs/deleted big.bin").deleted);
  // The root's own record is "Root" itself, not a folder in it.
  EXPECT_FALSE(ours.contains("."));
}

// Absolute sector of MFT record `number` of the features disk's partition (in the $MFT's first run).
std::uint64_t RecordSector(std::uint64_t number) {
  std::ifstream image(test::NtfsFixture("ntfs-features-disk.img"), std::ios::binary);
  std::array<unsigned char, 512> boot{};
  image.seekg(static_cast<std::streamoff>(test::kNtfsFeaturesPartitionStart * 512));
  image.read(reinterpret_cast<char*>(boot.data()), boot.size());
  std::uint64_t mft_cluster = 0;
  for (int i = 7; i >= 0; --i) mft_cluster = (mft_cluster << 8) | boot[0x30 + i];
  return test::kNtfsFeaturesPartitionStart + mft_cluster * boot[0x0D] + number * 2;
}

// The MFT record number of a path of the features disk, as The Sleuth Kit finds it.
std::uint64_t Inode(const std::string& path) {
  std::istringstream found(test::Shell("ifind -o " + std::to_string(test::kNtfsFeaturesPartitionStart) + " -n '" +
                                       path + "' '" + test::NtfsFixture("ntfs-features-disk.img").string() + "'"));
  std::uint64_t number = 0;
  found >> number;
  return number;
}

TEST(BasicNtfsCommand, JsonFoldersCarryRecordNumbersAndFilesTheirRecordSector) {
  const auto result = test::RunCli(FeaturesDisk({"--json"}));
  ASSERT_EQ(result.exit_code, 0) << result.err;
  const auto document = nlohmann::json::parse(result.out);
  EXPECT_EQ(document["file_system"], "NTFS");
  const nlohmann::json* docs = nullptr;
  for (const auto& child : document["root"]["children"])
    if (child["name"] == "Docs") docs = &child;
  ASSERT_NE(docs, nullptr);
  EXPECT_EQ((*docs)["self"], Inode("Docs"));
  EXPECT_EQ((*docs)["parent"], 5);
  bool seen = false;
  for (const auto& file : (*docs)["files"]) {
    EXPECT_FALSE(file.contains("first_cluster"));
    if (file["name"] != "report.txt") continue;
    seen = true;
    EXPECT_EQ(file["record_sector"], RecordSector(Inode("Docs/report.txt")));
    EXPECT_EQ(file["size"], 49);
    EXPECT_EQ(file["type"], "Text file");
    EXPECT_FALSE(file["deleted"].get<bool>());
  }
  EXPECT_TRUE(seen);
}

TEST(BasicNtfsCommand, TextTree) {
  const auto tree = test::RunCli(FeaturesDisk({}));
  ASSERT_EQ(tree.exit_code, 0) << tree.err;
  EXPECT_THAT(tree.out, HasSubstr("Root\n├── $Extend/\n├── Café/\n│   └── naïve résumé.txt  (Text file, 8 bytes, "));
  EXPECT_THAT(tree.out, HasSubstr("│   └── Old photos/  [deleted]\n"));
  EXPECT_THAT(tree.out, HasSubstr("├── Emoji 😀/\n│   └── smile 😀.txt  (Text file, 6 bytes, "));
  EXPECT_THAT(tree.out, Not(HasSubstr("first_cluster")));
}

}  // namespace
}  // namespace pellora
