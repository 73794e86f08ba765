#include "app/carving_modes.hpp"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "app/search_selection.hpp"
#include "support/scripted_ui.hpp"
#include "support/temp_dir.hpp"

namespace pellora {
namespace {

using ::testing::ElementsAre;

class CarvingModesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    auto bytes = test::PatternBytes(2048 * 512);
    const std::uint8_t jpeg[] = {0xFF, 0xD8, 0xFF, 0xE0};
    for (std::size_t i = 0; i < 4; ++i) bytes[100 * 512 + i] = static_cast<std::byte>(jpeg[i]);
    test::WriteBytes(dir_ / "card.img", bytes);
    request_.range = {app_.devices.AttachDiskImage(dir_ / "card.img"), 0, 2048};
    request_.destination = dir_.Path();
    app_.mode.Set(SearchMode::kPhoto);
    app_.photo_definitions.general.Add(
        ParseDefinitionEntry("Extension:.JPG", "Maximum Size:67108864", "Signature:FFD8FFE0", "Position:1"));
  }
  test::TempDir dir_;
  test::ScriptedUi ui_;
  Program app_{ui_};
  CarvingRequest request_;
};

TEST_F(CarvingModesTest, PhotoSearchWritesUnderPelloraAndEndsWithTheEndMessage) {
  const CarvingReport report = RunPhotoSearch(app_, request_);
  EXPECT_TRUE(report.started);
  EXPECT_FALSE(report.stopped);
  EXPECT_EQ(report.mode_folder, dir_ / "Pellora" / "Photo Search");
  EXPECT_TRUE(std::filesystem::exists(report.mode_folder / "General/JPG/GNDR00001.JPG"));
  EXPECT_THAT(ui_.Events(), ElementsAre("thumbnail: GNDR00001.JPG",
                                        "end: Searching of files in specified disk sectors is completed."));
  EXPECT_EQ(ui_.LastText(UiText::kHint), kCarvingFinishHint);
}

TEST_F(CarvingModesTest, AStoppedSearchSaysSoAndTheNextStartsUnstopped) {
  request_.range.end_sector = 2048 + kQuietFailureSectors;      // so that the failing read is asked about
  std::filesystem::remove(dir_ / "card.img");                   // the card is pulled out
  const CarvingReport report = RunPhotoSearch(app_, request_);  // media-removed: Cancel
  EXPECT_TRUE(report.stopped);
  EXPECT_THAT(ui_.Events(),
              ElementsAre("media-removed", "end: Searching of files in specified disk sectors is stopped."));
  CarvingRequest empty = request_;
  empty.range.end_sector = empty.range.start_sector;  // nothing to read: the next search ends at once
  EXPECT_FALSE(RunPhotoSearch(app_, empty).stopped);
}

TEST_F(CarvingModesTest, ChecksBeforeAndAtTheStartOfTheWorker) {
  request_.destination = dir_ / "missing";
  EXPECT_FALSE(RunPhotoSearch(app_, request_).started);
  request_.destination = dir_.Path();
  request_.range.start_sector = 2048;
  EXPECT_TRUE(RunPhotoSearch(app_, request_).started);
  TypeChecklist nothing_ticked;
  nothing_ticked.Insert(0, {"MP4", "MPEG-4 video", false});
  EXPECT_FALSE(
      RunSignatureSearch(app_, SignatureKindFor(app_.definition_paths, SearchMode::kVideo), nothing_ticked, request_)
          .started);
  EXPECT_THAT(ui_.Messages(), ElementsAre(std::string(kDestinationMissingText), std::string(kEndNotAfterStartText),
                                          std::string(kNoTypeTickedText)));
}

}  // namespace
}  // namespace pellora
