#include "recognition/compute_partition_params.hpp"

#include <gtest/gtest.h>

#include <optional>

#include "recognition_harness.hpp"
#include "storage/device_path.hpp"
#include "support/memory_disk.hpp"
#include "support/temp_dir.hpp"

namespace pellora {
namespace {

using test::MemoryDisk;

std::optional<FileSystemParams> Compute(AppState& app, const std::string& path, std::string file_system,
                                        std::uint64_t start, std::uint64_t end,
                                        const std::function<void()>& on_missing = {}) {
  PartitionParams params;
  params.FileSystemName = std::move(file_system);
  params.StartSector = start;
  params.EndSector = end;
  FileSystemParams working;
  if (!ComputePartitionParams(app.sectors, path, params, working, on_missing)) return std::nullopt;
  return working;
}

std::optional<FileSystemParams> Compute(const MemoryDisk& disk, std::string file_system, std::uint64_t start,
                                        std::uint64_t end, const std::function<void()>& on_missing = {}) {
  test::RecognitionHarness h;
  disk.AttachAs(h.app.devices, PhysicalDrivePath(0));
  return Compute(h.app, PhysicalDrivePath(0), std::move(file_system), start, end, on_missing);
}

// Partition 1 of a fixture image.
std::optional<FileSystemParams> ComputeFixture(const std::string& image, const std::string& file_system) {
  test::RecognitionHarness h;
  const std::string path = h.app.devices.AttachDiskImage(test::PartitionFixture(image));
  return Compute(h.app, path, file_system, 2048, 172032);
}

TEST(ComputePartitionParams, Fat16) {
  MemoryDisk disk(400);
  disk.Fat16Boot(63, 4, 1, 512, 32, 300);
  disk.Byte(96, 0, 0xF8);  // FAT 2 at 63 + 1 + 32
  const auto fat16 = Compute(disk, "FAT16", 63, 363);
  ASSERT_TRUE(fat16);
  EXPECT_EQ(fat16->firstFAT, 64u);
  EXPECT_EQ(fat16->secondFAT, 96u);
  EXPECT_EQ(fat16->RootStartSec, 128u);
  EXPECT_EQ(fat16->RootSec, 32u);
  EXPECT_EQ(fat16->Cluster0Start, 152u);
  EXPECT_EQ(fat16->FatSectors, 32u);
  EXPECT_EQ(fat16->ReserveSecStart, 1u);
  EXPECT_EQ(fat16->SectorsPerCluster, 4u);
  EXPECT_EQ(fat16->ParamsFileSystemName, "FAT16");

  disk.Byte(96, 0, 0xF0);  // FAT 2 not where the boot sector says
  EXPECT_FALSE(Compute(disk, "FAT16", 63, 363));
  EXPECT_FALSE(Compute(disk, "exFAT", 63, 363));
}

TEST(ComputePartitionParams, Fat32FallsBackToTheBackupBootSector) {
  MemoryDisk disk(200);
  disk.Fat32Boot(6, 2, 32, 40, 2, 190);  // backup at +6
  disk.Byte(72, 0, 0xF8);                // FAT 2 at 32 + 40
  const auto from_backup = Compute(disk, "FAT32", 0, 190);
  ASSERT_TRUE(from_backup);
  EXPECT_EQ(from_backup->Cluster0Start, 0u + 2 * 40 + 32 - 2 * 2);
  EXPECT_EQ(from_backup->RootStartSec, 2u);
  EXPECT_EQ(from_backup->secondFAT, 72u);

  // A signed primary whose FAT 2 is not where it says: the backup's values are taken.
  disk.Fat32Boot(0, 2, 32, 99, 2, 190);
  EXPECT_EQ(Compute(disk, "FAT32", 0, 190), from_backup);

  // The fixture made by mkfs.fat with a blank primary gives what the intact twin gives.
  const auto intact = ComputeFixture("fat32-backup-intact.img", "FAT32");
  ASSERT_TRUE(intact);
  EXPECT_EQ(ComputeFixture("fat32-backup.img", "FAT32"), intact);
  EXPECT_EQ(intact->SectorsPerCluster, 2u);
}

// A cluster size that is not a power of two up to 128 places every cluster wrongly: files would
// be saved with the right sizes and someone else's bytes (or zeros).
TEST(ComputePartitionParams, FatRefusesClusterSizesThatAreNotPowersOfTwo) {
  for (const std::uint8_t per_cluster : std::initializer_list<std::uint8_t>{0, 3, 6, 96, 255, 1, 2, 64, 128}) {
    const bool valid = per_cluster != 0 && (per_cluster & (per_cluster - 1)) == 0;
    MemoryDisk fat16(400);
    fat16.Fat16Boot(63, per_cluster, 1, 512, 32, 300);
    fat16.Byte(96, 0, 0xF8);
    EXPECT_EQ(Compute(fat16, "FAT16", 63, 363).has_value(), valid) << int{per_cluster};
    MemoryDisk fat32(200);
    fat32.Fat32Boot(0, per_cluster, 32, 40, 2, 190);
    fat32.Byte(72, 0, 0xF8);
    EXPECT_EQ(Compute(fat32, "FAT32", 0, 190).has_value(), valid) << int{per_cluster};
  }
  // A primary with a broken cluster size gives way to a sound backup.
  MemoryDisk disk(200);
  disk.Fat32Boot(0, 255, 32, 40, 2, 190);
  disk.Fat32Boot(6, 4, 32, 40, 2, 190);
  disk.Byte(72, 0, 0xF8);
  const auto backup = Compute(disk, "FAT32", 0, 190);
  ASSERT_TRUE(backup);
  EXPECT_EQ(backup->SectorsPerCluster, 4u);
}

TEST(ComputePartitionParams, NtfsRecordSizesAndMftPositions) {
  const struct {
    std::uint8_t per_cluster;
    std::uint32_t record, index;
    std::uint32_t record_sectors, index_sectors;
  } cases[] = {{8, 0xF6, 0xF4, 2, 8}, {1, 0xF6, 0xF4, 2, 8}, {1, 4, 2, 4, 2}, {2, 1, 1, 2, 2}};
  for (const auto& c : cases) {
    MemoryDisk disk(300);
    disk.NtfsBoot(10, c.per_cluster, 279, 4, 20, c.record, c.index);
    disk.Text(10 + 4 * c.per_cluster, 0, "FILE0");
    disk.Text(10 + 20 * c.per_cluster, 0, "FILE0");
    const auto ntfs = Compute(disk, "NTFS", 10, 290);
    ASSERT_TRUE(ntfs) << int{c.per_cluster};
    EXPECT_EQ(ntfs->SectorsPerMftRecord, c.record_sectors);
    EXPECT_EQ(ntfs->SectorsPerIndexRecord, c.index_sectors);
    EXPECT_EQ(ntfs->MftStart, 10u + 4 * c.per_cluster);
    EXPECT_EQ(ntfs->MftMirrStart, 10u + 20 * c.per_cluster);
    EXPECT_EQ(ntfs->Cluster0Start, 10u);
  }
}

TEST(ComputePartitionParams, NtfsTakesTheOtherCopyWhenOneIsUnusable) {
  MemoryDisk disk(300);
  disk.NtfsBoot(10, 3, 279, 4, 20);   // 3 sectors per cluster: not a power of two
  disk.NtfsBoot(289, 2, 279, 5, 21);  // the backup in the last sector
  disk.Text(10 + 5 * 2, 0, "FILE0");
  const auto ntfs = Compute(disk, "NTFS", 10, 290);
  ASSERT_TRUE(ntfs);
  EXPECT_EQ(ntfs->SectorsPerCluster, 2u);
  EXPECT_EQ(ntfs->MftStart, 20u);
  EXPECT_EQ(ntfs->MftMirrStart, 0u);  // no FILE record where either copy puts the mirror

  // A record size outside 2, 4, 6, 8 sectors in both copies.
  MemoryDisk odd(300);
  odd.NtfsBoot(10, 2, 279, 4, 20, 5);
  odd.NtfsBoot(289, 2, 279, 4, 20, 5);
  odd.Text(18, 0, "FILE0");
  EXPECT_FALSE(Compute(odd, "NTFS", 10, 290));

  // No boot sector at either end: the caller hears of it.
  int missing = 0;
  EXPECT_FALSE(Compute(MemoryDisk(300), "NTFS", 10, 290, [&] { ++missing; }));
  EXPECT_EQ(missing, 1);

  const auto intact = ComputeFixture("ntfs-backup-intact.img", "NTFS");
  ASSERT_TRUE(intact);
  EXPECT_EQ(ComputeFixture("ntfs-backup.img", "NTFS"), intact);
  EXPECT_NE(intact->MftStart, 0u);
}

}  // namespace
}  // namespace pellora
