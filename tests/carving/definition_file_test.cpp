#include "carving/definition_file.hpp"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "support/temp_dir.hpp"

namespace pellora {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;

std::string Entry(std::string_view extension, std::string_view max_size, std::string_view signature,
                  std::string_view position, std::string_view description = "Some file") {
  std::string text;
  text.append("Extension:").append(extension).append("\n");
  text.append("Maximum Size:").append(max_size).append("\n");
  text.append("Signature:").append(signature).append("\n");
  text.append("Position:").append(position).append("\n");
  text.append("Reserved:0\n");
  text.append("Description:").append(description).append("\n");
  return text;
}

std::vector<int> SignatureOf(const FileType1& record) {
  return {record.signature.begin(), record.signature.begin() + record.signatureLength};
}

TEST(DefinitionEntry, SignatureHexIsCutIntoPairsFromTheLeft) {
  struct Case {
    const char* hex;
    std::vector<int> bytes;
  };
  const std::vector<Case> cases = {
      {"FFD8FF", {255, 216, 255}},
      {"ffd8ff", {255, 216, 255}},
      {"FFD8F", {255, 216, 15}},  // an odd last digit is a byte by itself
      {"  FFD8  ", {255, 216}},
      {"ZZ1G", {0, 16}},  // other characters count as 0
      {"", {}},
  };
  for (const Case& c : cases) {
    const FileType1 record = ParseDefinitionEntry("E:.X", "M:1", std::string("S:") + c.hex, "P:1");
    EXPECT_EQ(SignatureOf(record), c.bytes) << c.hex;
    EXPECT_EQ(record.firstByte, c.bytes.empty() ? -1 : c.bytes[0]) << c.hex;
  }
  EXPECT_EQ(ParseDefinitionEntry("E:.X", "M:1", "S:ffd8", "P:1").signatureHex, "FFD8");
}

TEST(DefinitionEntry, ValuesComeAfterTheLastColonTrimmed) {
  const FileType1 a = ParseDefinitionEntry("Type: the ext:.JPG ", "Max: 1048576 bytes", "Sig:FFD8", "Position: 5");
  EXPECT_EQ(a.extension, ".JPG");
  EXPECT_EQ(a.TypeName(), "JPG");
  EXPECT_EQ(a.maxSize, "1048576 bytes");
  EXPECT_EQ(a.MaxSizeBytes(), 1048576);  // digits up to the first non-digit
  EXPECT_EQ(a.position, 5);
  const FileType1 b = ParseDefinitionEntry(".PNG", "", "89504E47", "5");
  EXPECT_EQ(b.extension, ".PNG");
  EXPECT_EQ(b.MaxSizeBytes(), 0);
  EXPECT_EQ(b.position, 5);
}

TEST(DefinitionLines, LinesEndAtLineFeedWithCarriageReturnDropped) {
  EXPECT_THAT(SplitDefinitionLines("a\r\nb\n\nc"), ElementsAre("a", "b", "", "c"));
  EXPECT_THAT(SplitDefinitionLines("a\n"), ElementsAre("a"));
  EXPECT_THAT(SplitDefinitionLines("a\rb\n"), ElementsAre("a\rb"));
}

class PhotoDefinitionFile : public ::testing::Test {
 protected:
  DefinitionLoad Load(std::string_view content, std::string_view set = "General") {
    test::WriteFile(dir_ / "QELExt2.dll", content);
    return LoadPhotoDefinitions(dir_ / "QELExt2.dll", set, photo_);
  }
  test::TempDir dir_;
  PhotoDefinitions photo_;
};

TEST_F(PhotoDefinitionFile, RecordsInFileOrderAndPositionsOnceInOrderOfFirstAppearance) {
  const auto load = Load(Entry(".JPG", "100", "FFD8FFE0", "1") + Entry(".HEIC", "200", "6674797068656963", "5") +
                         Entry(".JPG", "100", "FFD8FFE1", "1") + Entry(".TIF", "300", "492A00", "2") +
                         Entry(".CR3", "400", "66747970637278", "5"));
  ASSERT_TRUE(load.opened);
  EXPECT_TRUE(load.rejections.empty());
  const DefinitionSet& set = photo_.general;
  ASSERT_EQ(set.records.size(), 5u);
  EXPECT_EQ(set.records[3].extension, ".TIF");
  EXPECT_THAT(set.positions, ElementsAre(1, 5, 2));
  EXPECT_TRUE(photo_.advance.Empty());

  // Candidates come one after another in file order.
  EXPECT_EQ(FindNextDefinition(set, 1, 0xFF, std::nullopt), 0u);
  EXPECT_EQ(FindNextDefinition(set, 1, 0xFF, 0u), 2u);
  EXPECT_EQ(FindNextDefinition(set, 1, 0xFF, 2u), std::nullopt);
  EXPECT_EQ(FindNextDefinition(set, 5, 0x66, 1u), 4u);
  EXPECT_EQ(FindNextDefinition(set, 2, 0xFF, std::nullopt), std::nullopt);
}

TEST_F(PhotoDefinitionFile, AdvanceSetIsFilledSeparately) {
  Load(Entry(".JPG", "100", "FFD8FFDB", "1"), "Advance");
  EXPECT_TRUE(photo_.general.Empty());
  ASSERT_EQ(photo_.advance.records.size(), 1u);
}

TEST_F(PhotoDefinitionFile, BlankLineShiftsEveryFollowingEntry) {
  // The blank line becomes line 1 of entry 2, whose position is then read from "Signature:8950";
  // the description line left over starts a third entry that has no position at all.
  const auto load = Load(Entry(".JPG", "100", "FFD8", "1") + "\n" + Entry(".PNG", "200", "8950", "1"));
  ASSERT_EQ(photo_.general.records.size(), 1u);
  EXPECT_EQ(photo_.general.records[0].extension, ".JPG");
  ASSERT_EQ(load.rejections.size(), 2u);
  EXPECT_THAT(load.rejections[0], HasSubstr("entry 2 (lines 7-12): the signature at position 8950"));
  EXPECT_THAT(load.rejections[1], HasSubstr("entry 3 (lines 13-18, Some file): the position 0 is below 1"));
}

TEST_F(PhotoDefinitionFile, EntryCutShortByTheEndOfTheFileReadsEmptyLines) {
  Load(Entry(".JPG", "100", "FFD8", "1") + "Extension:.PNG\nMaximum Size:5\nSignature:89\nPosition:3");
  ASSERT_EQ(photo_.general.records.size(), 2u);
  EXPECT_EQ(photo_.general.records[1].position, 3);
  EXPECT_EQ(photo_.general.records[1].MaxSizeBytes(), 5);
}

TEST_F(PhotoDefinitionFile, UnusableEntriesAreLeftOutWithAMessageNamingFileAndEntry) {
  const std::string too_long(102, 'A');  // 51 bytes
  const auto load =
      Load(Entry(".OK1", "1", "FFD8", "1") + Entry(".LONG", "1", too_long, "1") + Entry(".ZERO", "1", "FFD8", "0") +
           Entry(".NEG", "1", "FFD8", "-4") + Entry(".OVER", "1", "0102030405", "509") +
           Entry(".EDGE", "1", "01020304", "509") + Entry(".MAX", "1", std::string(100, 'B'), "1") +
           Entry(".HUGE", "1", "01020304", "2147483646"));
  ASSERT_TRUE(load.opened);
  std::vector<std::string> kept;
  for (const FileType1& record : photo_.general.records) kept.push_back(record.extension);
  EXPECT_THAT(kept, ElementsAre(".OK1", ".EDGE", ".MAX"));
  ASSERT_EQ(load.rejections.size(), 5u);
  EXPECT_EQ(load.rejections[0],
            "Definition file \"QELExt2.dll\", entry 2 (lines 7-12, .LONG): the signature has 51 bytes; at most 50 "
            "are allowed; the entry is ignored.");
  EXPECT_THAT(load.rejections[1], HasSubstr("entry 3 (lines 13-18, .ZERO): the position 0 is below 1"));
  EXPECT_THAT(load.rejections[2], HasSubstr("entry 4 (lines 19-24, .NEG): the position -4 is below 1"));
  EXPECT_THAT(load.rejections[3], HasSubstr("entry 5 (lines 25-30, .OVER): the signature at position 509 does not "
                                            "end in the first sector"));
  EXPECT_THAT(load.rejections[4], HasSubstr("(lines 43-48, .HUGE): the signature at position 2147483646 does not"));
}

TEST_F(PhotoDefinitionFile, MissingFileGivesTheSystemsReason) {
  const auto load = LoadPhotoDefinitions(dir_ / "absent.dll", "General", photo_);
  EXPECT_FALSE(load.opened);
  EXPECT_EQ(load.error, "Couldn't open source file: No such file or directory");
}

TEST(FileType1, MatchesItsSignatureAtItsPosition) {
  const FileType1 record = ParseDefinitionEntry(".X", "1", "A1B2", "511");
  std::array<std::uint8_t, 512> sector{};
  EXPECT_FALSE(record.Matches(sector.data()));
  sector[510] = 0xA1;
  sector[511] = 0xB2;
  EXPECT_TRUE(record.Matches(sector.data()));
  EXPECT_FALSE(ParseDefinitionEntry(".X", "1", "", "1").Matches(sector.data()));  // empty never matches
  EXPECT_FALSE(ParseDefinitionEntry(".X", "1", "A1B2", "2147483647").Matches(sector.data()));
}

}  // namespace
}  // namespace pellora
