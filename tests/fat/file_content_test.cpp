#include "fat/file_content.hpp"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "fat/folder_listing.hpp"
#include "support/fat_image.hpp"
#include "support/memory_disk.hpp"
#include "support/temp_dir.hpp"

namespace pellora {
namespace {

using ::testing::ElementsAre;

std::string Content(std::size_t size, char seed) {
  std::string text(size, '\0');
  for (std::size_t i = 0; i < size; ++i) text[i] = static_cast<char>(seed + static_cast<char>(i % 251));
  return text;
}

struct Volume : test::ImageVolume {
  using ImageVolume::ImageVolume;
  FileListRow Row(std::string_view name) const {
    for (const FileListRow& row : ListFatFolder(volume, 0))
      if (row.name == name) return row;
    throw std::runtime_error("no file " + std::string(name));
  }
  std::vector<std::uint32_t> Clusters(std::string_view name) const {
    const FileListRow row = Row(name);
    return FatFileClusters(volume, static_cast<std::uint32_t>(row.self), row.size);
  }
  // The file's bytes as the engine rebuilds them, found by name in the root directory.
  std::string Read(std::string_view name, CopyEnd* end = nullptr) const {
    {
      const FileListRow row = Row(name);
      std::string bytes;
      const CopyEnd result =
          CopyFatFile(volume, FatFileClusters(volume, static_cast<std::uint32_t>(row.self), row.size), row.size,
                      [&](std::span<const std::byte> chunk) {
                        bytes.append(reinterpret_cast<const char*>(chunk.data()), chunk.size());
                        return true;
                      });
      if (end != nullptr) *end = result;
      return bytes;
    }
  }
};

TEST(FatFileContent, FragmentedDeletedAndEmptyFiles) {
  // A nearly full volume with holes: a new file larger than any hole is split across them.
  test::TempDir dir;
  test::FatImage image(dir / "v.img", 16, 1, 4);
  for (char n = '0'; n < '8'; ++n) image.Put(std::string("f") + n, Content(300000, n));
  image.Put("filler", Content(1300000, 'f'));
  image.Delete("f1");
  image.Delete("f3");
  image.Delete("f5");
  const std::string big = Content(700000, 'b');
  image.Put("big", big);
  image.Put("empty.bin", "");
  const std::string photo = Content(123457, 'p');
  image.Put("photo.jpg", photo);
  image.Delete("photo.jpg");

  const Volume v(image);
  const auto clusters = v.Clusters("big");
  ASSERT_EQ(clusters.size(), 1368u);
  EXPECT_NE(clusters.back() - clusters.front() + 1, clusters.size()) << "big should be fragmented";
  EXPECT_EQ(v.Read("big"), big);
  EXPECT_EQ(v.Read("f2"), Content(300000, '2'));
  EXPECT_EQ(v.Read("empty.bin"), "");
  EXPECT_EQ(v.Read("_hoto.jpg"), photo);  // deleted: its chain is cleared, taken as contiguous
}

TEST(FatFileContent, ChainOfTheWrongLengthFallsBackToFat2ThenContiguous) {
  // FAT 1 at sector 1, FAT 2 at sector 2 (one sector each), data from sector 3, 1 sector per cluster.
  std::vector<std::byte> bytes(64 * 512);
  auto link = [&](std::uint32_t fat_sector, std::uint32_t cluster, std::uint32_t next) {
    test::PutLe(bytes, fat_sector * 512 + cluster * 4, next, 4);
  };
  for (std::uint32_t cluster = 2; cluster < 40; ++cluster)
    std::fill_n(bytes.begin() + (1 + cluster) * 512, 512, static_cast<std::byte>(cluster));
  const FileSystemParams params{.FatSectors = 1,
                                .SectorsPerCluster = 1,
                                .Cluster0Start = 1,
                                .firstFAT = 1,
                                .secondFAT = 2,
                                .ParamsFileSystemName = "FAT32"};
  auto clusters = [&](std::uint64_t size) {
    test::TestDisk disk(bytes);
    const FatVolume volume{&disk.Sectors(), disk.Path(), params, bytes.size(), {}};
    return FatFileClusters(volume, 10, size);
  };
  link(1, 10, 20);
  link(1, 20, 0x0FFFFFFF);
  link(2, 10, 30);
  link(2, 30, 0x0FFFFFFF);
  EXPECT_THAT(clusters(1024), ElementsAre(10, 20));
  link(1, 20, 21);  // FAT 1 now runs on past the size
  EXPECT_THAT(clusters(1024), ElementsAre(10, 30));
  link(1, 20, 0x0FFFFFFF);
  link(2, 30, 0);  // neither chain has the three clusters 1025 bytes need
  EXPECT_THAT(clusters(1025), ElementsAre(10, 11, 12));
  EXPECT_THAT(clusters(0), ::testing::IsEmpty());

  test::TestDisk disk(bytes);
  FatVolume volume{&disk.Sectors(), disk.Path(), params, bytes.size(), {}};

  std::string copied;
  const auto end = CopyFatFile(volume, {10, 30}, 700, [&](std::span<const std::byte> chunk) {
    for (std::byte b : chunk) copied.push_back(static_cast<char>(b));
    return true;
  });
  EXPECT_EQ(end, CopyEnd::kComplete);
  EXPECT_EQ(copied, std::string(512, '\x0A') + std::string(188, '\x1E'));
  // No read starts beyond the read limit.
  volume.read_limit_bytes = 20 * 512;
  copied.clear();
  EXPECT_EQ(CopyFatFile(volume, {10, 30}, 700,
                        [&](std::span<const std::byte> chunk) {
                          copied.append(chunk.size(), 'x');
                          return true;
                        }),
            CopyEnd::kReadFailed);
  EXPECT_EQ(copied.size(), 512u);
}

}  // namespace
}  // namespace pellora
