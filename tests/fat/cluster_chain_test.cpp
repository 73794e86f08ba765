#include "fat/cluster_chain.hpp"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "support/memory_disk.hpp"

namespace pellora {
namespace {

using ::testing::ElementsAre;

// A volume whose FAT 1 starts at sector 1 and is two sectors long.
class ClusterChainTest : public ::testing::Test {
 protected:
  std::vector<std::byte> bytes_ = std::vector<std::byte>(8 * 512);
  void Link16(std::uint32_t cluster, std::uint32_t next) { test::PutLe(bytes_, 512 + cluster * 2, next, 2); }
  void Link32(std::uint32_t cluster, std::uint32_t next) { test::PutLe(bytes_, 512 + cluster * 4, next, 4); }
  std::vector<std::uint32_t> Chain(const char* fs, std::uint32_t first) {
    test::TestDisk disk(bytes_);
    FatVolume volume;
    volume.sectors = &disk.Sectors();
    volume.device_path = disk.Path();
    volume.params.ParamsFileSystemName = fs;
    volume.params.firstFAT = 1;
    volume.params.FatSectors = 2;
    return BuildClusterChain(volume, first);
  }
};

TEST_F(ClusterChainTest, Fat16LinksUpToFFFEContinue) {
  Link16(2, 3);
  Link16(3, 0xFFF7);  // a bad-cluster mark is followed like any link
  Link16(4, 0xFFFF);
  EXPECT_THAT(Chain("FAT16", 2), ElementsAre(2, 3, 0xFFF7));  // 0xFFF7's entry lies past the FAT
  Link16(3, 4);
  EXPECT_THAT(Chain("FAT16", 2), ElementsAre(2, 3, 4));
  for (std::uint32_t end : {0u, 1u, 0xFFFFu}) {
    Link16(3, end);
    EXPECT_THAT(Chain("FAT16", 2), ElementsAre(2, 3)) << end;
  }
  Link16(300, 301);  // the second FAT sector
  EXPECT_THAT(Chain("FAT16", 300), ElementsAre(300, 301));
}

TEST_F(ClusterChainTest, Fat32LinksUpTo0FFFFFFEContinue) {
  Link32(2, 5);
  Link32(5, 6);
  Link32(6, 0x1FFFFFFF);  // the top bits are not masked: this ends the chain
  EXPECT_THAT(Chain("FAT32", 2), ElementsAre(2, 5, 6));
  Link32(6, 0x0FFFFFFF);
  EXPECT_THAT(Chain("FAT32", 2), ElementsAre(2, 5, 6));
  EXPECT_THAT(Chain("FAT32", 9), ElementsAre(9));  // a cleared entry: one cluster (deleted files)
  EXPECT_THAT(Chain("NTFS", 2), ::testing::IsEmpty());
}

TEST_F(ClusterChainTest, LoopsAndLinksPastTheFatEnd) {
  Link32(2, 3);
  Link32(3, 4);
  Link32(4, 2);
  EXPECT_THAT(Chain("FAT32", 2), ElementsAre(2, 3, 4));
  Link32(4, 4);
  EXPECT_THAT(Chain("FAT32", 2), ElementsAre(2, 3, 4));
  // Cluster 256's entry would lie in the first sector of FAT 2: the walk ends instead.
  Link32(3, 256);
  test::PutLe(bytes_, 3 * 512, 7, 4);
  EXPECT_THAT(Chain("FAT32", 2), ElementsAre(2, 3, 256));
}

}  // namespace
}  // namespace pellora
