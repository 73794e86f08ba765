#include "storage/sector_access.hpp"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <vector>

#include "storage/device_path.hpp"
#include "support/faulty_source.hpp"
#include "support/memory_disk.hpp"
#include "support/scripted_ui.hpp"
#include "support/temp_dir.hpp"

namespace pellora {
namespace {

// 1 when the sectors were read, else 0; the legacy library's own value when it gave one.
int Code(const SectorRead& read) { return read.legacy_result != 0 ? read.legacy_result : (read ? 1 : 0); }

using test::PatternBytes;
using test::ScriptedUi;
using test::TempDir;

constexpr std::byte kUntouched{0xEE};

class SectorAccessTest : public ::testing::Test {
 protected:
  // A 64-sector disk image plus 100 bytes of a last, partial sector.
  SectorAccessTest() : image_bytes_(PatternBytes(64 * 512 + 100)) {}

  std::vector<std::byte> Buffer(std::size_t sectors) { return std::vector<std::byte>(sectors * 512, kUntouched); }
  bool Untouched(const std::vector<std::byte>& buffer) {
    return std::all_of(buffer.begin(), buffer.end(), [](std::byte b) { return b == kUntouched; });
  }
  bool SameAsImage(const std::vector<std::byte>& buffer, std::uint64_t sector, std::size_t bytes) {
    return std::memcmp(buffer.data(), image_bytes_.data() + sector * 512, bytes) == 0;
  }

  static std::filesystem::path Image(const TempDir& dir, const std::vector<std::byte>& bytes) {
    test::WriteBytes(dir / "disk.img", bytes);
    return dir / "disk.img";
  }

  TempDir dir_;
  std::vector<std::byte> image_bytes_;
  test::TestDisk disk_{Image(dir_, image_bytes_)};
  ScriptedUi& ui_ = disk_.Ui();
  CurrentMode& mode_ = disk_.Mode();
  ReadGuard& guard_ = disk_.Guard();
  SectorAccess& sectors_ = disk_.Sectors();
  std::string path_ = disk_.Path();
};

TEST_F(SectorAccessTest, ReadsWholeSectorsAtAnAbsoluteSector) {
  auto buffer = Buffer(1);
  ASSERT_EQ(Code(sectors_.ReadSectors(1, path_, 0, buffer)), 1);
  EXPECT_TRUE(SameAsImage(buffer, 0, 512));

  buffer = Buffer(3);
  ASSERT_EQ(Code(sectors_.ReadSectors(3, path_, 17, buffer)), 1);
  EXPECT_TRUE(SameAsImage(buffer, 17, 3 * 512));
}

TEST_F(SectorAccessTest, ShortReadAtTheEndStillSucceeds) {
  // Sector 64 holds only 100 bytes; asking for two sectors from 63 reads 612 bytes.
  auto buffer = Buffer(2);
  ASSERT_EQ(Code(sectors_.ReadSectors(2, path_, 63, buffer)), 1);
  EXPECT_TRUE(SameAsImage(buffer, 63, 612));
  EXPECT_EQ(buffer[612], kUntouched);
}

TEST_F(SectorAccessTest, FailuresBeforeTheReadLeaveTheBufferUntouched) {
  struct Case {
    const char* what;
    std::string path;
    std::uint64_t sector;
  };
  const std::vector<Case> cases = {
      {"unknown device path", PhysicalDrivePath(9), 0},
      {"volume path nobody attached", VolumePath('Q'), 0},
      {"start past the end of the medium", path_, 65},
      {"start whose byte offset does not fit 64 bits", path_, std::uint64_t{1} << 60},
  };
  for (const Case& c : cases) {
    auto buffer = Buffer(1);
    EXPECT_EQ(Code(sectors_.ReadSectors(1, c.path, c.sector, buffer)), 0) << c.what;
    EXPECT_TRUE(Untouched(buffer)) << c.what;
  }
}

TEST_F(SectorAccessTest, ImageThatVanishedCannotBeOpened) {
  std::filesystem::remove(dir_ / "disk.img");
  auto buffer = Buffer(1);
  EXPECT_EQ(Code(sectors_.ReadSectors(1, path_, 0, buffer)), 0);
  EXPECT_TRUE(Untouched(buffer));
}

TEST(SectorAccessKeptSource, OneOpenPerRunAndAVanishedDeviceStillFails) {
  ScriptedUi ui;
  CurrentMode mode;
  ReadGuard guard(mode);
  DeviceMap devices;
  SectorAccess sectors(devices, guard, ui);
  auto bytes = std::make_shared<const std::vector<std::byte>>(PatternBytes(64 * 512));
  auto card = std::make_shared<test::FaultPlan>();
  auto other = std::make_shared<test::FaultPlan>();
  test::AddFaultyDevice(devices, PhysicalDrivePath(0), bytes, card);
  test::AddFaultyDevice(devices, PhysicalDrivePath(1), bytes, other);
  std::vector<std::byte> buffer(512);

  for (std::uint64_t sector = 0; sector < 10; ++sector)
    EXPECT_TRUE(sectors.ReadSectors(1, PhysicalDrivePath(0), sector, buffer));
  EXPECT_EQ(card->opens, 1u);  // kept for the run
  EXPECT_TRUE(sectors.ReadSectors(1, PhysicalDrivePath(1), 0, buffer));
  EXPECT_TRUE(sectors.ReadSectors(1, PhysicalDrivePath(0), 0, buffer));
  EXPECT_EQ(card->opens, 2u);  // another path was read in between
  sectors.EndRun();
  EXPECT_TRUE(sectors.ReadSectors(1, PhysicalDrivePath(0), 0, buffer));
  EXPECT_EQ(card->opens, 3u);  // a new run opens anew

  card->gone = true;  // pulled out in the middle of the run
  const SectorRead failed = sectors.ReadSectors(1, PhysicalDrivePath(0), 1, buffer);
  EXPECT_EQ(failed.status, SectorRead::Status::kFailed);
  const SectorRead unopened = sectors.ReadSectors(1, PhysicalDrivePath(0), 1, buffer);
  EXPECT_EQ(unopened.status, SectorRead::Status::kUnopened);  // the failed source was let go
  card->gone = false;                                         // and put back
  EXPECT_TRUE(sectors.ReadSectors(1, PhysicalDrivePath(0), 1, buffer));
}

TEST_F(SectorAccessTest, BufferSmallerThanTheSectorsAskedIsRefusedLoudly) {
  std::vector<std::byte> buffer(511);
  EXPECT_THROW(sectors_.ReadSectors(1, path_, 0, buffer), std::invalid_argument);
}

TEST_F(SectorAccessTest, ReadGuardFollowsModeAndValidatedPartitions) {
  guard_.SetReadLimitBytes(10 * 512);
  struct Case {
    SearchMode mode;
    SearchMode validated_in;  // kNone: no partition validated
    std::uint64_t sector;
    int expected;
  };
  const std::vector<Case> cases = {
      {SearchMode::kBasic, SearchMode::kBasic, 10, 1},  // starts exactly at the limit
      {SearchMode::kBasic, SearchMode::kBasic, 11, 0},  // one sector after it
      {SearchMode::kBasic, SearchMode::kBasic, 9, 1},  {SearchMode::kDeep, SearchMode::kDeep, 11, 0},
      {SearchMode::kDeep, SearchMode::kBasic, 11, 1},  // the Deep counter is still 0
      {SearchMode::kBasic, SearchMode::kDeep, 11, 1},  {SearchMode::kBasic, SearchMode::kNone, 11, 1},
      {SearchMode::kPhoto, SearchMode::kBasic, 40, 1},  // carving modes are never refused
      {SearchMode::kVideo, SearchMode::kDeep, 40, 1},  {SearchMode::kSignature, SearchMode::kDeep, 40, 1},
      {SearchMode::kNone, SearchMode::kBasic, 40, 1},
  };
  for (const Case& c : cases) {
    guard_.ResetCounters();
    guard_.CountValidatedPartition(c.validated_in);
    mode_.Set(c.mode);
    auto buffer = Buffer(4);
    const int result = Code(sectors_.ReadSectors(4, path_, c.sector, buffer));
    EXPECT_EQ(result, c.expected) << "mode " << static_cast<int>(c.mode) << " sector " << c.sector;
    if (c.expected == 0) {
      EXPECT_TRUE(Untouched(buffer));
    } else {
      EXPECT_TRUE(SameAsImage(buffer, c.sector, 4 * 512));  // only the start is checked
    }
  }
}

TEST_F(SectorAccessTest, ResettingTheCountersLiftsTheGuard) {
  guard_.SetReadLimitBytes(0);
  mode_.Set(SearchMode::kBasic);
  guard_.CountValidatedPartition(SearchMode::kBasic);
  auto buffer = Buffer(1);
  EXPECT_EQ(Code(sectors_.ReadSectors(1, path_, 1, buffer)), 0);
  guard_.ResetCounters();
  EXPECT_EQ(Code(sectors_.ReadSectors(1, path_, 1, buffer)), 1);
}

TEST_F(SectorAccessTest, UnknownPlatformModeReadsNothing) {
  sectors_.SetPlatformMode('X');
  auto buffer = Buffer(1);
  EXPECT_EQ(Code(sectors_.ReadSectors(1, path_, 0, buffer)), 0);
  EXPECT_TRUE(Untouched(buffer));
}

// The legacy back end, through an injected library that records its calls.
class FakeLegacyLibrary : public LegacyDiskLibrary {
 public:
  struct Call {
    std::array<std::uint32_t, 8> args;
  };
  bool loads = true;
  bool has_entry = true;
  int load_attempts = 0;
  std::vector<Call>* calls;

  explicit FakeLegacyLibrary(std::vector<Call>* sink) : calls(sink) {}
  bool Load() override {
    ++load_attempts;
    return loads;
  }
  bool FindReadEntry() override { return has_entry; }
  int ReadDisk32(std::uint32_t bios, std::uint32_t a, std::uint32_t b, std::uint32_t c, std::uint32_t count,
                 void* buffer, std::uint32_t sector, std::uint32_t d) override {
    std::memset(buffer, 0x5A, count * 512);
    calls->push_back({{bios, a, b, c, count, 0, sector, d}});
    return 7;  // the library's own result is passed through
  }
};

TEST_F(SectorAccessTest, LegacyModeMapsPhysicalDrivesToBiosNumbers) {
  std::vector<FakeLegacyLibrary::Call> calls;
  sectors_.SetLegacyLibrary(std::make_unique<FakeLegacyLibrary>(&calls));
  sectors_.SetPlatformMode(kPlatformLegacy);
  struct Case {
    std::string path;
    int expected;
    std::uint32_t bios;
  };
  const std::vector<Case> cases = {{PhysicalDrivePath(0), 7, 0x80},
                                   {PhysicalDrivePath(2), 7, 0x82},
                                   {PhysicalDrivePath(3), 7, 0x83},
                                   {PhysicalDrivePath(7), 0, 0}};
  for (const Case& c : cases) {
    calls.clear();
    auto buffer = Buffer(2);
    EXPECT_EQ(Code(sectors_.ReadSectors(2, c.path, 0x1'0000'0005, buffer)), c.expected) << c.path;
    if (c.expected == 0) {
      EXPECT_TRUE(calls.empty());
      continue;
    }
    ASSERT_EQ(calls.size(), 1u);
    // BIOS drive, 0, 0, 1, sector count, buffer, low 32 bits of the start sector, 1.
    EXPECT_EQ(calls[0].args, (std::array<std::uint32_t, 8>{c.bios, 0, 0, 1, 2, 0, 5, 1}));
  }
  auto buffer = Buffer(1);
  EXPECT_THROW(sectors_.ReadSectors(1, VolumePath('E'), 0, buffer), std::invalid_argument);
  EXPECT_TRUE(ui_.Messages().empty());
}

TEST_F(SectorAccessTest, LegacyLibraryProblemsAreShownAndRetriedOnTheNextCall) {
  std::vector<FakeLegacyLibrary::Call> calls;
  auto owned = std::make_unique<FakeLegacyLibrary>(&calls);
  FakeLegacyLibrary* library = owned.get();
  sectors_.SetLegacyLibrary(std::move(owned));
  sectors_.SetPlatformMode(kPlatformLegacy);
  auto buffer = Buffer(1);

  library->loads = false;
  EXPECT_EQ(Code(sectors_.ReadSectors(1, PhysicalDrivePath(1), 0, buffer)), 0);
  library->loads = true;
  library->has_entry = false;
  EXPECT_EQ(Code(sectors_.ReadSectors(1, PhysicalDrivePath(1), 0, buffer)), 0);
  library->has_entry = true;
  EXPECT_EQ(Code(sectors_.ReadSectors(1, PhysicalDrivePath(1), 0, buffer)), 7);
  EXPECT_EQ(Code(sectors_.ReadSectors(1, PhysicalDrivePath(1), 0, buffer)), 7);

  EXPECT_THAT(ui_.Messages(), ::testing::ElementsAre("disk32.dll not found.", "Readdisk32 function not found."));
  EXPECT_EQ(library->load_attempts, 3);  // loaded once it worked, then kept
}

TEST(SectorAccessWithoutLibrary, LegacyModeWithNoLibraryReportsItMissing) {
  ScriptedUi ui;
  CurrentMode mode;
  ReadGuard guard(mode);
  DeviceMap devices;
  SectorAccess sectors(devices, guard, ui);
  sectors.SetPlatformMode(kPlatformLegacy);
  std::vector<std::byte> buffer(512);
  EXPECT_EQ(Code(sectors.ReadSectors(1, PhysicalDrivePath(0), 0, buffer)), 0);
  EXPECT_THAT(ui.Messages(), ::testing::ElementsAre("disk32.dll not found."));
}

}  // namespace
}  // namespace pellora
