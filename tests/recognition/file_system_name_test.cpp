#include "recognition/file_system_name.hpp"

#include <gtest/gtest.h>

namespace pellora {
namespace {

TEST(FileSystemName, GuessedFromTheSizeOfABareDisk) {
  constexpr std::uint64_t kGiB = 2097152;  // sectors
  EXPECT_EQ(GuessFileSystemBySize(0, 8 * kGiB), "FAT32");
  EXPECT_EQ(GuessFileSystemBySize(63, 64 * kGiB), "NTFS");
  EXPECT_EQ(GuessFileSystemBySize(0, 35 * kGiB - 1), "FAT32");  // 34 GiB and a bit: still FAT32
  EXPECT_EQ(GuessFileSystemBySize(0, 35 * kGiB), "NTFS");
  EXPECT_EQ(GuessFileSystemBySize(0, 2048), "FAT32");
  EXPECT_EQ(GuessFileSystemBySize(0, 2047), "Unknown");
  EXPECT_EQ(GuessFileSystemBySize(100, 50), "Unknown");
}

TEST(FileSystemName, TakenFromALabel) {
  EXPECT_EQ(FileSystemFromLabel("Partition - 2 ( FAT32 )"), "FAT32");
  EXPECT_EQ(FileSystemFromLabel("NTFS"), "NTFS");
  EXPECT_EQ(FileSystemFromLabel("FAT16 or FAT32"), "FAT16");  // the first name of the list wins
  EXPECT_EQ(FileSystemFromLabel("exFAT"), "Unknown");
  EXPECT_EQ(FileSystemFromLabel(""), "Unknown");
}

}  // namespace
}  // namespace pellora
