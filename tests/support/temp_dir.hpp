#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace pellora::test {

// A fresh folder under the temporary folder, removed with everything in it at the end of a test.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::filesystem::path& Path() const { return path_; }
  std::filesystem::path operator/(std::string_view name) const { return path_ / name; }

 private:
  std::filesystem::path path_;
};

void WriteFile(const std::filesystem::path& file, std::string_view content);
void WriteBytes(const std::filesystem::path& file, const std::vector<std::byte>& content);
std::string ReadFile(const std::filesystem::path& file);

// Bytes whose value tells where they stand: byte i is (i * 7 + i / 512) & 0xFF, so each sector
// differs from its neighbours.
std::vector<std::byte> PatternBytes(std::size_t size);

}  // namespace pellora::test

namespace pellora::test {

// Sets (or, with nullptr, unsets) an environment variable for the life of the object.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, const char* value);
  ~ScopedEnv();
  ScopedEnv(const ScopedEnv&) = delete;
  ScopedEnv& operator=(const ScopedEnv&) = delete;

 private:
  std::string name_;
  bool had_value_ = false;
  std::string old_value_;
};

}  // namespace pellora::test

namespace pellora::test {

// The sample card built for the tests (an MBR disk image with one FAT32 partition at sector 8192),
// and the folder beside it that holds the original files it was made from.
inline std::filesystem::path SampleCard() { return PELLORA_SAMPLE_CARD; }
inline std::filesystem::path SampleCardFiles() { return std::string(PELLORA_SAMPLE_CARD) + ".files"; }
inline constexpr std::uint64_t kSampleCardPartitionStart = 8192;

// Zeroes count sectors of an image from sector first.
void ZeroSectors(const std::filesystem::path& image, std::uint64_t first, std::uint64_t count);
// Wipes what a FAT32 partition of an image keeps of its layout (boot sector, FSInfo, backup boot
// sector and both FATs), leaving only its directories: what Deep Search rebuilds from.
void WipeFat32Layout(const std::filesystem::path& image, std::uint64_t partition_start);

// An image made by tests/fixtures/make-partition-fixtures ("gpt.img", "lost-63.img" ...).
inline std::filesystem::path PartitionFixture(std::string_view name) {
  return std::filesystem::path(PELLORA_PARTITION_FIXTURES) / name;
}

// The NTFS images of tests/fixtures/make-ntfs-fixtures, unpacked: "ntfs-features-disk.img" (an MBR
// disk with its NTFS partition at sector 2048) and "ntfs-fragmented-mft.img" (a volume).
inline std::filesystem::path NtfsFixture(std::string_view name) {
  return std::filesystem::path(PELLORA_NTFS_FIXTURES) / name;
}
inline constexpr std::uint64_t kNtfsFeaturesPartitionStart = 2048;

}  // namespace pellora::test
