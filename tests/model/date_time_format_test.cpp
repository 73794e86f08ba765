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
