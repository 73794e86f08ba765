#include "recognition/rebuild_fat_params.hpp"

#include <gtest/gtest.h>

#include <optional>

#include "recognition/compute_partition_params.hpp"
#include "recognition_harness.hpp"
#include "storage/device_path.hpp"
#include "support/memory_disk.hpp"
#include "support/temp_dir.hpp"

namespace pellora {
namespace {

using test::MemoryDisk;

void Directory(MemoryDisk& disk, std::uint64_t sector, std::uint32_t cluster) {
  disk.Text(sector, 0, ".          ");
  disk.Text(sector, 32, "..         ");
  disk.Le16(sector, 20, static_cast<std::uint16_t>(cluster >> 16));
  disk.Le16(sector, 26, static_cast<std::uint16_t>(cluster));
}

std::optional<FileSystemParams> Rebuild(const MemoryDisk& disk, const std::string& file_system, std::uint64_t start,
                                        std::uint64_t end, std::stop_token stop = {}) {
  test::RecognitionHarness h;
  disk.AttachAs(h.app.devices, PhysicalDrivePath(0));
  PartitionParams params;
  params.FileSystemName = file_system;
  params.StartSector = start;
  params.EndSector = end;
  FileSystemParams working;
  if (!RebuildFatParams(h.app.sectors, PhysicalDrivePath(0), params, working, &h.ui, stop)) return std::nullopt;
  return working;
}

TEST(RebuildFatParams, ClusterSizeAndClusterZeroFromTwoDirectories) {
  MemoryDisk disk(1100);
  disk.Byte(32, 0, 0xF8);  // FAT 1 after 32 reserved sectors
  disk.Byte(32, 1, 0xFF);
  Directory(disk, 1000, 3);
  Directory(disk, 1032, 7);
  const auto fat32 = Rebuild(disk, "FAT32", 0, 1100);
  ASSERT_TRUE(fat32);
  EXPECT_EQ(fat32->SectorsPerCluster, 8u);
  EXPECT_EQ(fat32->Cluster0Start, 976u);
  EXPECT_EQ(fat32->ReserveSecStart, 32u);
  EXPECT_EQ(fat32->FatSectors, (976u + 16 - 32) / 2);
  EXPECT_EQ(fat32->firstFAT, 32u);
  EXPECT_EQ(fat32->secondFAT, 32u + fat32->FatSectors);
  EXPECT_EQ(fat32->RootStartSec, 2u);

  // Directories that never agree on a cluster size (distance 33 over 4 clusters).
  MemoryDisk odd(1100);
  Directory(odd, 1000, 3);
  Directory(odd, 1033, 7);
  EXPECT_FALSE(Rebuild(odd, "FAT32", 0, 1100));

  std::stop_source stop;
  stop.request_stop();
  EXPECT_FALSE(Rebuild(disk, "FAT32", 0, 1100, stop.get_token()));
}

TEST(RebuildFatParams, WipedBootSectorsOfRealVolumes) {
  for (const auto& [name, file_system] : {std::pair{"fat32-wiped", "FAT32"}, {"fat16-wiped", "FAT16"}}) {
    test::RecognitionHarness h;
    const std::string intact = h.app.devices.AttachDiskImage(test::PartitionFixture(std::string(name) + "-intact.img"));
    const std::string wiped = h.app.devices.AttachDiskImage(test::PartitionFixture(std::string(name) + ".img"));
    PartitionParams params;
    params.FileSystemName = file_system;
    params.StartSector = 2048;
    params.EndSector = std::string(name) == "fat32-wiped" ? 172032 : 67584;
    FileSystemParams expected;
    ASSERT_TRUE(ComputePartitionParams(h.app.sectors, intact, params, expected)) << name;
    FileSystemParams computed;
    EXPECT_FALSE(ComputePartitionParams(h.app.sectors, wiped, params, computed)) << name;
    FileSystemParams rebuilt;
    ASSERT_TRUE(RebuildFatParams(h.app.sectors, wiped, params, rebuilt, &h.ui)) << name;
    EXPECT_EQ(rebuilt, expected) << name;
  }
}

}  // namespace
}  // namespace pellora
