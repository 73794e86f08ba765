// The MFT scan and the arrangement after it, over a crafted $MFT.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "common/progress.hpp"
#include "ntfs/mft_scan.hpp"
#include "ntfs/record_sector.hpp"
#include "search/store_and_arrange.hpp"
#include "support/ntfs_record.hpp"
#include "support/result_paths.hpp"

namespace pellora {
namespace {

using ::testing::ElementsAre;
using ::testing::UnorderedElementsAre;

using test::ResultPaths;

// A $MFT of 9 records in two fragments of 3 and 15 sectors (512-byte clusters), so that record 1
// lies across them.
struct CraftedMft {
  test::NtfsDisk disk{256, 0, 1};
  MftFragments fragments;
  test::ScriptedUi ui;
  CurrentMode mode;
  ErrorReporter reporter{ui, mode};
  RecoveredResults results;

  CraftedMft() {
    fragments.Add({10, 3});
    fragments.Add({40, 15});
    using test::RecordBuilder;
    Put(0, RecordBuilder()
               .FileName(u"$MFT", kWin32AndDosNamespace, 5)
               .NonResidentData(9 * 1024, test::RunList({{3, 10}, {15, 30}})));
    Put(1, RecordBuilder(kFolderInUse).FileName(u"Straddling", kWin32Namespace, 5));
    Put(2, RecordBuilder(kFolderInUse).FileName(u"Child first", kPosixNamespace, 6, 1111));
    Put(3, RecordBuilder().FileName(u"inner.txt", kPosixNamespace, 2, 2222).ResidentData(800 - 0x300));
    Put(4, RecordBuilder(kDeletedFolder).FileName(u"Orphan", kPosixNamespace, 9));
    Put(5, RecordBuilder(kFolderInUse).FileName(u".", kWin32AndDosNamespace, 5));
    Put(6, RecordBuilder(kFolderInUse).FileName(u"Parent later", kDosNamespace, 5));
    // An extension record of record 3 carrying a name: part of record 3, not a file of its own.
    Put(7, RecordBuilder().BaseRecord(3).FileName(u"dup.txt", kWin32Namespace, 5));
    // A deleted file whose folder's record is gone.
    Put(8, RecordBuilder(kDeletedFile).FileName(u"lost.txt", kPosixNamespace, 9));
  }
  void Put(std::uint64_t number, const test::RecordBuilder& record) {
    disk.WriteRecord(fragments, number, record.OnDisk());
  }
  void Scan(std::stop_token stop = {}) {
    NtfsVolume volume = disk.Volume(10);
    volume.reporter = &reporter;
    ScanMftRecords(volume, fragments, results, ui, progress, stop, 0);
    scanned_to = ui.LastProgress();
    StoreAndArrangeNtfs(results, ui, progress, reporter);
  }
  ProgressBar progress{&ui};
  std::int64_t scanned_to = 0;
};

TEST(ScanMftRecords, FoldersAreArrangedByTheirParentRecords) {
  CraftedMft mft;
  mft.Scan();
  // "Child first" comes before its parent's record and still ends under it; "Orphan"'s parent
  // record does not exist. The root's own record "." is "Root" itself.
  EXPECT_THAT(ResultPaths(mft.results.tree), ElementsAre("Parent later", "Parent later/Child first", "Straddling",
                                                         "ZYD_Miscellaneous", "ZYD_Miscellaneous/Orphan"));
  EXPECT_TRUE(mft.results.nodes.ByName("Orphan")->deleted);
  EXPECT_EQ(mft.results.nodes.ByName("Child first")->date, 1111u);
  EXPECT_EQ(mft.results.nodes.ByName("ZYD_Miscellaneous")->parent, kNtfsRootRecord);
  EXPECT_EQ(mft.results.directory.Size(), 0u);
  EXPECT_EQ(mft.ui.LastText(UiText::kTotalSectors), "sectors scanned of total 18");
  EXPECT_EQ(mft.ui.LastText(UiText::kCurrentSector), "18");
  EXPECT_EQ(mft.scanned_to, 18);
  EXPECT_TRUE(mft.ui.Reports().empty());
}

TEST(ScanMftRecords, FilesBecomeRowsKeyedByParentAndRecordSector) {
  CraftedMft mft;
  mft.Scan();
  std::vector<std::string> keys;
  for (const NtfsFileRow& row : mft.results.ntfs_files) keys.push_back(row.Key());
  // $MFT, inner.txt and lost.txt, which is listed under the miscellaneous folder; names are only
  // built when a list shows them.
  EXPECT_THAT(keys, ElementsAre("5|10|", "2|43|", "268435455|53|"));
  EXPECT_TRUE(mft.results.ntfs_files.Row(2).deleted);
  const NtfsFileRow& inner = mft.results.ntfs_files.Row(1);
  EXPECT_EQ(inner.name, "");
  EXPECT_THAT(inner.Columns(), ElementsAre("2|43|", "", "", "2222", "", "2", "", ""));
}

TEST(ScanMftRecords, WithoutFragmentsOnlyTheMiscellaneousFolder) {
  CraftedMft mft;
  mft.fragments.Clear();
  mft.Scan();
  EXPECT_THAT(ResultPaths(mft.results.tree), ElementsAre("ZYD_Miscellaneous"));
}

TEST(ScanMftRecords, AStopArrangesWhatWasFoundSoFar) {
  CraftedMft mft;
  std::stop_source stop;
  stop.request_stop();
  mft.Scan(stop.get_token());
  EXPECT_THAT(ResultPaths(mft.results.tree), ElementsAre());
  EXPECT_EQ(mft.results.ntfs_files.Size(), 0u);
}

}  // namespace
}  // namespace pellora
