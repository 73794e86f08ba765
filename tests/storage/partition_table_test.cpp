#include "storage/partition_table.hpp"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "common/guard.hpp"
#include "storage/device_path.hpp"
#include "storage/sector_access.hpp"
#include "support/memory_disk.hpp"
#include "support/scripted_ui.hpp"
#include "support/temp_dir.hpp"

namespace pellora {
namespace {

using test::MemoryDisk;
using test::PartitionFixture;

struct Listed {
  std::string file_system;
  std::uint64_t start;
  std::uint64_t end;
  bool operator==(const Listed&) const = default;
};

void PrintTo(const Listed& p, std::ostream* out) { *out << p.file_system << " " << p.start << ".." << p.end; }

// One disk, its sector access and the list its walk fills.
struct Walker {
  std::vector<Listed> Walk(std::uint64_t total_sectors) {
    ReadPartitionTable(sectors, reporter, disk, total_sectors, list,
                       [](const DiskPartition& p) { return 100 + p.index; });
    std::vector<Listed> listed;
    for (const DiskPartition& p : list.Entries()) {
      EXPECT_EQ(p.item, 100 + p.index);
      listed.push_back({p.file_system, p.start, p.end});
    }
    return listed;
  }

  const std::string disk = PhysicalDrivePath(0);
  test::ScriptedUi ui;
  CurrentMode mode;
  ReadGuard guard{mode};
  DeviceMap devices;
  SectorAccess sectors{devices, guard, ui};
  ErrorReporter reporter{ui, mode};
  DiskPartitionList list;
};

std::vector<Listed> WalkImage(const std::filesystem::path& image) {
  Walker walker;
  walker.devices.AttachDiskImage(image);
  return walker.Walk(std::filesystem::file_size(image) / 512);
}

std::vector<Listed> WalkMemory(const MemoryDisk& disk, std::uint64_t total_sectors) {
  Walker walker;
  disk.AttachAs(walker.devices, walker.disk);
  auto listed = walker.Walk(total_sectors);
  EXPECT_TRUE(walker.ui.Reports().empty());
  return listed;
}

TEST(PartitionTable, ImagesMadeByRealTools) {
  const struct {
    const char* image;
    std::vector<Listed> listed;
  } cases[] = {
      // Primary FAT16; a primary 0x01 without a file system is left out, the same inside an EBR is
      // FAT16; logical FAT32 and NTFS follow the chain.
      {"mbr-extended.img",
       {{"FAT16", 2048, 67584}, {"FAT32", 71680, 276480}, {"FAT16", 278528, 282624}, {"NTFS", 284672, 350208}}},
      // The reserved entry is skipped, the empty entry 4 ends the walk; GPT ends are last LBAs.
      {"gpt.img", {{"FAT32", 2048, 104447}, {"NTFS", 137216, 202751}}},
      // The second entry lies too close to the end: it and the third are absent.
      {"too-close.img", {{"FAT16", 2048, 43008}}},
      {"type07-fat32.img", {{"FAT32", 2048, 172032}}},
      // The loop back to the first EBR ends the chain.
      {"ebr-loop.img", {{"FAT16", 4096, 20480}, {"FAT16", 22528, 38912}}},
      // A blank first sector falls back to the type byte.
      {"ntfs-backup.img", {{"NTFS", 2048, 172032}}},
      {"fat32-backup.img", {{"FAT32", 2048, 172032}}},
      {"lost-8192.img", {}},
  };
  for (const auto& c : cases) EXPECT_EQ(WalkImage(PartitionFixture(c.image)), c.listed) << c.image;
  EXPECT_EQ(WalkImage(test::SampleCard()), (std::vector<Listed>{{"FAT32", 8192, 327680}}));
}

TEST(PartitionTable, EitherSignatureByteOfTheMbrSuffices) {
  const struct {
    std::uint8_t b510, b511;
    std::size_t listed;
  } cases[] = {{0x55, 0xAA, 1}, {0x55, 0x00, 1}, {0x00, 0xAA, 1}, {0x00, 0x00, 0}};
  for (const auto& c : cases) {
    MemoryDisk disk(64);
    disk.Entry(0, 0, 0x0C, 32, 32);
    disk.Byte(0, 510, c.b510);
    disk.Byte(0, 511, c.b511);
    EXPECT_EQ(WalkMemory(disk, 100000).size(), c.listed) << int{c.b510} << " " << int{c.b511};
  }
}

TEST(PartitionTable, ProtectiveEntryHandsOverToTheGpt) {
  MemoryDisk disk(400);
  disk.Entry(0, 0, 0xEE, 1, 399);
  disk.Entry(0, 1, 0x0C, 300, 50);  // after the hand-over: never listed
  disk.Text(1, 0, "EFI PART");
  disk.Le64(2, 32, 100);  // entry 0: FAT32
  disk.Le64(2, 40, 199);
  disk.Fat32Boot(100, 1, 32, 10, 2, 100);
  disk.Fat32Boot(300, 1, 32, 10, 2, 50);
  EXPECT_EQ(WalkMemory(disk, 100000), (std::vector<Listed>{{"FAT32", 100, 199}}));
}

TEST(PartitionTable, NeverListsMoreThan27) {
  // 128 GPT entries that all name a FAT32 boot sector.
  MemoryDisk gpt(400);
  gpt.Entry(0, 0, 0xEE, 1, 399);
  gpt.Text(1, 0, "EFI PART");
  for (std::uint64_t i = 0; i < 128; ++i) {
    gpt.Le64(2 + i / 4, (i % 4) * 128 + 32, 100);
    gpt.Le64(2 + i / 4, (i % 4) * 128 + 40, 200 + i);
  }
  gpt.Fat32Boot(100, 1, 32, 10, 2, 100);
  EXPECT_EQ(WalkMemory(gpt, 100000).size(), 27u);

  // A chain of 40 EBRs, each with a FAT16 logical partition.
  MemoryDisk chain(200);
  chain.Entry(0, 0, 0x05, 100, 100);
  for (std::uint32_t k = 0; k < 40; ++k) {
    chain.Entry(100 + k, 0, 0x06, 50, 1);
    chain.Entry(100 + k, 1, 0x05, k + 1, 1);
  }
  EXPECT_EQ(WalkMemory(chain, 100000).size(), 27u);
}

TEST(PartitionTable, EbrChainsEnd) {
  // A chain that goes on forward for ever (no loop): each EBR links to the next sector.
  MemoryDisk forward(4000);
  forward.Entry(0, 0, 0x0F, 10, 3990);
  for (std::uint32_t k = 0; k < 3980; ++k) {
    forward.Entry(10 + k, 0, 0x83, 1, 1);  // not a type that is listed
    forward.Entry(10 + k, 1, 0x05, k + 1, 1);
  }
  EXPECT_TRUE(WalkMemory(forward, 100000).empty());

  // An EBR that links to itself.
  MemoryDisk self(64);
  self.Entry(0, 0, 0x05, 10, 50);
  self.Entry(10, 0, 0x06, 5, 10);
  self.Entry(10, 1, 0x05, 0, 50);
  EXPECT_EQ(WalkMemory(self, 100000), (std::vector<Listed>{{"FAT16", 15, 25}}));
}

// Two chained EBRs with three logical entries each, the first with its link in the last slot (as
// some tools write them): six partitions, as mmls lists them.
TEST(PartitionTable, EbrsWithSeveralLogicalEntries) {
  MemoryDisk disk(400);
  disk.Entry(0, 0, 0x05, 100, 300);
  disk.Entry(100, 0, 0x06, 1, 20);
  disk.Entry(100, 1, 0x06, 21, 20);
  disk.Entry(100, 2, 0x0E, 41, 20);
  disk.Entry(100, 3, 0x05, 100, 200);
  disk.Entry(200, 0, 0x06, 1, 20);
  disk.Entry(200, 1, 0x05, 50, 10);  // a second link is not followed
  disk.Entry(200, 2, 0x04, 21, 20);
  disk.Entry(200, 3, 0x06, 41, 20);
  EXPECT_EQ(WalkMemory(disk, 100000), (std::vector<Listed>{{"FAT16", 101, 121},
                                                           {"FAT16", 121, 141},
                                                           {"FAT16", 141, 161},
                                                           {"FAT16", 201, 221},
                                                           {"FAT16", 221, 241},
                                                           {"FAT16", 241, 261}}));
}

TEST(PartitionTable, EntriesBeyondTheDiskEndTheWalk) {
  MemoryDisk disk(64);
  disk.Entry(0, 0, 0x0C, 0xFFFFFFF0, 0xFFFFFFFF);
  disk.Entry(0, 1, 0x0C, 32, 16);
  EXPECT_TRUE(WalkMemory(disk, 100000).empty());
}

TEST(PartitionTable, DynamicDisks) {
  MemoryDisk basic(64);
  basic.Entry(0, 0, 0x0C, 32, 16);
  MemoryDisk mbr_dynamic(64);
  mbr_dynamic.Entry(0, 1, 0x42, 32, 16);
  MemoryDisk gpt_dynamic(64);
  gpt_dynamic.Entry(0, 0, 0xEE, 1, 63);
  const Guid ldm = kLdmDataGuid;
  for (std::size_t i = 0; i < ldm.size(); ++i) gpt_dynamic.Byte(3, 128 + i, std::to_integer<std::uint8_t>(ldm[i]));
  for (const auto& [disk, dynamic] : {std::pair{&basic, false}, {&mbr_dynamic, true}, {&gpt_dynamic, true}}) {
    Walker walker;
    disk->AttachAs(walker.devices, walker.disk);
    EXPECT_EQ(IsDynamicDisk(walker.sectors, walker.disk), dynamic);
  }
  EXPECT_EQ(ParseGuid("e3c9e316-0b5c-4db8-817d-f92df00215ae")[0], std::byte{0x16});
}

}  // namespace
}  // namespace pellora
