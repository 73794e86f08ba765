// Basic Search from the command line, held against The Sleuth Kit's fls on the same images.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <map>
#include <nlohmann/json.hpp>
#include <sstream>

#include "support/cli_runner.hpp"
#include "support/fat_image.hpp"
#include "support/temp_dir.hpp"

namespace pellora {
namespace {

using ::testing::HasSubstr;

struct Found {
  bool folder = false;
  std::uint64_t size = 0;
  bool deleted = false;
};

// Every folder and file of a `basic --json` tree by its path below "Root".
void Collect(const nlohmann::json& folder, const std::string& prefix, std::map<std::string, Found>& out) {
  for (const auto& child : folder["children"]) {
    const std::string path = prefix + child["name"].get<std::string>();
    out[path] = {true, 0, child["deleted"].get<bool>()};
    Collect(child, path + "/", out);
  }
  for (const auto& file : folder["files"])
    out[prefix + file["name"].get<std::string>()] = {false, file["size"].get<std::uint64_t>(),
                                                     file["deleted"].get<bool>()};
}

std::map<std::string, Found> BasicTree(const std::vector<std::string>& arguments, std::string* message = nullptr) {
  const auto result = test::RunCli(arguments);
  EXPECT_EQ(result.exit_code, 0) << result.err;
  const auto document = nlohmann::json::parse(result.out);
  if (message != nullptr) *message = document["message"].get<std::string>();
  std::map<std::string, Found> found;
  Collect(document["root"], "", found);
  return found;
}

// What fls -r lists of a FAT volume: files and folders, allocated and deleted, system entries aside.
std::map<std::string, Found> FlsTree(const std::filesystem::path& image, std::uint64_t offset = 0) {
  std::map<std::string, Found> entries;
  std::istringstream lines(test::Shell("fls -r -p -l -o " + std::to_string(offset) + " '" + image.string() + "'"));
  for (std::string line; std::getline(lines, line);) {
    std::vector<std::string> fields;
    std::istringstream split(line);
    for (std::string field; std::getline(split, field, '\t');) fields.push_back(field);
    if (fields.size() < 7) continue;
    const std::string& path = fields[1];
    if (path.starts_with("$") || path.find("(Volume Label Entry)") != std::string::npos) continue;
    const bool folder = fields[0].starts_with("d/d");
    entries[path] = {folder, folder ? 0 : std::stoull(fields[6]), fields[0].find('*') != std::string::npos};
  }
  return entries;
}

void ExpectFlsTreeFound(const std::map<std::string, Found>& fls, const std::map<std::string, Found>& ours) {
  ASSERT_FALSE(fls.empty());
  for (const auto& [path, entry] : fls) {
    const auto hit = ours.find(path);
    if (hit == ours.end()) {
      ADD_FAILURE() << "missing: " << path;
      continue;
    }
    EXPECT_EQ(hit->second.folder, entry.folder) << path;
    if (!entry.folder) {
      EXPECT_EQ(hit->second.size, entry.size) << path;
    }
    EXPECT_EQ(hit->second.deleted, entry.deleted) << path;
  }
}

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
  ExpectFlsTreeFound(FlsTree(test::SampleCard(), test::kSampleCardPartitionStart), ours);
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

}  // namespace
}  // namespace pellora
