#include "fat/directory_entry.hpp"

#include <array>
#include <vector>

#include "common/byte_reader.hpp"
#include "common/text.hpp"

namespace pellora {

namespace {

// Offsets of the 13 UTF-16 units in a long-name entry.
constexpr std::array<std::size_t, 13> kLongNameUnits = {1, 3, 5, 7, 9, 14, 16, 18, 20, 22, 24, 28, 30};
constexpr std::size_t kMaxLongNameUnits = 255;

bool AcceptedAttribute(std::uint8_t attr, EntryMode mode) {
  if (mode == EntryMode::kFiles) return (attr >= 1 && attr <= 3) || (attr >= 16 && attr <= 32);
  return (attr % 2 == 1 && attr <= 13) || (attr >= 16 && attr <= 31);
}

}  // namespace

bool IsValidShortName(std::string_view name_utf8) {
  for (char32_t point : Utf8CodePoints(name_utf8)) {
    // Bytes 0x80..0xFF are legal in 8.3 names: every system writes them for accented long names.
    if (point >= 1 && point <= 31) return false;
    switch (point) {
      case '"':
      case '\\':
      case '/':
      case '?':
      case '*':
      case '<':
      case '>':
      case '|':
      case ':':
        return false;
      default:
        break;
    }
  }
  return true;
}

std::uint8_t ShortNameChecksum(std::span<const std::byte> name11) {
  std::uint8_t sum = 0;
  for (std::size_t i = 0; i < 11 && i < name11.size(); ++i)
    sum = static_cast<std::uint8_t>(((sum & 1) << 7) + (sum >> 1) + static_cast<std::uint8_t>(name11[i]));
  return sum;
}

namespace {

// The first byte of a deleted 8.3 name is lost (0xE5 took its place), and every value of it gives
// a different checksum, so the checksum names the byte that was there. The long name belongs to the
// entry when that byte could begin an 8.3 name and, when the long name starts with a plain letter
// or digit, is that character in upper case (how every system derives the 8.3 name).
bool DeletedChecksumFits(std::span<const std::byte> name11, std::uint8_t checksum, char16_t first_unit) {
  std::uint8_t sum = checksum;
  for (std::size_t i = 10; i >= 1; --i) {
    sum = static_cast<std::uint8_t>(sum - static_cast<std::uint8_t>(name11[i]));
    sum = static_cast<std::uint8_t>((sum << 1) | (sum >> 7));
  }
  const std::uint8_t first = sum;
  if (first < 0x20 || first == 0xE5 || (first >= 'a' && first <= 'z')) return false;
  if (std::string_view(" \"*+,./:;<=>?[\\]|").find(static_cast<char>(first)) != std::string_view::npos) return false;
  const bool plain = (first_unit >= u'A' && first_unit <= u'Z') || (first_unit >= u'a' && first_unit <= u'z') ||
                     (first_unit >= u'0' && first_unit <= u'9');
  if (!plain) return true;
  const int upper = (first_unit >= u'a' && first_unit <= u'z') ? first_unit - u'a' + u'A' : first_unit;
  return first == upper;
}

}  // namespace

std::string FindLongName(std::span<const std::byte> sector_bytes, std::size_t entry_offset, std::uint64_t sector,
                         const PreviousSectorReader& read_previous) {
  if (!Fits(sector_bytes, entry_offset, kDirectoryEntrySize)) return {};
  const auto name11 = sector_bytes.subspan(entry_offset, 11);
  const bool deleted = Le8(sector_bytes, entry_offset) == 0xE5;
  // A live entry's long-name parts all carry the checksum of its 8.3 name; parts with another one
  // were left by a file deleted or renamed before, and name some other file.
  std::optional<std::uint8_t> checksum;
  if (!deleted) checksum = ShortNameChecksum(name11);
  std::array<std::byte, 512> previous{};
  std::span<const std::byte> bytes = sector_bytes;
  std::uint64_t at_sector = sector;
  auto offset = static_cast<std::int64_t>(entry_offset);
  std::vector<std::uint16_t> units;
  for (std::uint8_t sequence = 1;; ++sequence) {
    offset -= static_cast<std::int64_t>(kDirectoryEntrySize);
    if (offset < 0) {
      // The name begins in the directory's sector before; one that cannot be read ends the name.
      const auto before = read_previous ? read_previous(at_sector, previous) : std::nullopt;
      if (!before) break;
      bytes = previous;
      at_sector = *before;
      offset = 512 - static_cast<std::int64_t>(kDirectoryEntrySize);
    }
    const auto slot = static_cast<std::size_t>(offset);
    if (!Fits(bytes, slot, kDirectoryEntrySize) || Le8(bytes, slot + 11) != kLongNameAttribute) break;
    if (units.size() > kMaxLongNameUnits) break;
    const std::uint8_t part_checksum = Le8(bytes, slot + 13);
    if (!checksum) checksum = part_checksum;  // deleted: the parts must agree with one another
    if (part_checksum != *checksum) break;
    for (std::size_t unit : kLongNameUnits) units.push_back(Le16(bytes, slot + unit));
    if (Le8(bytes, slot) == 0x40 + sequence) break;  // the first part of the name was stored last
    if (sequence == 0xFF) break;
  }
  if (deleted && (units.empty() || !DeletedChecksumFits(name11, *checksum, static_cast<char16_t>(units[0])))) return {};
  std::string utf16;
  for (std::uint16_t unit : units) {
    if (unit == 0) break;
    utf16.push_back(static_cast<char>(unit & 0xFF));
    utf16.push_back(static_cast<char>(unit >> 8));
  }
  return Utf16LeToUtf8(utf16);
}

DirectoryEntry ParseDirectoryEntry(std::span<const std::byte> sector_bytes, std::size_t index, std::uint64_t sector,
                                   bool fat32, bool skip_folders, EntryMode mode, std::uint64_t read_limit_bytes,
                                   const PreviousSectorReader& read_previous) {
  DirectoryEntry entry;
  const std::size_t offset = index * kDirectoryEntrySize;
  if (!Fits(sector_bytes, offset, kDirectoryEntrySize)) return entry;
  const auto raw = sector_bytes.subspan(offset, kDirectoryEntrySize);
  const std::uint8_t first = Le8(raw, 0);
  if (first == 0x00) {
    entry.end_of_directory = true;
    return entry;
  }
  entry.attr = Le8(raw, 11);
  entry.first_cluster = fat32 ? (std::uint32_t{Le16(raw, 20)} << 16) | Le16(raw, 26) : Le16(raw, 26);
  entry.size = Le32(raw, 28);
  entry.time = Le16(raw, 22);
  entry.date = Le16(raw, 24);

  if (first == '.' && Le8(raw, 3) == ' ') return entry;  // "." and ".."
  if (entry.attr == kLongNameAttribute || (entry.attr > 0x20 && entry.attr < 0x80)) return entry;
  if (skip_folders && (entry.attr & kDirectoryAttribute) != 0) return entry;
  if (mode == EntryMode::kFiles && entry.size > read_limit_bytes) return entry;
  if (!AcceptedAttribute(entry.attr, mode)) return entry;

  std::string short_bytes;
  // Names typed in lower case are stored upper-case with a flag per part (byte 12) instead of a
  // long name; honour it so "notes.txt" does not come back as "NOTES.TXT".
  const std::uint8_t case_flags = Le8(raw, 12);
  auto append_part = [&](std::size_t from, std::size_t to, bool lower) {
    for (std::size_t i = from; i < to; ++i) {
      const auto c = static_cast<char>(Le8(raw, i));
      if (c != ' ') short_bytes.push_back(lower && c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c);
    }
  };
  append_part(0, 8, (case_flags & 0x08) != 0);
  if (Le8(raw, 8) != ' ') {
    short_bytes.push_back('.');
    append_part(8, 11, (case_flags & 0x10) != 0);
  }
  if (!short_bytes.empty() && static_cast<unsigned char>(short_bytes[0]) == 0xE5) {
    entry.deleted = true;
    short_bytes[0] = '_';
  }
  const std::string short_name = Cp1252ToUtf8(short_bytes);
  // A slot whose name is all blanks names nothing; it is damage, not a file.
  if (short_bytes.empty() || short_bytes == "." || !IsValidShortName(short_name)) return entry;

  entry.short_name = short_name;
  std::string long_name = FindLongName(sector_bytes, offset, sector, read_previous);
  if (long_name.empty()) {
    entry.name = short_name;
  } else {
    const std::size_t dot = short_name.rfind('.');
    if (long_name.find('.') == std::string::npos && dot != std::string::npos) long_name += short_name.substr(dot);
    entry.name = std::move(long_name);
  }
  entry.accepted = true;
  return entry;
}

}  // namespace pellora
