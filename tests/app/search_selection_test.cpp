#include "app/search_selection.hpp"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "storage/device_path.hpp"
#include "support/temp_dir.hpp"

namespace pellora {
namespace {

using Rows = std::vector<std::pair<std::string, std::string>>;

class SearchSelectionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    test::WriteBytes(dir_ / "card.img", test::PatternBytes(4096 * 512 + 100));
    disk_ = devices_.AttachDiskImage(dir_ / "card.img");
    volume_ = devices_.AttachVolumeImage(dir_ / "card.img");
    devices_.AddSource(PhysicalDrivePath(5), DeviceKind::kDisk, [](int* error) -> std::unique_ptr<Source> {
      *error = ENODEV;
      return nullptr;
    });
  }
  test::TempDir dir_;
  DeviceMap devices_;
  std::string disk_;
  std::string volume_;
};

TEST_F(SearchSelectionTest, WholeDiskOrVolumeAndACustomRange) {
  auto outcome = SelectSearchRange(devices_, "Photo Search", {disk_, std::nullopt, ""});
  ASSERT_TRUE(outcome.selection) << outcome.message;
  EXPECT_EQ(outcome.selection->end_sector, 4096u);  // the partial last sector is not a sector
  EXPECT_EQ(outcome.selection->information, (Rows{{"1. Search Type : ", "Photo Search"},
                                                  {"2. Start Sector : ", "0"},
                                                  {"3. End Sector : ", "4096"},
                                                  {"4. Drive : ", "Disk - 0"}}));

  outcome = SelectSearchRange(devices_, "Video Search", {volume_, SectorRangeFields{10, 2000}, "FAT32"});
  ASSERT_TRUE(outcome.selection) << outcome.message;
  EXPECT_EQ(outcome.selection->device_path, volume_);
  EXPECT_EQ(outcome.selection->start_sector, 10u);
  EXPECT_EQ(outcome.selection->information, (Rows{{"1. Search Type : ", "Video Search"},
                                                  {"2. Partition Type : ", "FAT32"},
                                                  {"3. Start Sector : ", "10"},
                                                  {"4. End Sector : ", "2000"},
                                                  {"5. Drive : ", "D"}}));
}

TEST_F(SearchSelectionTest, RefusalsInTheOrderTheWindowChecks) {
  struct Case {
    SearchSelectionRequest request;
    std::string_view message;
  };
  const std::vector<Case> cases = {
      {{"", SectorRangeFields{std::nullopt, 5}, ""}, kSelectDriveText},
      {{disk_, SectorRangeFields{std::nullopt, 5}, ""}, kEnterStartSectorText},
      {{disk_, SectorRangeFields{5, 5}, ""}, kEndNotAfterStartText},
      {{disk_, SectorRangeFields{5, std::nullopt}, ""}, kEndNotAfterStartText},
      {{PhysicalDrivePath(5), SectorRangeFields{0, 5}, ""}, kDriveUnavailableText},
      {{PhysicalDrivePath(5), std::nullopt, ""}, kDriveUnavailableText},
  };
  for (const Case& c : cases) {
    const auto outcome = SelectSearchRange(devices_, "Photo Search", c.request);
    EXPECT_FALSE(outcome.selection);
    EXPECT_EQ(outcome.message, c.message);
  }
}

DriveInfo Drive(std::string path, std::uint64_t sectors, std::string file_system = "Unknown") {
  DriveInfo info;
  info.device_path = std::move(path);
  info.total_sectors = sectors;
  info.file_system = std::move(file_system);
  return info;
}

// A disk with one partition that runs past the disk's end (a table written for a bigger card) and a
// volume, as the drive tree lists them.
TEST(SearchRequestForTest, EachItemOffersItsPathRangeAndType) {
  DriveListing listing;
  DriveTree& tree = listing.tree;
  const int disks = tree.EnsureGroup("Physical Drives");
  const int disk = tree.Add(disks, DriveItemKind::kDisk, "Disk1");
  tree.Item(disk).info = Drive(PhysicalDrivePath(1), 8000);
  tree.Item(disk).disk_number = 1;
  const int partition = tree.Add(disk, DriveItemKind::kPartition, "Partition - 1 ( FAT32 )");
  tree.Item(partition).disk_number = 1;
  tree.Item(partition).partition_index = 0;
  listing.PartitionsOf(1).Add("FAT32", 2048, 9000);
  const int volumes = tree.EnsureGroup("Logical Drives");
  const int volume = tree.Add(volumes, DriveItemKind::kVolume, "E:");
  tree.Item(volume).info = Drive(VolumePath('E'), 500, "FAT16");

  struct Case {
    int item;
    std::string path;
    std::optional<std::uint64_t> start, end;
    std::string type;
  };
  const std::vector<Case> cases = {
      {disk, PhysicalDrivePath(1), 0, 8000, ""},  {partition, PhysicalDrivePath(1), 2048, 8000, "FAT32"},
      {volume, VolumePath('E'), 0, 500, "FAT16"}, {disks, "", std::nullopt, std::nullopt, ""},
      {99, "", std::nullopt, std::nullopt, ""},
  };
  for (const Case& c : cases) {
    const SearchSelectionRequest request = SearchRequestFor(listing, c.item);
    EXPECT_EQ(request.device_path, c.path) << c.item;
    EXPECT_EQ(request.range ? request.range->start : std::nullopt, c.start) << c.item;
    EXPECT_EQ(request.range ? request.range->end : std::nullopt, c.end) << c.item;
    EXPECT_EQ(request.partition_type, c.type) << c.item;
  }
}

}  // namespace
}  // namespace pellora
