#include "model/date_time_format.hpp"

#include <gtest/gtest.h>

#include "support/temp_dir.hpp"

namespace pellora {
namespace {

TEST(DateTimeFormat, FatWords) {
  // 5 Feb 2014: year 34, month 2, day 5.
  EXPECT_EQ(FormatFatDate(static_cast<std::uint16_t>((34 << 9) | (2 << 5) | 5)), "05-FEB-2014");
  EXPECT_EQ(FormatFatDate(static_cast<std::uint16_t>((46 << 9) | (0 << 5) | 9)), "09-ERR-2026");
  EXPECT_EQ(FormatFatDate(static_cast<std::uint16_t>((46 << 9) | (13 << 5) | 9)), "09-ERR-2026");
  EXPECT_EQ(FormatFatDate(0), "00-ERR-1980");
  EXPECT_EQ(FormatFatTime(static_cast<std::uint16_t>((9 << 11) | (5 << 5) | 16)), "09:05:32");
  EXPECT_EQ(FormatFatTime(0), "00:00:00");
  EXPECT_EQ(FormatFatTime(0xFFFF), "31:63:62");  // shown as stored, even when no clock reads so
}

// The file list sorts dates by the calendar, not by their text ("05-FEB-2014" < "01-MAR-2014").
TEST(DateTimeFormat, DatesOrderByTheCalendar) {
  const std::vector<std::string> in_order = {"31-DEC-1979", "00-ERR-1980", "05-FEB-2014", "28-FEB-2014",
                                             "01-MAR-2014", "01-JAN-2026", "09-DEC-2026"};
  for (std::size_t i = 1; i < in_order.size(); ++i)
    EXPECT_LT(DateOrder(in_order[i - 1]), DateOrder(in_order[i])) << in_order[i - 1] << " " << in_order[i];
  EXPECT_EQ(DateOrder(FormatFileTime(0).date), 16010101u);
  for (const char* text : {"", "not a date", "5-FEB-2014", "05-FEB-20x4", "05/FEB/2014"})
    EXPECT_EQ(DateOrder(text), 0u);
}

TEST(DateTimeFormat, FileTimeIsShownAsUtc) {
  const test::ScopedEnv elsewhere("TZ", "America/New_York");
  // 2026-12-09 22:34:39 UTC.
  const std::uint64_t filetime = (1796855679ull * 10000000ull) + 116444736000000000ull;
  const DateTimeText text = FormatFileTime(filetime);
  EXPECT_EQ(text.date, "09-DEC-2026");
  EXPECT_EQ(text.time, "22:34:39");
  EXPECT_EQ(FormatFileTime(0).date, "01-JAN-1601");
}

TEST(DateTimeFormat, MiscellaneousTimeKeepsWholeSeconds) {
  const test::ScopedEnv utc("TZ", "UTC");
  EXPECT_EQ(FatStyleTimeWord(1796855679), (22 << 11) | (34 << 5) | 39);
}

}  // namespace
}  // namespace pellora
