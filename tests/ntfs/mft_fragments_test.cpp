// Run lists, the $MFT's fragments and the mapping of record numbers to sectors.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "ntfs/attribute_walk.hpp"
#include "ntfs/data_runs.hpp"
#include "ntfs/file_name.hpp"
#include "ntfs/mft_fragments.hpp"
#include "ntfs/record_sector.hpp"
#include "support/ntfs_record.hpp"

namespace pellora {
namespace {

using ::testing::ElementsAre;

std::vector<std::byte> Hex(std::initializer_list<int> bytes) {
  std::vector<std::byte> out;
  for (int b : bytes) out.push_back(static_cast<std::byte>(b));
  return out;
}

TEST(RunListDecoder, RunsOffsetsAndEnds) {
  struct Case {
    const char* what;
    std::vector<std::byte> bytes;
    std::vector<DataRun> runs;
    bool damaged;
  };
  const std::vector<Case> cases{
      {"one run", Hex({0x21, 0x18, 0x34, 0x56, 0x00}), {{0x5634, 0x18, false}}, false},
      {"offsets count from the previous run",
       test::RunList({{8, 100}, {4, -50}, {2, 0x12345}}),
       {{100, 8, false}, {50, 4, false}, {0x12345 + 50, 2, false}},
       false},
      {"a sparse run leaves the cluster as it was",
       test::RunList({{8, 100}, {16, 0}, {4, 10}}),
       {{100, 8, false}, {0, 16, true}, {110, 4, false}},
       false},
      {"fields wider than four bytes are read to their end and no further",
       Hex({0x58, 1, 2, 3, 4, 5, 6, 7, 8, 0x10, 0, 0, 0, 1, 0x11, 1, 1, 0}),
       {{0x0100000010, 0x0807060504030201, false}, {0x0100000011, 1, false}},
       false},
      {"a field wider than eight bytes", Hex({0x19, 1, 2, 3, 4, 5, 6, 7, 8, 9, 1, 0}), {}, true},
      {"a field cut off by the end of the bytes", Hex({0x11, 0x20, 0x30, 0x22, 0x01}), {{0x30, 0x20, false}}, true},
      {"a cluster number that overflows",
       Hex({0x81, 1, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x7F, 0x11, 1, 0x7F, 0}),
       {{INT64_MAX, 1, false}},
       true},
      {"no bytes at all", {}, {}, false},
  };
  for (const Case& c : cases) {
    RunListDecoder decoder(c.bytes);
    std::vector<DataRun> runs;
    while (const auto run = decoder.Next()) runs.push_back(*run);
    EXPECT_EQ(runs, c.runs) << c.what;
    EXPECT_EQ(decoder.Damaged(), c.damaged) << c.what;
  }
}

TEST(RunListDecoder, GoesOnWithTheBytesThatFollow) {
  const std::vector<std::byte> list = test::RunList({{3, 10}, {5, 1000}, {7, -20}});
  std::size_t handed = 1;
  RunListDecoder decoder(std::span<const std::byte>(list).first(1), [&](std::vector<std::byte>& bytes) {
    if (handed >= list.size()) return false;
    bytes.push_back(list[handed++]);  // one byte at a time: every field crosses the bytes at hand
    return true;
  });
  std::vector<DataRun> runs;
  while (const auto run = decoder.Next()) runs.push_back(*run);
  EXPECT_THAT(runs, ElementsAre(DataRun{10, 3, false}, DataRun{1010, 5, false}, DataRun{990, 7, false}));
  EXPECT_FALSE(decoder.Damaged());
}

// Record 0 of a $MFT at sector `mft` whose $DATA has these run list bytes, the part that does not
// fit the record written into the sectors that follow it.
void WriteMftRecord(test::NtfsDisk& disk, std::uint64_t mft, const std::vector<std::byte>& list) {
  constexpr std::size_t kListAt = 0x38 + 0x40;
  std::vector<std::byte> header(0x38);
  test::PutLe(header, 0, 1, 1);            // non-resident
  test::PutLe(header, 0x20 - 8, 0x40, 2);  // run list offset
  // The $DATA goes first so that its run list may run to the record's end.
  test::RecordBuilder data;
  data.Raw(kDataAttribute, 0x48, header);
  const std::size_t in_record = std::min(list.size(), std::size_t{1024 - kListAt});
  for (std::size_t i = 0; i < in_record; ++i) data.Put(kListAt + i, std::to_integer<std::uint8_t>(list[i]), 1);
  disk.Write(mft, data.OnDisk());
  if (list.size() > in_record) disk.Write(mft + 2, std::vector<std::byte>(list.begin() + in_record, list.end()));
}

TEST(BuildMftFragments, RunsBecomeAbsoluteSectorsCountedFromThePartition) {
  test::NtfsDisk disk(4096, 100, 8);
  WriteMftRecord(disk, 100 + 8 * 4, test::RunList({{4, 4}, {2, 0}, {3, 200}, {1, -100}}));
  const MftFragments fragments = BuildMftFragments(disk.Volume(100 + 8 * 4));
  EXPECT_THAT(fragments.List(),
              ElementsAre(MftFragment{132, 32}, MftFragment{100 + 204 * 8, 24}, MftFragment{100 + 104 * 8, 8}));
  EXPECT_EQ(fragments.TotalSectors(), 64u);
}

TEST(BuildMftFragments, ARunListPastTheRecordGrowsTheTablePast512) {
  std::vector<std::pair<std::uint64_t, std::int64_t>> runs;
  for (int i = 0; i < 700; ++i) runs.push_back({1, 2});  // every other cluster
  test::NtfsDisk disk(4096, 0, 1);
  WriteMftRecord(disk, 2, test::RunList(runs));
  const MftFragments fragments = BuildMftFragments(disk.Volume(2));
  ASSERT_EQ(fragments.Size(), 700u);
  EXPECT_EQ(fragments.List()[0], (MftFragment{2, 1}));
  EXPECT_EQ(fragments.List()[699], (MftFragment{1400, 1}));
  EXPECT_EQ(MftRecordToSector(fragments, 349), 1398u);
}

TEST(BuildMftFragments, NothingBeyondThePartitionAndNothingWithoutARecord) {
  test::NtfsDisk disk(1000, 0, 8);
  // Partition of 1000 sectors: the second run crosses its end, the third lies beyond it.
  WriteMftRecord(disk, 16, test::RunList({{2, 2}, {10, 120}, {4, 200}}));
  EXPECT_THAT(BuildMftFragments(disk.Volume(16)).List(), ElementsAre(MftFragment{16, 16}, MftFragment{976, 24}));
  EXPECT_TRUE(BuildMftFragments(disk.Volume(40)).Empty());
}

TEST(BuildMftFragments, RunsKeptInExtensionRecordsAreJoinedInFileOrder) {
  test::NtfsDisk disk(1024, 0, 1);
  disk.Write(
      100,
      test::RecordBuilder().AttributeList({0, 1, 0}).NonResidentData(16 * 1024, test::RunList({{4, 100}})).OnDisk());
  // Record 1 lies in the first piece and maps the $MFT's clusters 4 to 15.
  disk.Write(102,
             test::RecordBuilder().BaseRecord(0).NonResidentData(0, test::RunList({{6, 300}, {6, 200}}), 4).OnDisk());
  const MftFragments fragments = BuildMftFragments(disk.Volume(100));
  EXPECT_THAT(fragments.List(), ElementsAre(MftFragment{100, 4}, MftFragment{300, 6}, MftFragment{500, 6}));
}

TEST(MftRecordToSector, WalksTheFragmentsInOrder) {
  MftFragments fragments;
  fragments.Add({100, 10});
  fragments.Add({300, 6});
  EXPECT_EQ(MftRecordToSector(fragments, 0), 100u);
  EXPECT_EQ(MftRecordToSector(fragments, 4), 108u);
  EXPECT_EQ(MftRecordToSector(fragments, 5), 300u);
  EXPECT_EQ(MftRecordToSector(fragments, 7), 304u);
  EXPECT_EQ(MftRecordToSector(fragments, 8), 0u);
  EXPECT_EQ(MftRecordToSector(MftFragments(), 0), 0u);
  EXPECT_EQ(MftSectorToRecord(fragments, 304), 7u);
  EXPECT_EQ(MftSectorToRecord(fragments, 101), std::nullopt);
  EXPECT_EQ(MftSectorToRecord(fragments, 99), std::nullopt);
}

TEST(ReadMftRecord, ARecordSplitBetweenFragmentsIsPutTogether) {
  test::NtfsDisk disk(512, 0, 1);
  MftFragments fragments;
  fragments.Add({100, 3});
  fragments.Add({200, 5});
  const auto built = test::RecordBuilder(kFolderInUse).FileName(u"Straddling", kWin32Namespace, 5);
  disk.WriteRecord(fragments, 1, built.OnDisk());
  NtfsVolume volume = disk.Volume(100);
  RecordReader reader(volume);
  const auto record = ReadMftRecord(reader, fragments, 1);
  ASSERT_TRUE(record);
  EXPECT_EQ(ChooseFileName(*record, NameText::kFolder)->name, "Straddling");
  EXPECT_TRUE(std::equal(record->begin() + 0x38, record->end(), built.Build().begin() + 0x38));
}

}  // namespace
}  // namespace pellora
