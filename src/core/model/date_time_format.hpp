#pragma once

#include <cstdint>
#include <ctime>
#include <string>
#include <string_view>

namespace pellora {

// Display forms of the file list: "05-FEB-2014" and "09:05:32".
std::string FormatFatDate(std::uint16_t date_word);  // year-1980 bits 9-15, month 5-8, day 0-4
std::string FormatFatTime(std::uint16_t time_word);  // hours bits 11-15, minutes 5-10, seconds/2 0-4

struct DateTimeText {
  std::string date;
  std::string time;
};
// The calendar order of a date in its display form: year, month, day as one number (0 for a text
// that is not such a date; an unknown month counts as month 0). Times sort as their text.
std::uint32_t DateOrder(std::string_view date_text);

// An NTFS FILETIME (100 ns since 1601) in the same two forms, as UTC.
DateTimeText FormatFileTime(std::uint64_t filetime);

// The current local time as a FAT-style time word, seconds not halved (the miscellaneous folder's).
std::uint16_t FatStyleTimeWord(std::time_t now);

}  // namespace pellora
