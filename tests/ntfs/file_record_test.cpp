// FILE records: fixups, the bounded attribute walk, names by namespace, sizes, attribute lists.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <atomic>

#include "common/byte_reader.hpp"
#include "ntfs/attribute_walk.hpp"
#include "ntfs/data_size.hpp"
#include "ntfs/extension_records.hpp"
#include "ntfs/file_name.hpp"
#include "ntfs/fixups.hpp"
#include "support/ntfs_record.hpp"

namespace pellora {
namespace {

using test::RecordBuilder;
using ::testing::ElementsAre;

TEST(ApplyFixups, RestoresTheLastTwoBytesOfEachSectorWithoutComparingTheNumber) {
  const RecordBuilder builder = RecordBuilder().Put(510, 0x1234, 2).Put(1022, 0x5678, 2);
  std::vector<std::byte> record = builder.OnDisk();
  // A torn record whose second sector carries another number is restored all the same.
  test::PutLe(record, 1022, 0x9999, 2);
  const std::vector<std::byte> before = record;
  ApplyFixups(record);
  EXPECT_EQ(Le16(record, 510), 0x1234);
  EXPECT_EQ(Le16(record, 1022), 0x5678);
  for (std::size_t i = 0; i < record.size(); ++i)
    if (i != 510 && i != 511 && i != 1022 && i != 1023) {
      ASSERT_EQ(record[i], before[i]) << i;
    }
}

TEST(ApplyFixups, HeadersThatDoNotFitLeaveTheBufferAlone) {
  struct Case {
    const char* what;
    std::uint16_t array_offset;
    std::uint16_t entries;
    std::size_t restored;  // sector tails restored
  };
  for (const Case& c : {Case{"no entries", 0x30, 0, 0}, Case{"count beyond the buffer", 0x30, 1030, 0},
                        Case{"offset beyond the buffer", 1024, 3, 0}, Case{"entries running off the end", 1020, 3, 1},
                        Case{"more entries than sectors", 0x30, 9, 2}}) {
    std::vector<std::byte> record = RecordBuilder().Put(4, c.array_offset, 2).Put(6, c.entries, 2).OnDisk();
    test::PutLe(record, 4, c.array_offset, 2);
    test::PutLe(record, 6, c.entries, 2);
    test::PutLe(record, 1022, 0x7777, 2);  // the first entry when the array starts at 1020
    const std::vector<std::byte> before = record;
    ApplyFixups(record);
    std::size_t restored = 0;
    for (std::size_t tail : {510u, 1022u}) restored += Le16(record, tail) != Le16(before, tail) ? 1 : 0;
    EXPECT_EQ(restored, c.restored) << c.what;
  }
}

TEST(ApplyFixups, AShortBufferAndACancelledListStopEarly) {
  std::vector<std::byte> half = RecordBuilder().Put(510, 0x1234, 2).OnDisk();
  half.resize(600);
  ApplyFixups(half);
  EXPECT_EQ(Le16(half, 510), 0x1234);
  std::vector<std::byte> record = RecordBuilder().Put(510, 0x1234, 2).OnDisk();
  std::stop_source cancel;
  cancel.request_stop();
  ApplyFixups(record, cancel.get_token());
  EXPECT_EQ(Le16(record, 510), 0x0A0B);
}

std::vector<std::uint32_t> Types(const FileRecord& record) {
  std::vector<std::uint32_t> types;
  AttributeWalk walk(record);
  while (const auto attribute = walk.Next()) types.push_back(attribute->type);
  return types;
}

TEST(AttributeWalk, StaysInsideTheRecordAndEnds) {
  const auto fifty = [] { return RecordBuilder().StandardInformation().ResidentData(10); };
  EXPECT_THAT(Types(fifty().Build()), ElementsAre(0x10, 0x80));
  // The first attribute's offset must lie below 1023, and must not be negative.
  EXPECT_THAT(Types(fifty().Put(0x14, 1023, 2).Build()), ElementsAre());
  EXPECT_THAT(Types(fifty().Put(0x14, 0x8000, 2).Build()), ElementsAre());
  // Type 0 ends the list like 0xFFFFFFFF does.
  EXPECT_THAT(Types(RecordBuilder().StandardInformation().Raw(0, 0x20).ResidentData(4).Build()), ElementsAre(0x10));
  // Lengths of 0, above 1024, or reaching the record's end stop the walk.
  EXPECT_THAT(Types(RecordBuilder().StandardInformation().Raw(0x40, 0).Build()), ElementsAre(0x10));
  EXPECT_THAT(Types(RecordBuilder().StandardInformation().Raw(0x40, 1025).Build()), ElementsAre(0x10));
  EXPECT_THAT(Types(RecordBuilder().StandardInformation().Raw(0x40, 1024 - 0x98).Build()), ElementsAre(0x10));
  EXPECT_THAT(Types(RecordBuilder().StandardInformation().Raw(0x40, 1024 - 0x98 - 8).Build()), ElementsAre(0x10, 0x40));
  std::stop_source cancel;
  cancel.request_stop();
  AttributeWalk cancelled(fifty().Build(), cancel.get_token());
  EXPECT_FALSE(cancelled.Next());
}

TEST(AttributeWalk, ValuesOutsideTheRecordAreNotHandedOut) {
  const FileRecord record = RecordBuilder().ResidentData(16).Put(0x38 + 0x10, 2000, 4).Build();
  AttributeWalk walk(record);
  const auto data = walk.Next();
  ASSERT_TRUE(data);
  EXPECT_FALSE(data->ResidentValue());
}

std::string NameOf(const FileRecord& record, NameText text = NameText::kFolder) {
  const auto info = ChooseFileName(record, text);
  return info ? info->name : "<none>";
}

TEST(ChooseFileName, NamespaceOrderWin32ThenBothThenDosThenPosix) {
  EXPECT_EQ(NameOf(RecordBuilder().FileName(u"DOSONLY.TXT", kDosNamespace, 5).Build()), "DOSONLY.TXT");
  EXPECT_EQ(NameOf(RecordBuilder()
                       .FileName(u"LONGFI~1.TXT", kDosNamespace, 5)
                       .FileName(u"Long file name.txt", kWin32Namespace, 5)
                       .Build()),
            "Long file name.txt");
  EXPECT_EQ(NameOf(RecordBuilder()
                       .FileName(u"posix", kPosixNamespace, 5)
                       .FileName(u"BOTH.TXT", kWin32AndDosNamespace, 5)
                       .Build()),
            "BOTH.TXT");
  EXPECT_EQ(NameOf(RecordBuilder().FileName(u"posix name", kPosixNamespace, 5).Build()), "posix name");
  // Within one namespace the first in attribute order wins.
  EXPECT_EQ(
      NameOf(RecordBuilder().FileName(u"first", kWin32Namespace, 5).FileName(u"second", kWin32Namespace, 5).Build()),
      "first");
  EXPECT_EQ(NameOf(RecordBuilder().StandardInformation().Build()), "<none>");
}

TEST(ChooseFileName, NamedOutOfBoundsAndFarValuesAreNotTaken) {
  // A $FILE_NAME with an attribute name of its own is passed over.
  EXPECT_EQ(NameOf(RecordBuilder()
                       .FileName(u"named", kWin32Namespace, 5, 0, u"x")
                       .FileName(u"plain", kPosixNamespace, 5)
                       .Build()),
            "plain");
  // A name whose length runs past the record is passed over.
  EXPECT_EQ(NameOf(RecordBuilder()
                       .FileName(u"long", kWin32Namespace, 5)
                       .Put(0x38 + 0x18 + 0x40, 255, 1)
                       .Put(0x14, 0x38 + 600, 2)
                       .Build()),
            "<none>");
  // A value offset beyond 1023 ends the search, even before a good name that follows.
  EXPECT_EQ(NameOf(RecordBuilder()
                       .FileName(u"far", kWin32Namespace, 5)
                       .FileName(u"near", kWin32Namespace, 5)
                       .Put(0x38 + 0x14, 1000, 2)
                       .Build()),
            "<none>");
}

TEST(ChooseFileName, ParentAndCreationTime) {
  const auto info =
      ChooseFileName(RecordBuilder().FileName(u"a", kWin32Namespace, 0x12345, 0xABCDEF).Build(), NameText::kNone);
  ASSERT_TRUE(info);
  EXPECT_EQ(info->parent, 0x12345u);  // the sequence number in the high bits is not part of it
  EXPECT_EQ(info->created, 0xABCDEFu);
  EXPECT_EQ(info->name, "");  // the scan does not build names of files
}

TEST(FileNameCharacters, AnsiBytesWideUnitsAndControlCharacters) {
  const auto units = [](std::u16string_view text) {
    std::vector<std::byte> bytes;
    for (char16_t unit : text) {
      bytes.push_back(static_cast<std::byte>(unit & 0xFF));
      bytes.push_back(static_cast<std::byte>(unit >> 8));
    }
    return bytes;
  };
  EXPECT_EQ(FileNameCharacters(units(u"caf\u00e9"), NameText::kFolder), "caf\u00e9");
  EXPECT_EQ(FileNameCharacters(units(u"caf\u00e9"), NameText::kFile), "caf\u00e9");
  EXPECT_EQ(FileNameCharacters(units(u"a\x01"
                                     "b\x1f"
                                     "c"),
                               NameText::kFile),
            "a b c");
  EXPECT_EQ(FileNameCharacters(units(u"a\x01"
                                     "b"),
                               NameText::kFolder),
            "a\x01"
            "b");
  // Units below 0x100 go through the ANSI code page, where 0x80 is the euro sign.
  EXPECT_EQ(FileNameCharacters(units(u"\u0080"), NameText::kFile), "\u20ac");
  EXPECT_EQ(FileNameCharacters(units(u"\u65e5\u672c \U0001F600"), NameText::kFile), "\u65e5\u672c \U0001F600");
}

TEST(GetDataSize, TheUnnamedDataThatStartsTheFile) {
  const auto size = [](const RecordBuilder& builder, std::string_view name = "file.bin") {
    const FileRecord record = builder.Build();
    return GetDataSize(std::span(&record, 1), name).size;
  };
  EXPECT_EQ(size(RecordBuilder().NonResidentData(123456, test::RunList({{31, 100}}))), 123456u);
  EXPECT_EQ(size(RecordBuilder().ResidentData(49)), 49u);
  // A named stream is not the file's content.
  EXPECT_EQ(size(RecordBuilder().ResidentData(7, u"stream").ResidentData(3)), 3u);
  // A piece that does not start the file knows no size.
  EXPECT_EQ(size(RecordBuilder().NonResidentData(0, test::RunList({{1, 9}}), 40).ResidentData(0)), 0u);
}

TEST(GetDataSize, EmptyDataFallsBackToTheNameSizeOfTheUsualLayout) {
  const auto usual = [] {
    return RecordBuilder(kDeletedFile)
        .StandardInformation()
        .FileName(u"deleted.jpg", kWin32Namespace, 5)
        .NonResidentData(0, {})
        .Put(0xD8, 70000, 8);
  };
  const FileRecord record = usual().Build();
  EXPECT_EQ(Le32(record, 0x98), kFileNameAttribute);
  EXPECT_EQ(GetDataSize(std::span(&record, 1), "deleted.jpg").size, 70000u);
  EXPECT_EQ(GetDataSize(std::span(&record, 1), "$Secure").size, 0u);
  // Another layout has something else at 0xD8.
  const FileRecord other = RecordBuilder().FileName(u"x", kWin32Namespace, 5).ResidentData(0).Put(0xD8, 9, 8).Build();
  EXPECT_EQ(GetDataSize(std::span(&other, 1), "x").size, 0u);
}

TEST(GetDataSize, DataKeptInAnExtensionRecord) {
  const std::vector<FileRecord> records{
      RecordBuilder().StandardInformation().AttributeList({40, 41}).Build(),
      RecordBuilder().BaseRecord(40).FileName(u"big.bin", kPosixNamespace, 5).Build(),
      RecordBuilder().BaseRecord(40).NonResidentData(5222400, test::RunList({{8, 300}})).Build()};
  EXPECT_EQ(GetDataSize(records, "big.bin").size, 5222400u);
}

TEST(CollectExtensionRecords, EntriesInListOrderUntilTheirEnd) {
  EXPECT_THAT(CollectExtensionRecords(RecordBuilder().AttributeList({40, 97, 40, 130}).Build(), 40),
              ElementsAre(40, 40, 97, 40, 130));
  EXPECT_THAT(CollectExtensionRecords(RecordBuilder().ResidentData(3).Build(), 7), ElementsAre(7));
  // An entry of length 0 ends the list; so does one that says 0xFFFFFFFF followed by 0.
  const std::size_t entries = 0x38 + 0x18;
  EXPECT_THAT(CollectExtensionRecords(RecordBuilder().AttributeList({50, 51, 52}).Put(entries + 0x24, 0, 2).Build(), 9),
              ElementsAre(9, 50));
  EXPECT_THAT(CollectExtensionRecords(RecordBuilder()
                                          .AttributeList({50, 51, 52})
                                          .Put(entries + 0x40, 0xFFFFFFFF, 4)
                                          .Put(entries + 0x44, 0, 4)
                                          .Build(),
                                      9),
              ElementsAre(9, 50, 51));
}

}  // namespace
}  // namespace pellora
