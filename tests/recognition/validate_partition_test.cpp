#include "recognition/validate_partition.hpp"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "recognition/lost_partition_search.hpp"
#include "recognition_harness.hpp"
#include "storage/device_path.hpp"
#include "storage/drive_details.hpp"
#include "storage/source.hpp"
#include "support/memory_disk.hpp"
#include "support/temp_dir.hpp"

namespace pellora {
namespace {

using ::testing::Contains;

class ValidatePartitionTest : public ::testing::Test {
 protected:
  Validation Validate(int item, std::optional<int> file_system_choice = std::nullopt) {
    SelectDriveItem(h_.app.drive_listing, item);
    ValidationContext context{.listing = h_.app.drive_listing,
                              .devices = h_.app.devices,
                              .guard = h_.app.read_guard,
                              .ui = h_.ui,
                              .params = h_.app.partition_params,
                              .current_device_path = h_.app.current_device_path,
                              .mode = h_.app.mode.Get(),
                              .clear_search_state = [this] { ++cleared_; },
                              .file_system_choice = file_system_choice};
    return ValidatePartition(context);
  }
  int Disk(int number) { return *h_.app.drive_listing.tree.FindDrive(PhysicalDrivePath(number)); }
  int Partition(int disk, int number) { return *h_.app.drive_listing.tree.FindPartition(Disk(disk), number); }
  std::string Sparse(std::string_view name, std::uint64_t bytes) {
    const auto file = dir_ / name;
    test::WriteFile(file, "");
    std::filesystem::resize_file(file, bytes);
    return file.string();
  }

  test::TempDir dir_;
  test::RecognitionHarness h_;
  const PartitionParams& params_ = h_.app.partition_params;
  int cleared_ = 0;
};

TEST_F(ValidatePartitionTest, APartitionBecomesTheCurrentPartition) {
  h_.app.devices.AttachDiskImage(test::SampleCard());
  h_.List();
  ASSERT_EQ(Validate(Partition(0, 1)), Validation::kValidated);
  EXPECT_EQ(params_.DiskNumber, 0);
  EXPECT_EQ(params_.FileSystemName, "FAT32");
  EXPECT_EQ(params_.SearchMode, "Basic Search");
  EXPECT_EQ(params_.StartSector, 8192u);
  EXPECT_EQ(params_.EndSector, 327680u);
  EXPECT_EQ(params_.RangeStart, 8192u);
  EXPECT_EQ(params_.RangeEnd, 327680u);
  EXPECT_EQ(params_.ReadLimitBytes, 327680u * 512);
  EXPECT_EQ(h_.app.current_device_path, PhysicalDrivePath(0));
  EXPECT_EQ(h_.app.read_guard.BasicValidated(), 1u);
  EXPECT_EQ(h_.app.read_guard.ReadLimitBytes(), params_.ReadLimitBytes);
  EXPECT_EQ(h_.ui.LastText(UiText::kSearchRange), "Search Range : 8192 to 327680");
  EXPECT_EQ(cleared_, 1);

  // Later validations in the same mode keep the per-search state.
  ASSERT_EQ(Validate(Partition(0, 1)), Validation::kValidated);
  EXPECT_EQ(cleared_, 1);
  EXPECT_EQ(h_.app.read_guard.BasicValidated(), 2u);
}

TEST_F(ValidatePartitionTest, Refusals) {
  const std::string vanishing = (dir_ / "card.img").string();
  std::filesystem::copy_file(test::SampleCard(), vanishing);
  h_.app.devices.AttachDiskImage(vanishing);
  h_.app.devices.AttachDiskImage(Sparse("tiny.img", 40 * 512));
  h_.List();
  const DriveTree& tree = h_.app.drive_listing.tree;
  const struct {
    int item;
    std::string_view message;
  } cases[] = {{tree.Top(), kSelectDriveFirst},
               {*tree.FindGroup(kPhysicalDrives), kSelectDriveFirst},
               {*tree.FindGroup(kLogicalDrives), kSelectDriveFirst}};
  for (const auto& c : cases) {
    EXPECT_EQ(Validate(c.item), Validation::kRefused);
    EXPECT_EQ(h_.ui.Messages().back(), c.message);
  }

  // The whole-disk prompt answered "OK, Go Back".
  const auto before = h_.ui.Messages().size();
  EXPECT_EQ(Validate(Disk(0)), Validation::kRefused);
  EXPECT_THAT(h_.ui.Events(), Contains("whole disk: " + std::string(kWholeDiskPromptText)));
  EXPECT_EQ(h_.ui.Messages().size(), before);

  // A whole disk smaller than its search start.
  h_.ui.AnswerWholeDisk({true});
  EXPECT_EQ(Validate(Disk(1)), Validation::kRefused);
  EXPECT_EQ(h_.ui.Messages().back(), kEndNotAfterStart);

  // The card was pulled out after it was listed.
  std::filesystem::remove(vanishing);
  EXPECT_EQ(Validate(Partition(0, 1)), Validation::kRefused);
  EXPECT_EQ(h_.ui.Messages().back(), kDriveNotAvailable);
  EXPECT_EQ(params_, PartitionParams{});
  EXPECT_EQ(h_.app.read_guard.BasicValidated(), 0u);
}

// A drive this user may not read says how to get access, instead of only that it is unavailable.
TEST_F(ValidatePartitionTest, ADriveThePersonMayNotReadSaysHowToGetAccess) {
  auto denied = std::make_shared<bool>(false);
  h_.app.devices.AddSource(PhysicalDrivePath(0), DeviceKind::kDisk, [denied](int* error) -> std::unique_ptr<Source> {
    if (!*denied) return FileSource::Open(test::SampleCard(), error);
    *error = EACCES;
    return nullptr;
  });
  h_.List();
  *denied = true;
  EXPECT_EQ(Validate(Partition(0, 1)), Validation::kRefused);
  EXPECT_THAT(h_.ui.Messages().back(), ::testing::StartsWith(std::string(kDriveNotAvailable) + "\n\n"));
  EXPECT_THAT(h_.ui.Messages().back(), ::testing::HasSubstr("add yourself to the disk group"));
}

TEST_F(ValidatePartitionTest, WholeDisks) {
  h_.app.devices.AttachDiskImage(test::SampleCard());
  h_.app.devices.AttachDiskImage(Sparse("8gib.img", 8ull << 30));
  h_.app.devices.AttachDiskImage(Sparse("64gib.img", 64ull << 30));
  h_.app.devices.AttachDiskImage(Sparse("small.img", 1000 * 512));
  h_.List();
  const struct {
    int disk;
    Validation outcome;
    const char* file_system;
    std::uint64_t end;
  } cases[] = {{0, Validation::kValidated, "FAT32", 327680},  // from its first partition's label
               {1, Validation::kValidated, "FAT32", 8ull << 21},
               {2, Validation::kValidated, "NTFS", 64ull << 21},
               {3, Validation::kUnrecognised, "Unknown", 1000}};
  for (const auto& c : cases) {
    h_.ui.AnswerWholeDisk({true});
    EXPECT_EQ(Validate(Disk(c.disk)), c.outcome) << c.disk;
    EXPECT_EQ(params_.StartSector, 63u);
    EXPECT_EQ(params_.EndSector, c.end);
    EXPECT_EQ(params_.FileSystemName, c.file_system);
  }
}

TEST_F(ValidatePartitionTest, VolumesAndFoundPartitionsLimitReadsToTheirRange) {
  h_.app.devices.AttachVolumeImage(test::PartitionFixture("fat16-volume.img"));
  h_.app.devices.AttachDiskImage(test::PartitionFixture("lost-8192.img"));
  DriveListing& listing = h_.List();
  ASSERT_EQ(Validate(*listing.tree.FindDrive(VolumePath('D'))), Validation::kValidated);
  EXPECT_EQ(params_.FileSystemName, "FAT16");
  EXPECT_EQ(params_.StartSector, 0u);
  EXPECT_EQ(params_.EndSector, 65536u);
  EXPECT_EQ(params_.ReadLimitBytes, 65536u * 512);
  EXPECT_EQ(h_.app.current_device_path, VolumePath('D'));

  LostPartitionSearch search{.sectors = h_.app.sectors, .listing = listing, .ui = &h_.ui, .stop = {}, .silent = {}};
  ASSERT_EQ(AdvancedScan(search, *listing.Geometry(Disk(0))), 1);
  ASSERT_EQ(Validate(Partition(0, 1)), Validation::kValidated);
  EXPECT_EQ(params_.StartSector, 8192u);
  EXPECT_EQ(params_.RangeEnd, 8192u + 163840);
  EXPECT_EQ(params_.ReadLimitBytes, params_.RangeEnd * 512);
}

TEST_F(ValidatePartitionTest, TheDeepWindowsFileSystemChoiceAndDynamicDisks) {
  test::MemoryDisk dynamic(100000);
  dynamic.Entry(0, 0, 0x42, 2048, 90000);
  dynamic.AttachAs(h_.app.devices, PhysicalDrivePath(0));
  h_.app.mode.Set(SearchMode::kDeep);
  DriveListing& listing = h_.List();
  h_.ui.AnswerWholeDisk({true, true});
  EXPECT_EQ(Validate(Disk(0), 3), Validation::kRefused);
  EXPECT_EQ(h_.ui.Messages().back(), kSelectFileSystemType);
  ASSERT_EQ(Validate(Disk(0), 2), Validation::kValidated);
  EXPECT_EQ(params_.FileSystemName, "NTFS");
  EXPECT_EQ(params_.SearchMode, "Deep Search");
  EXPECT_EQ(h_.app.read_guard.DeepValidated(), 1u);
  EXPECT_TRUE(listing.tree.details_notice.starts_with(kDynamicDiskNotice));
}

}  // namespace
}  // namespace pellora
