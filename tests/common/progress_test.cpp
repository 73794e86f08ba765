#include "common/progress.hpp"

#include <gtest/gtest.h>

#include "support/scripted_ui.hpp"

namespace pellora {
namespace {

TEST(Progress, SmallRangesStepTheBarAndStopAtItsEnd) {
  test::ScriptedUi ui;
  ProgressBar bar(&ui);
  bar.SetRange(1000, 2200, 512);  // 1,200 sectors in chunks of 512
  EXPECT_FALSE(bar.PercentMode());
  EXPECT_EQ(bar.Maximum(), 1200);
  EXPECT_EQ(bar.Position(), 0);
  bar.Advance(1000, 2200, 1000, 512);
  EXPECT_EQ(bar.Position(), 512);
  bar.Advance(1000, 2200, 1512, 512);
  EXPECT_EQ(bar.Position(), 1024);
  bar.Advance(1000, 2200, 2024, 512);  // would pass the end: set to the end
  EXPECT_EQ(bar.Position(), 1200);
  bar.Advance(1000, 2200, 2024, 512);
  EXPECT_EQ(bar.Position(), 1200);
  EXPECT_EQ(ui.LastProgress(), 1200);
  EXPECT_EQ(ui.LastMaximum(), 1200);
}

TEST(Progress, PercentModeFromTheThresholdOn) {
  struct Case {
    std::uint64_t span;
    bool percent;
  };
  for (const Case c : {Case{2147483646, false}, Case{2147483647, true}, Case{std::uint64_t{1} << 40, true}}) {
    ProgressBar bar;
    bar.SetRange(7, 7 + c.span, 512);
    EXPECT_EQ(bar.PercentMode(), c.percent) << c.span;
    EXPECT_EQ(bar.Maximum(), c.percent ? 100 : static_cast<std::int64_t>(c.span));
  }
}

TEST(Progress, PercentModeNeverMovesBackWithinARun) {
  ProgressBar bar;
  const std::uint64_t start = 100;
  const std::uint64_t end = start + 4'000'000'000ull;
  bar.SetRange(start, end, 512);
  bar.Advance(start, end, start + 2'000'000'000ull, 512);
  EXPECT_EQ(bar.Position(), 50);
  bar.Advance(start, end, start + 400'000'000ull, 512);  // the position went back
  EXPECT_EQ(bar.Position(), 50);
  bar.Advance(start, end, start - 50, 512);  // even before the start
  EXPECT_EQ(bar.Position(), 50);
  bar.Advance(start, end, start + 3'000'000'000ull, 512);
  EXPECT_EQ(bar.Position(), 75);
  bar.Advance(start, end, end + 5, 512);
  EXPECT_EQ(bar.Position(), 100);

  bar.SetRange(start, end, 512);  // a new run starts from 0
  bar.Advance(start, end, start + 400'000'000ull, 512);
  EXPECT_EQ(bar.Position(), 10);
}

TEST(Progress, LoadingWindowStepsByTwoPerTick) {
  ProgressBar bar;
  bar.SetRange(0, 100, 2);
  for (std::uint64_t tick = 0; tick < 10; ++tick) bar.Advance(0, 100, tick, 1);
  EXPECT_EQ(bar.Position(), 20);
}

}  // namespace
}  // namespace pellora
