#include "search/basic_search.hpp"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstring>
#include <stop_token>

#include "ntfs/record_sector.hpp"
#include "support/fat_image.hpp"
#include "support/faulty_source.hpp"
#include "support/result_paths.hpp"
#include "support/scripted_ui.hpp"
#include "support/temp_dir.hpp"

namespace pellora {
namespace {

using ::testing::Contains;
using ::testing::ElementsAre;

using test::ResultPaths;

// A Basic Search over an image as the only drive, its whole volume validated as FAT32 or NTFS.
struct Search {
  test::ScriptedUi ui;
  AppState app{ui};
  std::shared_ptr<test::FaultPlan> plan = std::make_shared<test::FaultPlan>();

  explicit Search(const std::filesystem::path& image, std::string file_system = "FAT32") {
    const std::string bytes = test::ReadFile(image);
    auto medium = std::make_shared<std::vector<std::byte>>(bytes.size());
    std::memcpy(medium->data(), bytes.data(), bytes.size());
    test::AddFaultyDevice(app.devices, "\\\\.\\PhysicalDrive0", medium, plan);
    app.current_device_path = "\\\\.\\PhysicalDrive0";
    app.mode.Set(SearchMode::kBasic);
    PartitionParams& p = app.partition_params;
    p.FileSystemName = std::move(file_system);
    p.EndSector = p.RangeEnd = bytes.size() / 512;
    p.ReadLimitBytes = bytes.size();
  }
};

TEST(BasicSearch, StopArrangesExactlyWhatWasFound) {
  test::TempDir dir;
  test::FatImage image(dir / "v.img", 32, 1, 40);
  image.Mkdir("Early");
  image.Mkdir("Early/Child");
  image.Put("Early/Child/big.bin", std::string(6 << 20, 'b'));  // pushes what follows 6 MiB further on
  image.Mkdir("Early/Late");
  image.Mkdir("Late");

  Search search(image.Path());
  std::stop_source stop;
  // Stop once the scan has read past the first 4 MiB, before Early/Late and Late.
  search.plan->on_read = [&](std::uint64_t offset) {
    if (offset > (4u << 20)) stop.request_stop();
  };
  const BasicSearchOutcome outcome = RunBasicSearch(search.app, stop.get_token());
  EXPECT_TRUE(outcome.stopped);
  EXPECT_TRUE(outcome.scanned);
  const ResultTree& tree = search.app.results.tree;
  // Late's cluster was never read: only its root entry knows it, which files it with the orphans.
  EXPECT_THAT(ResultPaths(tree), ElementsAre("Early", "Early/Child", "ZYD_Miscellaneous", "ZYD_Miscellaneous/Late"));
  EXPECT_THAT(search.ui.Events(), Contains("end: Recovery is stopped in Basic Search Mode, use other search mode to "
                                           "recover your data."));

  // Run to the end, the same search finds everything.
  Search full(image.Path());
  EXPECT_FALSE(RunBasicSearch(full.app, {}).stopped);
  EXPECT_THAT(ResultPaths(full.app.results.tree),
              ElementsAre("Early", "Early/Child", "Early/Late", "Late", "ZYD_Miscellaneous"));
  EXPECT_THAT(full.ui.Events(), Contains("end: Recovery is completed in Basic Search Mode, use other search mode to "
                                         "recover your data."));
}

TEST(BasicSearch, UnreadableFatValuesEndWithTheMessageAndNothingFound) {
  test::TempDir dir;
  test::WriteFile(dir / "blank.img", std::string(1 << 20, '\0'));
  Search search(dir / "blank.img");
  const BasicSearchOutcome outcome = RunBasicSearch(search.app, {});
  EXPECT_FALSE(outcome.scanned);
  EXPECT_TRUE(outcome.results_empty);
  EXPECT_THAT(search.ui.Messages(), Contains(std::string(kUnableToCalculateParams)));
  EXPECT_THAT(search.ui.Events(), Contains("end: Recovery is not possible in Basic Search Mode, use other search mode "
                                           "to recover your data."));
}

TEST(BasicSearchNtfs, AStopAfterTheFirstFragmentArrangesExactlyItsFolders) {
  const auto image = test::NtfsFixture("ntfs-fragmented-mft.img");
  Search full(image, "NTFS");
  EXPECT_FALSE(RunBasicSearch(full.app, {}).stopped);
  ASSERT_GT(full.app.mft_fragments.Size(), 2u);
  const MftFragment second = full.app.mft_fragments.List()[1];
  EXPECT_THAT(ResultPaths(full.app.results.tree), ElementsAre("$Extend", "fill", "many", "ZYD_Miscellaneous"));

  Search stopped(image, "NTFS");
  std::stop_source stop;
  stopped.plan->on_read = [&](std::uint64_t offset) {
    if (offset >= second.start * 512 && offset < (second.start + second.sectors) * 512) stop.request_stop();
  };
  const BasicSearchOutcome outcome = RunBasicSearch(stopped.app, stop.get_token());
  EXPECT_TRUE(outcome.stopped);
  EXPECT_TRUE(outcome.scanned);
  // The folders lie in the first fragment; the files of the later fragments were never read.
  EXPECT_THAT(ResultPaths(stopped.app.results.tree), ElementsAre("$Extend", "fill", "many", "ZYD_Miscellaneous"));
  EXPECT_LT(stopped.app.results.ntfs_files.Size(), full.app.results.ntfs_files.Size());
  EXPECT_GT(stopped.app.results.ntfs_files.Size(), 0u);
  EXPECT_THAT(stopped.ui.Events(), ::testing::Contains("end: Recovery is stopped in Basic Search Mode, use other "
                                                       "search mode to recover your data."));
}

TEST(BasicSearchNtfs, ABadSectorInTheMftCostsOneRecord) {
  const auto image = test::NtfsFixture("ntfs-fragmented-mft.img");
  Search good(image, "NTFS");
  RunBasicSearch(good.app, {});
  Search bad(image, "NTFS");
  // Record 70's first sector cannot be read (a record whose second sector is bad keeps its name).
  const std::uint64_t sector = MftRecordToSector(good.app.mft_fragments, 70);
  bad.plan->bad_sectors.push_back({sector, sector + 1});
  RunBasicSearch(bad.app, {});
  EXPECT_EQ(bad.app.results.ntfs_files.Size() + 1, good.app.results.ntfs_files.Size());
  EXPECT_EQ(ResultPaths(bad.app.results.tree), ResultPaths(good.app.results.tree));
}

}  // namespace
}  // namespace pellora
