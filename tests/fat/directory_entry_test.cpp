#include "fat/directory_entry.hpp"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <vector>

#include "support/memory_disk.hpp"

namespace pellora {
namespace {

using test::PutLe;
using test::PutText;

// A directory sector under construction.
struct Sector {
  std::vector<std::byte> bytes = std::vector<std::byte>(512);

  // An 11-byte 8.3 field, attribute, first cluster (high and low words), size, date, time.
  void Short(std::size_t slot, std::string_view name11, std::uint8_t attr, std::uint32_t cluster = 5,
             std::uint32_t size = 100) {
    const std::size_t at = slot * 32;
    PutText(bytes, at, name11);
    PutLe(bytes, at + 11, attr, 1);
    PutLe(bytes, at + 20, cluster >> 16, 2);
    PutLe(bytes, at + 26, cluster & 0xFFFF, 2);
    PutLe(bytes, at + 28, size, 4);
    PutLe(bytes, at + 22, 0x4BA0, 2);
    PutLe(bytes, at + 24, 0x5CE1, 2);
  }
  // A long-name entry holding up to 13 characters of the name of the 8.3 entry `owner11`.
  void Long(std::size_t slot, std::uint8_t sequence_byte, std::u16string_view part, std::string_view owner11) {
    static constexpr std::size_t kUnits[] = {1, 3, 5, 7, 9, 14, 16, 18, 20, 22, 24, 28, 30};
    const std::size_t at = slot * 32;
    PutLe(bytes, at, sequence_byte, 1);
    PutLe(bytes, at + 11, 0x0F, 1);
    PutLe(bytes, at + 13, ShortNameChecksum(std::as_bytes(std::span(owner11.data(), owner11.size()))), 1);
    for (std::size_t i = 0; i < 13; ++i)
      PutLe(bytes, at + kUnits[i], i < part.size() ? part[i] : (i == part.size() ? 0 : 0xFFFF), 2);
  }
};

DirectoryEntry Parse(const Sector& sector, std::size_t slot, EntryMode mode = EntryMode::kFiles,
                     bool skip_folders = false, bool fat32 = true, const PreviousSectorReader& previous = {}) {
  return ParseDirectoryEntry(sector.bytes, slot, 1000, fat32, skip_folders, mode, 1 << 30, previous);
}

TEST(DirectoryEntry, ShortNamesDropEverySpace) {
  Sector sector;
  sector.Short(0, "A B C   T T", 0x20);
  sector.Short(1, "README     ", 0x20);
  EXPECT_EQ(Parse(sector, 0).name, "ABC.TT");
  EXPECT_EQ(Parse(sector, 1).name, "README");
  EXPECT_TRUE(Parse(sector, 2).end_of_directory);
}

TEST(DirectoryEntry, LowerCaseFlagsOfShortNames) {
  Sector sector;
  for (std::size_t slot = 0; slot < 4; ++slot) {
    sector.Short(slot, "NOTES   TXT", 0x20);
    test::PutLe(sector.bytes, slot * 32 + 12, slot * 0x08, 1);  // 0, base, extension, both
  }
  EXPECT_EQ(Parse(sector, 0).name, "NOTES.TXT");
  EXPECT_EQ(Parse(sector, 1).name, "notes.TXT");
  EXPECT_EQ(Parse(sector, 2).name, "NOTES.txt");
  EXPECT_EQ(Parse(sector, 3).name, "notes.txt");
  EXPECT_EQ(Parse(sector, 3).short_name, "notes.txt");
}

TEST(DirectoryEntry, AttributesDecideWhatEachModeTakes) {
  struct Case {
    std::uint8_t attr;
    bool file_mode;
    bool folder_mode;
  };
  const std::vector<Case> cases = {
      {0x00, false, false}, {0x01, true, true},   {0x02, true, false},  {0x03, true, true},   {0x05, false, true},
      {0x08, false, false}, {0x0F, false, false}, {0x10, true, true},   {0x16, true, true},   {0x1F, true, true},
      {0x20, true, false},  {0x21, false, false}, {0x30, false, false}, {0x80, false, false}, {0xF0, false, false},
  };
  for (const Case& c : cases) {
    Sector sector;
    sector.Short(0, "NAME    EXT", c.attr);
    EXPECT_EQ(Parse(sector, 0, EntryMode::kFiles).accepted, c.file_mode) << int{c.attr};
    EXPECT_EQ(Parse(sector, 0, EntryMode::kFolders).accepted, c.folder_mode) << int{c.attr};
  }
  Sector folder;
  folder.Short(0, "DCIM       ", 0x10);
  EXPECT_FALSE(Parse(folder, 0, EntryMode::kFiles, /*skip_folders=*/true).accepted);
  Sector dots;
  dots.Short(0, ".          ", 0x10);
  dots.Short(1, "..         ", 0x10);
  EXPECT_FALSE(Parse(dots, 0, EntryMode::kFolders).accepted);
  EXPECT_FALSE(Parse(dots, 1, EntryMode::kFolders).accepted);
}

TEST(DirectoryEntry, FieldsAndClusterWordsByFileSystem) {
  Sector sector;
  sector.Short(0, "IMG_0001JPG", 0x20, 0x00030005, 226792);
  const DirectoryEntry fat32 = Parse(sector, 0);
  EXPECT_EQ(fat32.first_cluster, 0x00030005u);
  EXPECT_EQ(fat32.size, 226792u);
  EXPECT_EQ(fat32.date, 0x5CE1);
  EXPECT_EQ(fat32.time, 0x4BA0);
  EXPECT_EQ(Parse(sector, 0, EntryMode::kFiles, false, /*fat32=*/false).first_cluster, 5u);
  // A file larger than the medium can hold is no file.
  EXPECT_FALSE(ParseDirectoryEntry(sector.bytes, 0, 1000, true, false, EntryMode::kFiles, 1000, {}).accepted);
}

TEST(DirectoryEntry, DeletedEntriesKeepTheirLongNames) {
  Sector sector;
  sector.Long(0, 0xE5, u"s.jpg", "HAPPYB~1JPG");
  sector.Long(1, 0xE5, u"y cake candle", "HAPPYB~1JPG");
  sector.Long(2, 0xE5, u"Happy birthda", "HAPPYB~1JPG");  // next to the short entry: the first 13 units
  sector.Short(3,
               "\xE5"
               "APPYB~1JPG",
               0x20);
  const DirectoryEntry entry = Parse(sector, 3);
  EXPECT_TRUE(entry.deleted);
  EXPECT_EQ(entry.short_name, "_APPYB~1.JPG");
  EXPECT_EQ(entry.name, "Happy birthday cake candles.jpg");
}

TEST(DirectoryEntry, LongNameRulesStopAtTheFirstPartAndKeepTheShortExtension) {
  Sector sector;
  sector.Long(0, 0x41, u"Notes", "NOTES   TXT");  // 0x40 + 1: the first part is also the last stored
  sector.Short(1, "NOTES   TXT", 0x20);
  sector.Long(2, 0x42, u"tail", "HEADPA~1TXT");  // 0x40 + 2 in the second slot back: the name's end
  sector.Long(3, 0x01, u"Head part one", "HEADPA~1TXT");
  sector.Short(4, "HEADPA~1TXT", 0x20);
  EXPECT_EQ(Parse(sector, 1).name, "Notes.TXT");  // no extension in the long name: the 8.3 one is added
  EXPECT_EQ(Parse(sector, 4).name, "Head part onetail.TXT");
}

TEST(DirectoryEntry, LongNameBeginningInThePreviousSector) {
  Sector previous;
  previous.Long(15, 0x41, u"Holiday 2026", "HOLIDA~1JPG");
  Sector sector;
  sector.Short(0, "HOLIDA~1JPG", 0x20);
  std::vector<std::uint64_t> asked;
  const PreviousSectorReader reader = [&](std::uint64_t at, std::span<std::byte> out) -> std::optional<std::uint64_t> {
    asked.push_back(at);
    std::copy(previous.bytes.begin(), previous.bytes.end(), out.begin());
    return 4242;  // a directory's previous cluster need not be the previous sector
  };
  EXPECT_EQ(Parse(sector, 0, EntryMode::kFiles, false, true, reader).name, "Holiday 2026.JPG");
  EXPECT_THAT(asked, ::testing::ElementsAre(1000u));
  const PreviousSectorReader unreadable = [](std::uint64_t, std::span<std::byte>) -> std::optional<std::uint64_t> {
    return std::nullopt;
  };
  EXPECT_EQ(Parse(sector, 0, EntryMode::kFiles, false, true, unreadable).name, "HOLIDA~1.JPG");
}

TEST(DirectoryEntry, OverlongChainsOfLongNameEntriesStopAt255Units) {
  Sector previous;
  for (std::size_t slot = 0; slot < 16; ++slot) previous.Long(slot, 0x01, u"ABCDEFGHIJKLM", "LONG    TXT");
  Sector sector;
  for (std::size_t slot = 0; slot < 15; ++slot) sector.Long(slot, 0x01, u"abcdefghijklm", "LONG    TXT");
  sector.Short(15, "LONG    TXT", 0x20);
  const PreviousSectorReader reader = [&](std::uint64_t at, std::span<std::byte> out) -> std::optional<std::uint64_t> {
    std::copy(previous.bytes.begin(), previous.bytes.end(), out.begin());
    return at - 1;
  };
  const DirectoryEntry entry = Parse(sector, 15, EntryMode::kFiles, false, true, reader);
  EXPECT_EQ(entry.name.size(), 20u * 13u + 4u);  // 20 entries taken (260 units), then ".TXT"
}

// Long-name parts left by a file deleted or renamed before name some other file: only parts whose
// checksum is that of the 8.3 name they precede are taken.
TEST(DirectoryEntry, LongNamesMustCarryTheChecksumOfTheirShortName) {
  EXPECT_EQ(ShortNameChecksum(std::as_bytes(std::span("HAPPYB~1JPG", 11))), 0x05);  // as mtools writes it
  Sector sector;
  sector.Long(0, 0xE5, u"Letter to gra", "LETTER~1TXT");  // a deleted file's name...
  sector.Short(1, "STALE   TXT", 0x20);                   // ...before an 8.3 name written later
  sector.Long(2, 0x41, u"Renamed.txt", "OLDNAME TXT");    // renamed by a program that keeps no long names
  sector.Short(3, "NEWNAME TXT", 0x20);
  sector.Long(4, 0xE5, u"second.txt", "SECOND  TXT");  // two deleted names in a row stay apart
  sector.Long(5, 0xE5, u"First.txt", "FIRST   TXT");
  sector.Short(6, "\xE5IRST   TXT", 0x20);
  EXPECT_EQ(Parse(sector, 1).name, "STALE.TXT");
  EXPECT_EQ(Parse(sector, 3).name, "NEWNAME.TXT");
  EXPECT_EQ(Parse(sector, 6).name, "First.txt");
  // A deleted 8.3 name whose lost first letter, told by the checksum, is not the long name's.
  Sector other;
  other.Long(0, 0xE5, u"Zebra.txt", "ZEBRA   TXT");
  other.Short(1, "\xE5XXXX   TXT", 0x20);
  EXPECT_EQ(Parse(other, 1).name, "_XXXX.TXT");
}

// mtools wrote this 8.3 name for "Ünïcödé naïve café.txt" (OEM code page bytes); the file must be
// listed, under its long name, and alone under its 8.3 name read in Windows-1252.
TEST(DirectoryEntry, ShortNamesWithBytesAbove127AreFiles) {
  const std::string accented =
      "\x9AN\xD8"
      "C\x99"
      "D~1TXT";
  Sector sector;
  sector.Long(0, 0x42, u" caf\u00E9.txt", accented);
  sector.Long(1, 0x01, u"\u00DCn\u00EFc\u00F6d\u00E9 na\u00EFve", accented);
  sector.Short(2, accented, 0x20);
  sector.Short(3, accented, 0x20);
  EXPECT_EQ(Parse(sector, 2).name, "\u00DCn\u00EFc\u00F6d\u00E9 na\u00EFve caf\u00E9.txt");
  EXPECT_EQ(Parse(sector, 2).short_name,
            "\u0161N\u00D8"
            "C\u2122"
            "D~1.TXT");
  EXPECT_EQ(Parse(sector, 3).name,
            "\u0161N\u00D8"
            "C\u2122"
            "D~1.TXT");
}

TEST(DirectoryEntry, ShortNamesWithForbiddenCharactersAreRefused) {
  for (const char* name11 :
       {"BAD?NAMETXT", "BAD\x01NAMETXT", "A:B     TXT", "A|B     TXT", "A*B     TXT", "           "}) {
    Sector sector;
    sector.Short(0, name11, 0x20);
    EXPECT_FALSE(Parse(sector, 0).accepted) << name11;
  }
  Sector euro;
  euro.Short(0, "\x80URO    TXT", 0x20);  // the euro sign lies above 255 once converted
  EXPECT_EQ(Parse(euro, 0).name,
            "\xE2\x82\xAC"
            "URO.TXT");
  EXPECT_TRUE(IsValidShortName("IMG_0001.JPG"));
}

}  // namespace
}  // namespace pellora
