// Deep Search of lost FAT file systems over images made by mkfs.fat and mtools, then damaged.

#include "search/deep_search.hpp"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <stop_token>

#include "app/deep_search_run.hpp"
#include "app/modes.hpp"
#include "common/progress.hpp"
#include "search/raw_scan.hpp"
#include "support/fat_image.hpp"
#include "support/faulty_source.hpp"
#include "support/memory_disk.hpp"
#include "support/ntfs_record.hpp"
#include "support/result_paths.hpp"
#include "support/scripted_ui.hpp"
#include "support/temp_dir.hpp"

namespace pellora {
namespace {

using ::testing::Contains;
using ::testing::ElementsAre;

// Overwrites sectors of an image file with zeros, as a bad format or a failing card leaves them.
void ZeroSectors(const std::filesystem::path& image, std::uint64_t first, std::uint64_t count) {
  std::fstream file(image, std::ios::in | std::ios::out | std::ios::binary);
  const std::string zeros(count * 512, '\0');
  file.seekp(static_cast<std::streamoff>(first * 512));
  file.write(zeros.data(), static_cast<std::streamsize>(zeros.size()));
}

// A Deep Search over an image as the only drive, the way the application runs one: the whole
// image as the range, the result installed when the worker ends.
struct Deep {
  test::ScriptedUi ui;
  AppState app{ui};
  std::shared_ptr<test::FaultPlan> plan = std::make_shared<test::FaultPlan>();
  std::optional<DeepPartitionTable> partitions;

  Deep(const std::filesystem::path& image, std::string file_system) : Deep(Bytes(image), std::move(file_system)) {}

  static std::vector<std::byte> Bytes(const std::filesystem::path& image) {
    const std::string text = test::ReadFile(image);
    std::vector<std::byte> bytes(text.size());
    std::memcpy(bytes.data(), text.data(), text.size());
    return bytes;
  }

  Deep(std::vector<std::byte> bytes, std::string file_system) {
    auto medium = std::make_shared<std::vector<std::byte>>(std::move(bytes));
    const std::uint64_t size = medium->size();
    test::AddFaultyDevice(app.devices, "\\\\.\\PhysicalDrive0", medium, plan);
    app.current_device_path = "\\\\.\\PhysicalDrive0";
    app.mode.Set(SearchMode::kDeep);
    PartitionParams& p = app.partition_params;
    p.FileSystemName = std::move(file_system);
    p.EndSector = p.RangeEnd = size / 512;
    p.ReadLimitBytes = size;
  }

  const DeepPartitionTable& Run(std::stop_token stop = {}) {
    BeginSearchRun(app);
    DeepSearchResult result = RunDeepSearch(DeepRequestFor(app, 0), app.sectors, ui, app.reporter, stop);
    partitions.emplace(InstallDeepSearchResult(app, std::move(result)));
    return *partitions;
  }
};

TEST(DeepSearch, Fat16WithoutBootSectorGetsItsGeometryFromItsDirectories) {
  struct Layout {
    int sectors_per_cluster;
    int size_mib;
  };
  for (const Layout layout : {Layout{4, 32}, Layout{16, 100}, Layout{1, 16}}) {
    test::TempDir dir;
    test::FatImage image(dir / "v.img", 16, layout.sectors_per_cluster, layout.size_mib);
    image.Mkdir("Photos");
    image.Mkdir("Photos/2026");
    image.Mkdir("Photos/2026/July");
    image.Put("Photos/2026/July/beach.jpg", std::string(9000, 'j'));
    image.Mkdir("Letters");
    const FileSystemParams real = image.Params();
    ZeroSectors(image.Path(), 0, 1);

    Deep deep(image.Path(), "FAT16");
    const DeepPartitionTable& found = deep.Run();
    ASSERT_EQ(found.Count(), 1u) << layout.sectors_per_cluster;
    const FoundPartition& partition = found.Rows()[0];
    EXPECT_EQ(partition.boot.sectors_per_cluster, real.SectorsPerCluster);
    EXPECT_EQ(partition.boot.cluster0_start, real.Cluster0Start);
    EXPECT_EQ(partition.boot.file_system, "FAT16");
    // Its FATs are intact and looked for in front of the data area, from sector 63 on: a volume
    // that starts at sector 0 has its first FAT before that, and its copy is taken.
    EXPECT_TRUE(partition.fat_searched);
    if (real.firstFAT >= 63) {
      EXPECT_EQ(partition.boot.first_fat, real.firstFAT);
      EXPECT_EQ(partition.boot.second_fat, real.secondFAT);
    } else {
      EXPECT_EQ(partition.boot.first_fat, real.secondFAT);
    }
    EXPECT_THAT(test::ResultPaths(deep.app.results.tree),
                ElementsAre("Letters", "Photos", "Photos/2026", "Photos/2026/July", "ZYD_Miscellaneous"));
    EXPECT_THAT(
        deep.ui.Events(),
        Contains("end: Recovery is completed in Deep Search Mode, use other search mode to recover your data."));
    for (const FolderNode& node : deep.app.results.nodes)
      if (node.self != kMiscellaneousSelf) {
        EXPECT_EQ(node.partition_start, real.Cluster0Start) << node.name;
      }
  }
}

TEST(DeepSearch, IntactBootSectorOwnsItsDirectories) {
  test::TempDir dir;
  test::FatImage image(dir / "v.img", 32, 1, 40);
  image.Mkdir("DCIM");
  image.Mkdir("DCIM/100CANON");
  Deep deep(image.Path(), "FAT32");
  const DeepPartitionTable& found = deep.Run();
  ASSERT_EQ(found.Count(), 1u);
  EXPECT_EQ(found.Rows()[0].boot.sector, 0u);  // the boot sector's own row, not an inferred one
  EXPECT_FALSE(found.Rows()[0].fat_searched);
  EXPECT_EQ(found.Rows()[0].Params().Cluster0Start, image.Params().Cluster0Start);
  EXPECT_THAT(test::ResultPaths(deep.app.results.tree), ElementsAre("DCIM", "DCIM/100CANON", "ZYD_Miscellaneous"));
}

TEST(DeepSearch, StoppedSearchIsArrangedFromWhatWasRead) {
  test::TempDir dir;
  test::FatImage image(dir / "v.img", 32, 1, 40);
  image.Mkdir("Early");
  image.Mkdir("Early/Child");
  image.Mkdir("Early/Child2");
  image.Put("Early/Child/big.bin", std::string(6 << 20, 'b'));  // pushes what follows 6 MiB on
  image.Mkdir("Late");
  ZeroSectors(image.Path(), 0, 1);
  ZeroSectors(image.Path(), 6, 1);

  Deep deep(image.Path(), "FAT32");
  std::stop_source stop;
  deep.plan->on_read = [&](std::uint64_t offset) {
    if (offset > (4u << 20)) stop.request_stop();
  };
  deep.Run(stop.get_token());
  // Late's cluster was never read: its root entry alone knows it, and files it with the orphans.
  EXPECT_THAT(test::ResultPaths(deep.app.results.tree),
              ElementsAre("Early", "Early/Child", "Early/Child2", "ZYD_Miscellaneous", "ZYD_Miscellaneous/Late"));
  EXPECT_THAT(deep.ui.Events(),
              Contains("end: Recovery is stopped in Deep Search Mode, use other search mode to recover your data."));
}

TEST(DeepSearch, NothingFoundEndsWithTheMessage) {
  test::TempDir dir;
  test::WriteFile(dir / "blank.img", std::string(3 << 20, '\0'));
  Deep deep(dir / "blank.img", "FAT32");
  EXPECT_EQ(deep.Run().Count(), 0u);
  EXPECT_TRUE(deep.app.results.tree.Empty());
  EXPECT_THAT(deep.ui.Events(), Contains("end: Recovery is not possible in Deep Search Mode, use other search mode "
                                         "to recover your data."));
}

// An NTFS volume whose boot sectors and first $MFT records (the root's among them) are overwritten:
// its folders come back from the FILE records left and from the index records of their parents.
TEST(DeepSearch, NtfsFoldersComeBackFromFileAndIndexRecords) {
  test::TempDir dir;
  const std::filesystem::path image = dir / "ntfs.img";
  std::filesystem::copy_file(test::NtfsFixture("ntfs-features-disk.img"), image);
  const std::uint64_t start = test::kNtfsFeaturesPartitionStart;
  const std::string boot = test::ReadFile(image).substr(start * 512, 512);
  const std::uint64_t mft = start + static_cast<std::uint8_t>(boot[13]) * (static_cast<std::uint8_t>(boot[0x30]) |
                                                                           static_cast<std::uint8_t>(boot[0x31]) << 8);
  ZeroSectors(image, start, 1);
  ZeroSectors(image, mft, 2 * 16);

  Deep deep(image, "NTFS");
  deep.app.partition_params.RangeStart = start;
  deep.Run();
  const auto paths = test::ResultPaths(deep.app.results.tree);
  for (const char* folder : {"Café", "Docs", "DOSDIR", "Emoji 😀", "Keep", "Keep/Old photos", "Parent later",
                             "Parent later/Child first", "Ελληνικά", "日本語"})
    EXPECT_THAT(paths, Contains(folder));
  EXPECT_THAT(deep.ui.Events(),
              Contains("end: Recovery is completed in Deep Search Mode, use other search mode to recover your data."));
}

// Only FILE records that say they take 1024 bytes are read; index records name the folders they
// list, whatever their language.
TEST(DeepSearch, NtfsFoldersFromFileRecordsOfTheirSizeAndFromIndexRecords) {
  test::MemoryDisk disk(2048);
  const auto record = [&](std::uint64_t sector, std::u16string_view name, std::uint32_t number,
                          std::uint32_t allocated) {
    const auto bytes = test::RecordBuilder(kFolderInUse)
                           .FileName(name, kWin32Namespace, 5)
                           .Put(0x1C, allocated, 4)
                           .Put(0x2C, number, 4)
                           .OnDisk();
    std::copy(bytes.begin(), bytes.end(), disk.Sector(sector).begin());
    std::copy(bytes.begin() + 512, bytes.end(), disk.Sector(sector + 1).begin());
  };
  record(100, u"Kept", 40, 1024);
  record(300, u"Ignored", 41, 2048);
  record(1500, u"Also kept", 42, 1024);
  const auto index = test::IndexRecord(
      {{50, u"Zürich", true}, {51, u"Música", true}, {52, u"notes.txt", false, 10}, {53, u"bad:name", true}}, 40);
  for (std::size_t i = 0; i < index.size() / 512; ++i)
    std::copy_n(index.begin() + static_cast<std::ptrdiff_t>(i * 512), 512, disk.Sector(600 + i).begin());
  std::vector<std::byte> bytes(2048 * 512);
  std::copy_n(disk.Sector(0).data(), bytes.size(), bytes.begin());
  Deep deep(std::move(bytes), "NTFS");
  deep.Run();
  EXPECT_THAT(test::ResultPaths(deep.app.results.tree),
              ElementsAre("Also kept", "Kept", "Kept/Zürich", "Kept/Música", "ZYD_Miscellaneous"));
  const NtfsFileTable& files = deep.app.results.ntfs_files;
  ASSERT_EQ(files.Size(), 1u);
  EXPECT_EQ(files.Row(0).name, "notes.txt");
  EXPECT_EQ(files.Row(0).parent, 40u);
  EXPECT_TRUE(files.Row(0).from_index);
}

// The last read of a range that is not a multiple of 1024 sectors is shorter, and only the
// sectors read are looked at.
TEST(RawScan, LastChunkOfARangeIsShorter) {
  test::MemoryDisk disk(4000);
  test::ScriptedUi ui;
  CurrentMode mode;
  ReadGuard guard{mode};
  DeviceMap devices;
  disk.AttachAs(devices, "\\\\.\\PhysicalDrive0");
  const auto device = devices.Open("\\\\.\\PhysicalDrive0", nullptr);
  ASSERT_TRUE(device);
  std::vector<std::uint64_t> visited;
  ProgressBar progress(&ui);
  ScanSectors(*device, 100, 2600, ui, progress, {}, [&](std::uint64_t sector, std::span<const std::byte> bytes) {
    EXPECT_EQ(bytes.size(), 512u);
    visited.push_back(sector);
  });
  ASSERT_EQ(visited.size(), 2500u);
  EXPECT_EQ(visited.front(), 100u);
  EXPECT_EQ(visited.back(), 2599u);
  EXPECT_EQ(ui.LastText(UiText::kTotalSectors), "sectors scanned of total 2600");
  EXPECT_EQ(ui.LastText(UiText::kCurrentSector), "2148");  // the third, shorter chunk
}

}  // namespace
}  // namespace pellora
