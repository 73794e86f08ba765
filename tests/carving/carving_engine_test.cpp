#include "carving/carving_engine.hpp"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <csignal>

#include "carving/photo_search.hpp"
#include "carving_fixture.hpp"

namespace pellora {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

// Two types: AAA at the start of a sector, BBB at byte 5; both may grow to 1 MiB unless a test
// says otherwise.
class CarvingEngineTest : public test::CarvingFixture {
 protected:
  void SetDefinitions(std::uint64_t aaa_max = 1048576, std::uint64_t bbb_max = 1048576) {
    photo_.general = test::Definitions(test::DefinitionEntry("AAA", aaa_max, "A1A2A3A4") +
                                       test::DefinitionEntry("BBB", bbb_max, "B1B2B3", 5));
    photo_.advance = test::Definitions(test::DefinitionEntry("AAA", aaa_max, "C1C2C3C4"));
  }
  void Run(std::uint64_t start, std::uint64_t end, bool thorough = false,
           std::uint64_t files_per_folder = kFilesPerFolder) {
    types_ = CarvedTypeTable::ForPhoto(photo_);
    RunPhotoPasses(Services(), Range(start, end), ModeFolder(), photo_, thorough, types_, files_per_folder);
  }

  PhotoDefinitions photo_;
  CarvedTypeTable types_{TypeRowMatch::kPrefix};
};

TEST_F(CarvingEngineTest, EachFileRunsFromItsSignatureToTheNextOneInTheSameChunkOrAcrossChunks) {
  MakeMedium(2048);
  SetDefinitions();
  Put(2, "A1A2A3A4");
  Put(10, "B1B2B3", 5);    // same chunk as the first
  Put(700, "A1A2A3A4");    // inside the BBB file, one chunk further on
  Put(1030, "B1B2B3", 5);  // a third chunk
  Run(0, 1200);
  EXPECT_THAT(Files(), ElementsAre("General/AAA/GNDR00001.AAA", "General/AAA/GNDR00003.AAA",
                                   "General/BBB/GNDR00002.BBB", "General/BBB/GNDR00004.BBB"));
  EXPECT_EQ(Carved("General/AAA/GNDR00001.AAA"), Sectors(2, 10));
  EXPECT_EQ(Carved("General/BBB/GNDR00002.BBB"), Sectors(10, 700));
  EXPECT_EQ(Carved("General/AAA/GNDR00003.AAA"), Sectors(700, 1030));
  EXPECT_EQ(Carved("General/BBB/GNDR00004.BBB"), Sectors(1030, 1200));
  EXPECT_THAT(ui_.Events(), ElementsAre("thumbnail: GNDR00001.AAA", "thumbnail: GNDR00002.BBB",
                                        "thumbnail: GNDR00003.AAA", "thumbnail: GNDR00004.BBB"));
  EXPECT_EQ(types_.Rows()[0].files_found, 2u);
  EXPECT_EQ(ui_.LastProgress(), ui_.LastMaximum());
  EXPECT_EQ(ui_.LastText(UiText::kTotalSectors), "sectors scanned of total 1200");
  EXPECT_EQ(ui_.LastText(UiText::kStatus), "(Currently performing Search based on:  General Recovery Procedure)");
}

TEST_F(CarvingEngineTest, MaximumSizeIsAppliedShareByShareAtChunkEnds) {
  struct Case {
    std::uint64_t max_size;
    std::uint64_t first_sector;
    std::uint64_t expected_bytes;
  };
  const std::vector<Case> cases = {
      // Below one chunk, from a chunk's first sector: the maximum itself, then closed a chunk later.
      {100000, 512, 100000},
      // From sector 400: 112 sectors in the first chunk; the next whole chunk would pass 300,000.
      {300000, 400, 112 * 512},
      // Exactly two chunks fit.
      {524288, 512, 524288},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.max_size);
    root_ = dir_ / std::to_string(c.max_size);
    MakeMedium(4096);
    SetDefinitions(c.max_size);
    Put(c.first_sector, "A1A2A3A4");
    Run(0, 4096);
    const std::string carved = Carved("General/AAA/GNDR00001.AAA");
    EXPECT_EQ(carved.size(), c.expected_bytes);
    EXPECT_EQ(carved, Sectors(c.first_sector, c.first_sector + 2048).substr(0, c.expected_bytes));
  }
}

TEST_F(CarvingEngineTest, RangeNotAMultipleOfAChunkEndsAtTheEndSectorAndTheLastSectorStillStartsAFile) {
  MakeMedium(1200);
  SetDefinitions();
  Put(100, "A1A2A3A4");
  Put(600, "B1B2B3", 5);
  Put(699, "A1A2A3A4");   // the last sector of the range
  Put(700, "B1B2B3", 5);  // the end sector itself is never read
  Run(20, 700);
  EXPECT_THAT(Files(),
              ElementsAre("General/AAA/GNDR00001.AAA", "General/AAA/GNDR00003.AAA", "General/BBB/GNDR00002.BBB"));
  EXPECT_EQ(Carved("General/AAA/GNDR00001.AAA"), Sectors(100, 600));
  EXPECT_EQ(Carved("General/BBB/GNDR00002.BBB"), Sectors(600, 699));
  EXPECT_EQ(Carved("General/AAA/GNDR00003.AAA"), Sectors(699, 700));
}

TEST_F(CarvingEngineTest, ARangeBeyondTheMediumEndsWhereTheMediumDoes) {
  MakeMedium(1100);
  SetDefinitions();
  Put(1000, "A1A2A3A4");
  Run(0, std::uint64_t{1} << 50);  // read chunk by chunk, this would take days
  EXPECT_EQ(Carved("General/AAA/GNDR00001.AAA"), Sectors(1000, 1100));
  EXPECT_EQ(ui_.LastProgress(), ui_.LastMaximum());
}

TEST_F(CarvingEngineTest, FiftyThousandFilesPerFolderThenTypeFoldersWithSuffixes) {
  MakeMedium(64);
  SetDefinitions();
  for (std::uint64_t sector : {1, 3, 5, 7, 9}) Put(sector, "A1A2A3A4");
  Put(2, "B1B2B3", 5);
  Run(0, 64, false, /*files_per_folder=*/2);
  EXPECT_THAT(Files(), ElementsAre("General/AAA/GNDR00001.AAA", "General/AAA/GNDR00003.AAA",
                                   "General/AAA_001/GNDR00004_001.AAA", "General/AAA_001/GNDR00005_001.AAA",
                                   "General/AAA_002/GNDR00006_002.AAA", "General/BBB/GNDR00002.BBB"));
  EXPECT_EQ(types_.Rows()[0].folder_name, "AAA_002");
  EXPECT_EQ(types_.Rows()[0].folder_count, 1u);
}

TEST_F(CarvingEngineTest, ThoroughPassNumbersFromOneWithItsOwnPrefixAndFolders) {
  MakeMedium(64);
  SetDefinitions();
  Put(4, "A1A2A3A4");
  Put(8, "C1C2C3C4");
  Put(12, "C1C2C3C4");
  Run(0, 64, /*thorough=*/true, /*files_per_folder=*/1);
  EXPECT_THAT(Files(), ElementsAre("General/AAA/GNDR00001.AAA", "Omitted/AAA/THDR00001.AAA",
                                   "Omitted/AAA_001/THDR00002_001.AAA"));
  EXPECT_EQ(Carved("Omitted/AAA/THDR00001.AAA"), Sectors(8, 12));
  EXPECT_EQ(types_.Rows()[0].files_per_pass[0], 1u);
  EXPECT_EQ(types_.Rows()[0].files_per_pass[1], 2u);
}

TEST_F(CarvingEngineTest, AnEarlierRunsFileOfTheSameNameIsReplaced) {
  MakeMedium(64);
  SetDefinitions();
  Put(4, "A1A2A3A4");
  std::filesystem::create_directories(ModeFolder() / "General" / "AAA");
  test::WriteFile(ModeFolder() / "General/AAA/GNDR00001.AAA", std::string(100000, 'x'));
  Run(0, 8);
  EXPECT_EQ(Carved("General/AAA/GNDR00001.AAA"), Sectors(4, 8));
}

TEST_F(CarvingEngineTest, StopClosesThePendingFileWithWhatItHasAndKeepsTheOthers) {
  MakeMedium(2048);
  SetDefinitions();
  Put(3, "A1A2A3A4");
  Put(300, "A1A2A3A4");
  plan_->on_read = [this](std::uint64_t offset) {
    if (offset == 1024 * 512) stop_.Request();  // while the third chunk is read
  };
  Run(0, 2048, /*thorough=*/true);
  EXPECT_THAT(Files(), ElementsAre("General/AAA/GNDR00001.AAA", "General/AAA/GNDR00002.AAA"));
  EXPECT_EQ(Carved("General/AAA/GNDR00002.AAA"), Sectors(300, 1024));
  EXPECT_TRUE(stop_.Requested());
  EXPECT_FALSE(Exists("Omitted/AAA")) << "no Thorough pass after a stop";
}

TEST_F(CarvingEngineTest, AFolderThatCannotBeMadeEndsTheSearchWithTheSaveMessage) {
  MakeMedium(64);
  SetDefinitions();
  Put(4, "A1A2A3A4");
  Put(8, "B1B2B3", 5);
  std::filesystem::create_directories(ModeFolder() / "General");
  test::WriteFile(ModeFolder() / "General/BBB", "a file where the folder should be");
  Run(0, 64);
  EXPECT_THAT(ui_.Messages(), ElementsAre(std::string(kSaveFailureText)));
  EXPECT_TRUE(stop_.Requested());
  EXPECT_EQ(Carved("General/AAA/GNDR00001.AAA"), Sectors(4, 8));
}

TEST_F(CarvingEngineTest, AWriteThatFailsEndsTheSearchInsteadOfGoingOnQuietly) {
  MakeMedium(2048);
  SetDefinitions();
  Put(0, "A1A2A3A4");
  // A destination that is full after 100,000 bytes of one file.
  std::signal(SIGXFSZ, SIG_IGN);
  rlimit previous{};
  ::getrlimit(RLIMIT_FSIZE, &previous);
  rlimit small = previous;
  small.rlim_cur = 100000;
  ::setrlimit(RLIMIT_FSIZE, &small);
  Run(0, 2048);
  ::setrlimit(RLIMIT_FSIZE, &previous);
  EXPECT_THAT(ui_.Messages(), ElementsAre(std::string(kSaveFailureText)));
  EXPECT_TRUE(stop_.Requested());
  EXPECT_THAT(ui_.Events(), ::testing::Contains("thumbnail: GNDR00001.AAA"));
}

// Read failures: the range ends far beyond the medium so that a failed chunk is not "near the end".
class ReadFailureTest : public CarvingEngineTest {
 protected:
  static constexpr std::uint64_t kFarEnd = 2048 + kQuietFailureSectors;
  void SetUp() override {
    MakeMedium(2048);
    SetDefinitions();
    Put(100, "A1A2A3A4");   // first chunk
    Put(700, "B1B2B3", 5);  // second chunk, with a bad sector after it
    Put(1100, "A1A2A3A4");  // third chunk
  }
};

TEST_F(ReadFailureTest, RetryRereadsTheChunkAndZerosOnlyTheSectorsThatCannotBeRead) {
  plan_->bad_sectors = {{710, 712}};
  ui_.AnswerMediaRemoved({{.retry = true, .apply_until_done = false}});
  Run(0, kFarEnd);
  EXPECT_THAT(ui_.Events(), ElementsAre("media-removed", "thumbnail: GNDR00001.AAA", "thumbnail: GNDR00002.BBB",
                                        "thumbnail: GNDR00003.AAA"));
  std::string expected = Sectors(700, 1100);
  std::fill(expected.begin() + 10 * 512, expected.begin() + 12 * 512, '\0');
  EXPECT_EQ(Carved("General/BBB/GNDR00002.BBB"), expected);
  EXPECT_FALSE(stop_.Requested());
}

TEST_F(ReadFailureTest, CancelStopsTheSearchAndKeepsWhatWasWritten) {
  plan_->bad_sectors = {{710, 712}};
  ui_.AnswerMediaRemoved({{.retry = false, .apply_until_done = false}});
  Run(0, kFarEnd, /*thorough=*/true);
  EXPECT_THAT(ui_.Events(), ElementsAre("media-removed", "thumbnail: GNDR00001.AAA"));
  EXPECT_EQ(Carved("General/AAA/GNDR00001.AAA"), Sectors(100, 512));
  EXPECT_TRUE(stop_.Requested());
}

TEST_F(ReadFailureTest, RetryForTheRestOfThePassAsksOnceAndAgainInTheNextPass) {
  plan_->bad_sectors = {{600, 601}, {1500, 1501}};
  ui_.AnswerMediaRemoved({{.retry = true, .apply_until_done = true}, {.retry = false, .apply_until_done = false}});
  Run(0, kFarEnd, /*thorough=*/true);
  const auto events = ui_.Events();
  EXPECT_EQ(std::count(events.begin(), events.end(), "media-removed"), 2);
  EXPECT_TRUE(stop_.Requested());  // cancelled in the Thorough pass
}

TEST_F(ReadFailureTest, AFailureNearTheEndSkipsTheChunkWithoutAsking) {
  plan_->bad_sectors = {{1030, 1031}};
  Run(0, 2048);
  EXPECT_THAT(ui_.Events(), ElementsAre("thumbnail: GNDR00001.AAA", "thumbnail: GNDR00002.BBB"));
  // The skipped third chunk gives neither data nor its signature.
  EXPECT_EQ(Carved("General/BBB/GNDR00002.BBB"), Sectors(700, 1024) + Sectors(1536, 2048));
}

TEST_F(ReadFailureTest, ADeviceThatDisappearsIsAskedAboutThenReadAsZeros) {
  plan_->gone_after_reads = 1;
  ui_.AnswerMediaRemoved({{.retry = true, .apply_until_done = true}});
  Run(0, kFarEnd);
  EXPECT_THAT(ui_.Events(), ElementsAre("media-removed", "thumbnail: GNDR00001.AAA"));
  const std::string carved = Carved("General/AAA/GNDR00001.AAA");
  // Zeros after the first chunk, in whole chunks while they keep it within its maximum of 1 MiB.
  ASSERT_EQ(carved.size(), 412u * 512 + 3 * kChunkBytes);
  EXPECT_EQ(carved.substr(0, 412 * 512), Sectors(100, 512));
  EXPECT_EQ(carved.substr(412 * 512), std::string(3 * kChunkBytes, '\0'));
}

TEST_F(ReadFailureTest, ADeviceMissingAtTheStartIsAskedAboutAndCancelEndsThePass) {
  plan_->gone = true;
  Run(0, kFarEnd, /*thorough=*/true);  // no scripted answer: Cancel
  EXPECT_THAT(ui_.Events(), ElementsAre("media-removed"));
  EXPECT_TRUE(stop_.Requested());
  EXPECT_THAT(Files(), IsEmpty());
}

}  // namespace
}  // namespace pellora
