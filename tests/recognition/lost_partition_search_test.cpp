#include "recognition/lost_partition_search.hpp"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "common/guard.hpp"
#include "recognition_harness.hpp"
#include "storage/device_path.hpp"
#include "storage/drive_details.hpp"
#include "support/memory_disk.hpp"
#include "support/temp_dir.hpp"

namespace pellora {
namespace {

using ::testing::ElementsAre;

class LostPartitionSearchTest : public ::testing::Test {
 protected:
  LostPartitionSearch Search(std::stop_token stop = {}) {
    return {.sectors = h_.app.sectors, .listing = h_.app.drive_listing, .ui = &h_.ui, .stop = stop, .silent = {}};
  }
  const smpparam& Disk(int number) {
    const DriveListing& listing = h_.app.drive_listing;
    return *listing.Geometry(*listing.tree.FindDrive(PhysicalDrivePath(number)));
  }
  std::vector<std::string> Listed(int number) {
    std::vector<std::string> listed;
    for (const DiskPartition& p : h_.app.drive_listing.PartitionsOf(number).Entries())
      listed.push_back(h_.app.drive_listing.tree.Item(p.item).label + " " + std::to_string(p.start) + ".." +
                       std::to_string(p.end) + (p.found ? " found" : ""));
    return listed;
  }

  // The search inside logical volume D: over its sectors 0..range_end.
  int SearchVolume(std::uint64_t range_end, std::vector<RecognisedPartition>& found) {
    PartitionParams& params = h_.app.partition_params;
    params.RangeStart = 0;
    params.RangeEnd = range_end;
    return SearchLogicalVolume(h_.app.sectors, h_.app.reporter, h_.ui, VolumePath('D'), "CARDVOL", params,
                               h_.app.working_params, found);
  }

  test::RecognitionHarness h_;
};

TEST_F(LostPartitionSearchTest, StandardProbesCylinderStartsAndAdvancedEverySector) {
  h_.app.devices.AttachDiskImage(test::PartitionFixture("lost-63.img"));
  h_.app.devices.AttachDiskImage(test::PartitionFixture("lost-8192.img"));
  h_.List();
  auto search = Search();
  EXPECT_EQ(StandardScan(search, Disk(0)), 1);
  EXPECT_THAT(Listed(0), ElementsAre("Partition - 1 ( FAT32 ) 63..163903 found"));
  EXPECT_EQ(StandardScan(search, Disk(1)), 0);
  EXPECT_EQ(AdvancedScan(search, Disk(1)), 1);
  // The backup boot sector 6 sectors in is not a partition of its own.
  EXPECT_THAT(Listed(1), ElementsAre("Partition - 1 ( FAT32 ) 8192..172032 found"));
  EXPECT_EQ(h_.ui.LastText(UiText::kTotalSectors), " / 204800 reading");
  EXPECT_EQ(h_.ui.LastProgress(), h_.ui.LastMaximum());

  // What is listed already is not added again.
  EXPECT_EQ(StandardScan(search, Disk(0)), 0);
  EXPECT_EQ(AdvancedScan(search, Disk(0)), 0);
  EXPECT_EQ(Listed(0).size(), 1u);
}

TEST_F(LostPartitionSearchTest, PartitionsFromTheTableAreNotFoundAgain) {
  h_.app.devices.AttachDiskImage(test::SampleCard());
  h_.app.devices.AttachDiskImage(test::PartitionFixture("ntfs-backup-intact.img"));
  h_.List();
  auto search = Search();
  for (int disk : {0, 1}) {
    EXPECT_EQ(AdvancedScan(search, Disk(disk)), 0) << disk;
    EXPECT_EQ(Listed(disk).size(), 1u);
  }
  EXPECT_EQ(DiskResultMessage(0, h_.app.drive_listing, Disk(1)),
            "No more partitions found in selected Disk ( Removable Media - 1 )");
}

TEST_F(LostPartitionSearchTest, OtherGeometriesAreProbedAs255By63) {
  h_.app.devices.AttachDiskImage(test::PartitionFixture("lost-63.img"));
  h_.List();
  smpparam disk = Disk(0);
  disk.cylinders = 1000;
  disk.tracks_per_cylinder = 64;
  disk.sectors_per_track = 32;
  auto search = Search();
  EXPECT_EQ(StandardScan(search, disk), 1);
  EXPECT_EQ(h_.ui.LastText(UiText::kTotalSectors), " / 127 reading");
}

TEST_F(LostPartitionSearchTest, TheSearchStopsAt26PartitionsAndOnRequest) {
  test::MemoryDisk disk(40 * 512);
  for (std::uint32_t k = 1; k < 40; ++k) disk.Fat32Boot(k * 512, 1, 32, 10, 2, 100 + k);
  disk.AttachAs(h_.app.devices, PhysicalDrivePath(0));
  h_.List();
  std::stop_source stop;
  stop.request_stop();
  auto stopped = Search(stop.get_token());
  EXPECT_EQ(AdvancedScan(stopped, Disk(0)), 0);
  auto search = Search();
  EXPECT_EQ(AdvancedScan(search, Disk(0)), 26);
  EXPECT_EQ(h_.app.drive_listing.PartitionsOf(0).Count(), 26);
  EXPECT_EQ(AdvancedScan(search, Disk(0)), 0);
}

TEST_F(LostPartitionSearchTest, TheSilentFormTakesTheFirstBootSectorAsTheCurrentPartition) {
  h_.app.devices.AttachDiskImage(test::PartitionFixture("lost-63.img"));
  h_.List();
  PartitionParams& params = h_.app.partition_params;
  ASSERT_TRUE(SilentSearch(h_.app.sectors, h_.app.drive_listing, Disk(0), params, h_.app.working_params));
  EXPECT_EQ(params.FileSystemName, "FAT32");
  EXPECT_EQ(params.StartSector, 63u);
  EXPECT_EQ(params.EndSector, 63u + 163840);
  EXPECT_EQ(h_.app.working_params.ParamsFileSystemName, "FAT32");
  EXPECT_TRUE(Listed(0).empty());
  EXPECT_TRUE(h_.app.drive_listing.tree.Children(Disk(0).item).empty());
}

TEST_F(LostPartitionSearchTest, ListedDisksWithoutPartitionsBecomeOnePartition) {
  test::TempDir dir;
  test::WriteFile(dir / "blank.img", std::string(4 << 20, '\0'));
  test::WriteFile(dir / "tiny.img", std::string(100 << 10, '\0'));
  h_.app.devices.AttachDiskImage(test::PartitionFixture("lost-63.img"));
  h_.app.devices.AttachDiskImage(dir / "blank.img");
  h_.app.devices.AttachDiskImage(dir / "tiny.img");
  DriveListing& listing = h_.List();
  auto search = Search();
  SearchListedDisks(search, h_.app.reporter);
  EXPECT_THAT(Listed(0), ElementsAre("Partition - 1 ( FAT32 ) 63..163903 found"));
  EXPECT_THAT(Listed(1), ElementsAre("Partition - 1 ( FAT32 ) 0..8192"));
  EXPECT_THAT(Listed(2), ElementsAre("Unknown Partition 0..200"));
  EXPECT_EQ(listing.tree.selected, listing.PartitionsOf(2).Entries()[0].item);
  EXPECT_EQ(DetailValue(listing.tree.details, "3. Partition Type : "), "Unknown");
  EXPECT_EQ(DetailValue(listing.tree.details, "7. Size : "), "100.00 KB");
  EXPECT_EQ(h_.ui.Messages().back(), "Found 1 more partitions in selected Disk ( Removable Media - 2 )");
}

TEST_F(LostPartitionSearchTest, FileSystemsInsideALogicalVolume) {
  h_.app.devices.AttachVolumeImage(test::PartitionFixture("fat16-volume.img"));
  std::vector<RecognisedPartition> found;
  EXPECT_EQ(SearchVolume(65536, found), 1);
  ASSERT_EQ(found.size(), 1u);
  EXPECT_EQ(found[0].label, "Recognised1 - 32 MB - FAT16");
  EXPECT_EQ(found[0].end, 65536u);
  EXPECT_TRUE(found[0].computed);
  EXPECT_EQ(found[0].values.ParamsFileSystemName, "FAT16");
  EXPECT_EQ(h_.ui.Messages().back(), "Found 1 more partitions in selected Drive ( D: - CARDVOL )");
  EXPECT_EQ(SearchVolume(65536, found), 0);
  EXPECT_EQ(h_.ui.Messages().back(), "No more partitions found in selected Drive ( D: - CARDVOL )");
}

// A volume whose every sector looks like a FAT16 boot sector (most of no size): the finds of no
// size are dropped and the list stops at 26, as the disk search does.
TEST_F(LostPartitionSearchTest, ALogicalVolumeOfLookalikesListsAt26) {
  test::MemoryDisk disk(4096);
  for (std::uint32_t k = 0; k < 4096; ++k) disk.Fat16Boot(k, 4, 1, 512, 32, k % 64 == 63 ? 1000 : 0);
  disk.AttachAs(h_.app.devices, VolumePath('D'), DeviceKind::kVolume);
  std::vector<RecognisedPartition> found;
  EXPECT_EQ(SearchVolume(4096, found), 26);
  ASSERT_EQ(found.size(), 26u);
  for (std::size_t i = 0; i < found.size(); ++i) EXPECT_EQ(found[i].start, 64 * i + 63) << i;
  EXPECT_EQ(found.back().label, "Recognised26 - 0 MB - FAT16");
  EXPECT_EQ(SearchVolume(4096, found), 0);
}

TEST(BootSectorTest, SignaturesAndSizes) {
  test::MemoryDisk disk(8);
  disk.Fat16Boot(1, 4, 1, 512, 32, 20000);  // small: the size is in the 16-bit field
  disk.Fat32Boot(2, 8, 32, 100, 2, 70000);
  disk.NtfsBoot(3, 8, (1ull << 32) + 5000, 4, 8);  // only the low 32 bits count
  disk.Fat32Boot(4, 8, 32, 100, 2, 70000);
  disk.Byte(4, 511, 0);
  const struct {
    std::uint64_t sector;
    const char* file_system;
    std::uint64_t end;
  } cases[] = {{1, "FAT16", 1 + 20000}, {2, "FAT32", 2 + 70000}, {3, "NTFS", 3 + 5000}, {4, "", 0}, {5, "", 0}};
  for (const auto& c : cases) {
    const auto candidate = TestBootSector(disk.Sector(c.sector), c.sector);
    EXPECT_EQ(candidate ? candidate->file_system : "", c.file_system) << c.sector;
    if (candidate) {
      EXPECT_EQ(candidate->end, c.end);
    }
  }
}

}  // namespace
}  // namespace pellora
