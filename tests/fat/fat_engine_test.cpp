// The FAT engine over volumes made by mkfs.fat and filled by mtools.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "common/progress.hpp"
#include "fat/directory_reader.hpp"
#include "fat/folder_listing.hpp"
#include "fat/lost_folder_scan.hpp"
#include "search/store_and_arrange.hpp"
#include "support/fat_image.hpp"
#include "support/memory_disk.hpp"
#include "support/temp_dir.hpp"

namespace pellora {
namespace {

using ::testing::ElementsAre;
using ::testing::UnorderedElementsAre;

void Render(const ResultTree& tree, ItemId item, const std::string& prefix, std::vector<std::string>& out) {
  for (ItemId child : tree.Children(item)) {
    out.push_back(prefix + tree.Title(child));
    Render(tree, child, prefix + tree.Title(child) + "/", out);
  }
}

struct Scanned : test::ImageVolume {
  RecoveredResults results;

  explicit Scanned(const test::FatImage& image) : ImageVolume(image) {
    ProgressBar progress;
    const std::uint64_t end = std::filesystem::file_size(image.Path()) / 512;
    ScanLostFatFolders(volume, end, results, disk.Ui(), progress, {}, 0);
    StoreAndArrangeFat(volume, results, disk.Ui(), progress, false);
  }
  std::vector<std::string> Paths() const {
    std::vector<std::string> out;
    Render(results.tree, results.tree.FirstItem(), "", out);
    return out;
  }
  const FolderNode& Folder(std::string_view name) const {
    const FolderNode* node = results.nodes.ByName(name);
    if (node == nullptr) throw std::runtime_error("no folder " + std::string(name));
    return *node;
  }
  std::vector<std::string> Files(std::string_view folder) const {
    std::vector<std::string> names;
    for (const FileListRow& row : ListFatFolder(volume, Folder(folder).self))
      names.push_back(row.name + (row.deleted ? " (deleted)" : ""));
    return names;
  }
};

struct Layout {
  int fat_bits;
  int sectors_per_cluster;
  int size_mib;
};

class FatEngine : public ::testing::TestWithParam<Layout> {};

TEST_P(FatEngine, FindsEveryFolderNamesThemAndListsTheirFiles) {
  const Layout layout = GetParam();
  test::TempDir dir;
  test::FatImage image(dir / "volume.img", layout.fat_bits, layout.sectors_per_cluster, layout.size_mib);
  image.Mkdir("DCIM");
  image.Mkdir("DCIM/100PELLO");
  image.Put("DCIM/100PELLO/IMG_0001.JPG", std::string(5000, 'a'));
  image.Put("DCIM/100PELLO/Holiday at the beach.jpg", std::string(70000, 'b'));
  image.Put("DCIM/100PELLO/Party.jpg", "gone");
  image.Mkdir("Documents");
  image.Mkdir("Documents/Letters to the bank");
  image.Mkdir("Documents/Letters to the bank/2026");
  image.Put("Documents/Letters to the bank/2026/march.txt", "Dear bank");
  image.Mkdir("Old trip");
  image.Put("Old trip/sunrise.jpg", "sun");
  image.Put("readme.txt", "hello");
  image.Delete("DCIM/100PELLO/Party.jpg");
  image.DeleteTree("Old trip");

  const Scanned scan(image);
  EXPECT_THAT(scan.Paths(), ElementsAre("DCIM", "DCIM/100PELLO", "Documents", "Documents/Letters to the bank",
                                        "Documents/Letters to the bank/2026", "Old trip", "ZYD_Miscellaneous"));
  EXPECT_TRUE(scan.Folder("Old trip").deleted);
  EXPECT_FALSE(scan.Folder("DCIM").deleted);
  EXPECT_THAT(scan.Files("100PELLO"),
              UnorderedElementsAre("IMG_0001.JPG", "Holiday at the beach.jpg", "Party.jpg (deleted)"));
  EXPECT_THAT(scan.Files("2026"), ElementsAre("march.txt"));
  EXPECT_THAT(scan.Files("Old trip"), ElementsAre("_unrise.jpg (deleted)"));  // no long name: a letter is lost
  EXPECT_THAT(ListFatFolder(scan.volume, 0).front().name, "readme.txt");
  const auto holiday = ListFatFolder(scan.volume, scan.Folder("100PELLO").self)[1];
  EXPECT_EQ(holiday.size, 70000u);
  EXPECT_EQ(holiday.type, "Image File");
  EXPECT_EQ(holiday.date, "01-JUL-2026");
  EXPECT_EQ(holiday.time, "10:00:00");
}

INSTANTIATE_TEST_SUITE_P(Layouts, FatEngine,
                         ::testing::Values(Layout{16, 1, 16}, Layout{16, 4, 16}, Layout{16, 64, 160}, Layout{32, 1, 40},
                                           Layout{32, 8, 300}),
                         [](const auto& param_info) {
                           return "FAT" + std::to_string(param_info.param.fat_bits) + "_" +
                                  std::to_string(param_info.param.sectors_per_cluster) + "spc";
                         });

TEST(FatEngineLostFolders, FolderWithoutItsEntryKeepsItsPlaceWithAMadeUpName) {
  test::TempDir dir;
  test::FatImage image(dir / "volume.img", 32, 1, 40);
  image.Mkdir("DCIM");
  image.Mkdir("DCIM/100PELLO");
  image.Mkdir("DCIM/101PELLO");
  image.Put("DCIM/101PELLO/IMG_0101.JPG", "x");
  // Wipe 101PELLO's entry (the last one of DCIM): only a scan can find the folder now.
  test::Shell("python3 " + std::string(PELLORA_SOURCE_DIR) + "/scripts/sample_card/fat_entry.py " +
              image.Path().string() + " 0 DCIM 101PELLO");
  const Scanned scan(image);
  const auto paths = scan.Paths();
  ASSERT_EQ(paths.size(), 4u);
  EXPECT_EQ(paths[0], "DCIM");
  EXPECT_EQ(paths[1], "DCIM/100PELLO");
  EXPECT_THAT(paths[2], ::testing::MatchesRegex("DCIM/DIR[0-9]+"));
  EXPECT_EQ(paths[3], "ZYD_Miscellaneous");
}

// A damaged FAT whose root chain runs through every cluster of the volume: the root is read up to
// the 65,536 entries a folder can hold, and a link to a cluster beyond the medium ends it.
TEST(FatEngineDamagedFat, RootChainThroughTheWholeFatStopsAtTheLargestFolder) {
  test::TempDir dir;
  test::FatImage image(dir / "volume.img", 32, 1, 40);
  image.Put("readme.txt", "hello");
  const FileSystemParams p = image.Params();
  std::string bytes = test::ReadFile(image.Path());
  const std::uint64_t clusters = p.FatSectors * 128ull;
  auto link = [&](std::uint64_t cluster, std::uint32_t next) {
    for (int i = 0; i < 4; ++i) bytes[p.firstFAT * 512 + cluster * 4 + i] = static_cast<char>(next >> (8 * i));
  };
  for (std::uint64_t cluster = 2; cluster + 1 < clusters; ++cluster)
    if (cluster != 3) link(cluster, static_cast<std::uint32_t>(cluster + 1));  // 3 is readme.txt's
  link(2, 4);
  test::WriteFile(image.Path(), bytes);
  {
    const test::ImageVolume chained(image);
    EXPECT_EQ(DirectorySectors(chained.volume, 0).size(), 4096u);  // 65,536 entries of 32 bytes
    ASSERT_EQ(ListFatFolder(chained.volume, 0).size(), 1u);
    EXPECT_EQ(ListFatFolder(chained.volume, 0)[0].name, "readme.txt");
  }
  const std::uint64_t beyond = std::filesystem::file_size(image.Path()) / 512;  // first cluster past the end
  link(4, static_cast<std::uint32_t>(beyond - p.Cluster0Start + 5));
  test::WriteFile(image.Path(), bytes);
  const test::ImageVolume cut(image);
  EXPECT_EQ(DirectorySectors(cut.volume, 0).size(), 2u);
}

}  // namespace
}  // namespace pellora
