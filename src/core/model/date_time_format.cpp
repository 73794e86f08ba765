#include "model/date_time_format.hpp"

#include <array>
#include <charconv>
#include <cstdio>

namespace pellora {

namespace {

constexpr std::array<const char*, 12> kMonths = {"JAN", "FEB", "MAR", "APR", "MAY", "JUN",
                                                 "JUL", "AUG", "SEP", "OCT", "NOV", "DEC"};

std::string DateText(unsigned day, unsigned month, unsigned year) {
  const char* month_text = (month >= 1 && month <= 12) ? kMonths[month - 1] : "ERR";
  char text[32];
  std::snprintf(text, sizeof text, "%02u-%s-%u", day, month_text, year);
  return text;
}

std::string TimeText(unsigned hours, unsigned minutes, unsigned seconds) {
  char text[32];
  std::snprintf(text, sizeof text, "%02u:%02u:%02u", hours, minutes, seconds);
  return text;
}

}  // namespace

std::string FormatFatDate(std::uint16_t date_word) {
  return DateText(date_word & 0x1Fu, (date_word >> 5) & 0x0Fu, (date_word >> 9) + 1980u);
}

std::string FormatFatTime(std::uint16_t time_word) {
  return TimeText(time_word >> 11, (time_word >> 5) & 0x3Fu, (time_word & 0x1Fu) * 2u);
}

std::uint32_t DateOrder(std::string_view date_text) {
  // "05-FEB-2014": two digits, a dash, three letters, a dash, the year.
  const auto digits = [](std::string_view text, std::uint32_t& value) {
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() && end == text.data() + text.size();
  };
  std::uint32_t day = 0;
  std::uint32_t year = 0;
  if (date_text.size() < 8 || date_text[2] != '-' || date_text[6] != '-' || !digits(date_text.substr(0, 2), day) ||
      !digits(date_text.substr(7), year) || year > 400'000)
    return 0;
  std::uint32_t month = 0;
  for (std::size_t m = 0; m < kMonths.size(); ++m)
    if (date_text.substr(3, 3) == kMonths[m]) month = static_cast<std::uint32_t>(m + 1);
  return year * 10'000 + month * 100 + day;
}

DateTimeText FormatFileTime(std::uint64_t filetime) {
  // 100-ns intervals between 1601-01-01 and 1970-01-01.
  constexpr std::uint64_t kUnixEpoch = 116444736000000000ull;
  constexpr std::int64_t kPerSecond = 10000000;
  const std::int64_t seconds = filetime >= kUnixEpoch
                                   ? static_cast<std::int64_t>((filetime - kUnixEpoch) / kPerSecond)
                                   : -static_cast<std::int64_t>((kUnixEpoch - filetime + kPerSecond - 1) / kPerSecond);
  const auto when = static_cast<std::time_t>(seconds);
  std::tm utc{};
  if (gmtime_r(&when, &utc) == nullptr) return {DateText(0, 0, 0), TimeText(0, 0, 0)};
  return {DateText(static_cast<unsigned>(utc.tm_mday), static_cast<unsigned>(utc.tm_mon + 1),
                   static_cast<unsigned>(utc.tm_year + 1900)),
          TimeText(static_cast<unsigned>(utc.tm_hour), static_cast<unsigned>(utc.tm_min),
                   static_cast<unsigned>(utc.tm_sec))};
}

std::uint16_t FatStyleTimeWord(std::time_t now) {
  std::tm local{};
  if (localtime_r(&now, &local) == nullptr) return 0;
  return static_cast<std::uint16_t>((local.tm_hour << 11) | (local.tm_min << 5) | local.tm_sec);
}

}  // namespace pellora
