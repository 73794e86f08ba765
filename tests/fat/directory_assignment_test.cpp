// Which partition each found directory belongs to: by the boot sectors found, else inferred from
// pairs of directories.

#include "fat/directory_assignment.hpp"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <random>

#include "common/byte_reader.hpp"
#include "fat/found_boot_sector.hpp"
#include "support/fat_image.hpp"
#include "support/temp_dir.hpp"

namespace pellora {
namespace {

FoundDirectory Dir(std::uint64_t sector, std::uint32_t self, std::uint32_t parent = 0) {
  FoundDirectory d;
  d.sector = sector;
  d.self = self;
  d.parent = parent;
  return d;
}

FoundBootSector Boot(std::uint64_t sector, std::uint32_t per_cluster, std::uint64_t cluster0, std::uint64_t end) {
  FoundBootSector b;
  b.sector = sector;
  b.sectors_per_cluster = per_cluster;
  b.cluster0_start = cluster0;
  b.end_sector = end;
  b.first_fat = sector + 32;
  b.file_system = "FAT32";
  return b;
}

std::vector<std::uint64_t> Keys(const std::vector<FoundDirectory>& directories) {
  std::vector<std::uint64_t> keys;
  for (const FoundDirectory& d : directories) keys.push_back(d.partition);
  return keys;
}

// The pairing as first described: every boot sector against every directory, then every pair of
// unassigned directories in table order. The sorted search must give the very same keys and rows.
void ReferenceAssignment(const std::vector<FoundBootSector>& boots, std::vector<FoundDirectory>& dirs,
                         const std::string& type, std::vector<FoundPartition>& parts) {
  for (const FoundBootSector& b : boots) {
    bool first = true;
    for (FoundDirectory& d : dirs) {
      if (d.partition != 0) continue;
      if (b.cluster0_start <= d.sector && d.sector <= b.end_sector &&
          d.sector == b.cluster0_start + std::uint64_t{d.self} * b.sectors_per_cluster) {
        if (first) parts.push_back({b, b.end_sector, false});
        first = false;
        d.partition = b.cluster0_start;
        d.cluster0_start = b.cluster0_start;
      }
    }
  }
  const auto next = [&](std::size_t from) {
    while (from < dirs.size() && dirs[from].partition != 0) ++from;
    return from;
  };
  for (std::size_t a = next(0); a < dirs.size(); a = next(a + 1)) {
    if (next(a + 1) >= dirs.size()) return;
    bool paired = false;
    for (std::size_t bi = next(a + 1); bi < dirs.size() && !paired; bi = next(bi + 1)) {
      const FoundDirectory& da = dirs[a];
      const FoundDirectory& db = dirs[bi];
      if (!(db.sector > da.sector && db.self > da.self)) continue;
      const std::uint64_t d = db.sector - da.sector;
      const std::uint64_t dc = db.self - da.self;
      if (d % dc != 0) continue;
      const std::uint64_t s = d / dc;
      if (s == 0 || s > 128 || (s & (s - 1)) != 0) continue;
      const std::uint64_t c0 = da.sector - da.self * s;
      if (!(c0 < da.sector) || db.sector - db.self * s != c0) continue;
      paired = true;
      std::uint32_t largest = 0;
      for (FoundDirectory& i : dirs) {
        if (i.partition != 0 || i.sector != c0 + std::uint64_t{i.self} * s) continue;
        largest = std::max(largest, i.self);
        i.partition = c0;
        i.cluster0_start = c0;
      }
      parts.push_back(
          InferredPartition(static_cast<std::uint32_t>(s), c0, type != "FAT32" && largest > 0x10000 ? "FAT32" : type));
    }
    if (!paired) dirs[a].partition = kUnpairedDirectory;
  }
}

TEST(InferPartitions, TwoDirectoriesGiveClusterSizeAndClusterZeroSector) {
  std::vector<FoundDirectory> dirs = {Dir(10000, 3), Dir(10064, 7), Dir(10000 + 64 * 16, 3 + 64),
                                      Dir(10100, 9)};  // 10100 - 9 x 16 is not 9,952
  std::vector<FoundPartition> parts;
  InferPartitions(dirs, "FAT32", parts, nullptr);
  ASSERT_EQ(parts.size(), 1u);
  EXPECT_EQ(parts[0].boot.sectors_per_cluster, 16u);
  EXPECT_EQ(parts[0].boot.cluster0_start, 9952u);
  EXPECT_EQ(parts[0].boot.first_fat, 0u);  // to be looked for
  // The last one had no later directory left to pair with: the phase ended there.
  EXPECT_THAT(Keys(dirs), ::testing::ElementsAre(9952, 9952, 9952, kUnassignedDirectory));
}

TEST(InferPartitions, DirectoriesWhoseDistancesDoNotFitArePairedWithNothing) {
  struct Case {
    const char* what;
    std::vector<FoundDirectory> dirs;
  };
  const std::vector<Case> cases = {
      {"sector distance not a multiple of the cluster distance", {Dir(1000, 3), Dir(1010, 6)}},
      {"a multiple that is no power of two", {Dir(1000, 3), Dir(1012, 7)}},
      {"a multiple above 128", {Dir(1000, 3), Dir(1256, 4)}},
      {"the later cluster lies lower", {Dir(1000, 9), Dir(1064, 7)}},
      {"cluster-0 sector not before the first", {Dir(1000, 0), Dir(1016, 1)}},
  };
  for (const Case& c : cases) {
    std::vector<FoundDirectory> dirs = c.dirs;
    std::vector<FoundPartition> parts;
    InferPartitions(dirs, "FAT16", parts, nullptr);
    EXPECT_TRUE(parts.empty()) << c.what;
    EXPECT_EQ(dirs[0].partition, kUnpairedDirectory) << c.what;
    EXPECT_EQ(dirs[1].partition, kUnassignedDirectory) << c.what;  // no B was left for it
  }
}

TEST(InferPartitions, Fat16PartitionWithClustersBeyond65536IsFat32) {
  std::vector<FoundDirectory> small = {Dir(5000, 100), Dir(5008, 108)};
  std::vector<FoundDirectory> large = {Dir(700000, 70000), Dir(700008, 70008)};
  std::vector<FoundPartition> parts;
  InferPartitions(small, "FAT16", parts, nullptr);
  InferPartitions(large, "FAT16", parts, nullptr);
  ASSERT_EQ(parts.size(), 2u);
  EXPECT_EQ(parts[0].boot.file_system, "FAT16");
  EXPECT_EQ(parts[1].boot.file_system, "FAT32");
}

TEST(AssignToBootSectors, FirstBootSectorThatPlacesADirectoryTakesIt) {
  // Two volumes and a boot sector whose values put nothing anywhere (its copy 6 sectors on).
  const std::vector<FoundBootSector> boots = {Boot(2048, 8, 4000, 100000), Boot(2054, 8, 4006, 100006),
                                              Boot(200000, 1, 201000, 300000)};
  std::vector<FoundDirectory> dirs = {Dir(4000 + 8 * 3, 3), Dir(4000 + 8 * 9, 9, 3), Dir(201000 + 5, 5),
                                      Dir(400000 + 5, 5),  // beyond every end
                                      Dir(4000 + 8 * 4 + 1, 4)};
  std::vector<FoundPartition> parts;
  AssignToBootSectors(boots, dirs, parts, nullptr);
  ASSERT_EQ(parts.size(), 2u);
  EXPECT_EQ(parts[0].boot.sector, 2048u);
  EXPECT_EQ(parts[1].boot.sector, 200000u);
  EXPECT_THAT(Keys(dirs), ::testing::ElementsAre(4000, 4000, 201000, 0, 0));
}

// Tables of directories from several volumes, stale copies and noise, the same on every run: the
// sorted search gives exactly what pairing every boot sector and directory in order gives.
TEST(DirectoryAssignment, SameKeysAndRowsAsTryingEveryPair) {
  std::mt19937_64 random(13);
  for (int round = 0; round < 40; ++round) {
    std::vector<FoundBootSector> boots;
    std::vector<FoundDirectory> dirs;
    std::uint64_t sector = 100;
    const int volumes = 1 + static_cast<int>(random() % 4);
    for (int v = 0; v < volumes; ++v) {
      const std::uint32_t per_cluster = 1u << (random() % 8);
      const std::uint64_t cluster0 = sector + random() % 5000;
      if (random() % 2 == 0) boots.push_back(Boot(sector, per_cluster, cluster0, cluster0 + 4000000));
      std::uint32_t cluster = 2 + static_cast<std::uint32_t>(random() % 50);
      const int count = 1 + static_cast<int>(random() % 60);
      for (int i = 0; i < count; ++i) {
        cluster += 1 + static_cast<std::uint32_t>(random() % 40);
        if (random() % 9 == 0)
          dirs.push_back(Dir(cluster0 + cluster * per_cluster + 1 + random() % 3, cluster));  // stale copy
        else
          dirs.push_back(Dir(cluster0 + std::uint64_t{cluster} * per_cluster, cluster));
      }
      sector = dirs.back().sector + 10 + random() % 10000;
    }
    std::sort(dirs.begin(), dirs.end(), [](const auto& a, const auto& b) { return a.sector < b.sector; });
    if (random() % 3 == 0) std::shuffle(dirs.begin(), dirs.end(), random);  // tables in any order

    std::vector<FoundDirectory> expected_dirs = dirs;
    std::vector<FoundPartition> expected;
    ReferenceAssignment(boots, expected_dirs, "FAT16", expected);

    std::vector<FoundPartition> parts;
    AssignToBootSectors(boots, dirs, parts, nullptr);
    InferPartitions(dirs, "FAT16", parts, nullptr);
    ASSERT_EQ(Keys(dirs), Keys(expected_dirs)) << "round " << round;
    ASSERT_EQ(parts.size(), expected.size()) << "round " << round;
    for (std::size_t i = 0; i < parts.size(); ++i) {
      EXPECT_EQ(parts[i].boot.cluster0_start, expected[i].boot.cluster0_start);
      EXPECT_EQ(parts[i].boot.sectors_per_cluster, expected[i].boot.sectors_per_cluster);
      EXPECT_EQ(parts[i].boot.file_system, expected[i].boot.file_system);
      EXPECT_EQ(parts[i].boot.sector, expected[i].boot.sector);
    }
  }
}

}  // namespace
}  // namespace pellora

namespace pellora {
namespace {

// Small FAT16 volumes count their sectors in the 16-bit field; the row's end must come from it,
// or the volume would end at its own boot sector and own none of its directories.
TEST(FoundBootSector, EndSectorOfASmallFat16VolumeFromItsSixteenBitCount) {
  test::TempDir dir;
  test::FatImage image(dir / "small.img", 16, 1, 16);
  image.Mkdir("Kept");
  const std::string bytes = test::ReadFile(image.Path()).substr(0, 512);
  const auto row = ReadFoundBootSector(AsBytes(bytes.data(), bytes.size()), 0);
  ASSERT_TRUE(row);
  EXPECT_EQ(row->file_system, "FAT16");
  EXPECT_EQ(row->end_sector, 16u * 2048);
  EXPECT_EQ(row->cluster0_start, image.Params().Cluster0Start);
  EXPECT_EQ(row->first_fat, image.Params().firstFAT);
  EXPECT_EQ(row->second_fat, image.Params().secondFAT);
}

}  // namespace
}  // namespace pellora
