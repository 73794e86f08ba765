// The entries of NTFS index records, as Deep Search reads them from INDX records it finds.

#include "ntfs/index_entries.hpp"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "support/memory_disk.hpp"
#include "support/ntfs_record.hpp"

namespace pellora {
namespace {

std::vector<IndexEntry> Walk(std::span<const std::byte> record) {
  std::vector<IndexEntry> found;
  WalkIndexEntries(record, [&](const IndexEntry& e) { found.push_back(e); });
  return found;
}

TEST(IndexEntries, NamesKeepEveryCharacterOfTheirLanguage) {
  const auto record = test::IndexRecord({{70, u"Zürich", true},
                                         {71, u"Música", true},
                                         {72, u"日本語", true},
                                         {73, u"naïve résumé.txt", false, 4242},
                                         {74, u"Ελληνικά", true}});
  const auto found = Walk(record);
  ASSERT_EQ(found.size(), 5u);
  EXPECT_EQ(found[0].name, "Zürich");
  EXPECT_EQ(found[1].name, "Música");
  EXPECT_EQ(found[2].name, "日本語");
  EXPECT_EQ(found[3].name, "naïve résumé.txt");
  EXPECT_EQ(found[4].name, "Ελληνικά");
  EXPECT_TRUE(found[0].folder);
  EXPECT_FALSE(found[3].folder);
  EXPECT_EQ(found[3].real_size, 4242u);
  EXPECT_EQ(found[3].child, 73u);
  EXPECT_EQ(found[3].parent, 77u);
  EXPECT_EQ(found[3].after_name[0], 0x1111u);
  EXPECT_EQ(found[3].after_name[1], 0x2222u);
  EXPECT_EQ(IndexRecordOwner(record), 77u);
  EXPECT_EQ(IndexRecordBytes(record), 4096u);
}

TEST(IndexEntries, WalkEndsWhereTheRecordSaysOrTheBufferEnds) {
  auto zero_length = test::IndexRecord({{70, u"First", true}, {71, u"Second", true}});
  test::PutLe(zero_length, 64 + 8, 0, 2);
  EXPECT_EQ(Walk(zero_length).size(), 1u);

  auto long_name = test::IndexRecord({{70, u"First", true}});
  test::PutLe(long_name, 64 + 80, 255, 1);
  EXPECT_EQ(Walk(std::span(long_name).first(64 + 200)).size(), 0u);  // the name would run past the buffer

  auto far_first = test::IndexRecord({{70, u"First", true}});
  test::PutLe(far_first, 24, 0xFFFFFFF0, 4);
  EXPECT_EQ(Walk(far_first).size(), 0u);
  EXPECT_EQ(IndexRecordOwner(far_first), std::nullopt);

  auto huge = test::IndexRecord({});
  test::PutLe(huge, 32, 65513, 4);
  EXPECT_EQ(IndexRecordBytes(huge), std::nullopt);

  // Every cut of a record is read without reading past it.
  const auto whole = test::IndexRecord({{70, u"First", true}, {71, u"Second", false, 9}, {72, u"Third", true}});
  for (std::size_t size = 0; size <= 400; ++size) {
    const auto found = Walk(std::span(whole).first(size));
    EXPECT_LE(found.size(), 3u);
  }
}

}  // namespace
}  // namespace pellora
