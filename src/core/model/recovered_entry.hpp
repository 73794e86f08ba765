#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pellora {

// The folder that takes everything whose parent is lost. Its Self is the key orphans are filed by.
inline constexpr std::uint64_t kMiscellaneousSelf = 0x0FFFFFFF;  // 268435455
inline constexpr std::string_view kMiscellaneousName = "ZYD_Miscellaneous";
inline constexpr std::uint64_t kNtfsRootRecord = 5;

// One row of the directory table: a folder found by a file-system search.
struct RecoveredEntry {
  std::string name;                     // "DIR7" until the parent's directory names it
  std::optional<std::uint64_t> sector;  // FAT: sector of the folder's first cluster or of its entry
  std::uint64_t self = 0;               // FAT: first cluster; NTFS: MFT record number
  std::uint64_t parent = 0;             // FAT: parent's first cluster, 0 = root; NTFS: parent record
  std::uint64_t date = 0;               // FAT date word, or NTFS FILETIME
  std::optional<std::uint64_t> time;    // FAT time word; not set for NTFS
  std::uint64_t size = 0;               // size field of the folder's "." entry
  std::uint32_t attr = 16;              // attribute byte of the "." entry
  std::string sys_id;                   // "0" for FAT16 lost folders
  std::string type = "FOLDER";
  bool deleted = false;
  std::optional<std::uint64_t> cluster0_start;  // partition of the row (Deep Search)

  // The twelve columns as text, in table order: name, sector, self, parent, date, time, size,
  // attr, sysID, Type, Deleted ("1" or empty), Cluster0Start.
  std::array<std::string, 12> Columns() const;
};

// Row 0 of every directory table: the miscellaneous folder, timed with a FAT-style time word.
RecoveredEntry MiscellaneousEntry(std::uint16_t time_word);

// Parent as the arrangement compares it: the decimal text read back as a signed 32-bit number.
std::int32_t ParentSortKey(std::uint64_t parent);

// The directory table. Rows are taken out one by one by the arrangement; taking marks a row
// instead of erasing it, so a table of a hundred thousand folders is arranged in n log n.
class DirectoryTable {
 public:
  std::size_t Add(RecoveredEntry entry);
  void Clear();
  std::size_t Size() const { return rows_.size(); }
  std::size_t Remaining() const { return remaining_; }
  bool Taken(std::size_t row) const { return taken_[row] != 0; }
  const RecoveredEntry& Row(std::size_t row) const { return rows_[row]; }
  RecoveredEntry& Row(std::size_t row) { return rows_[row]; }
  void Take(std::size_t row);

  void SortByParent();
  void SortBySelf();
  // Indexes of the rows whose parent sorts equal to value; the table must be sorted by parent.
  std::pair<std::size_t, std::size_t> RowsWithParent(std::uint64_t value) const;
  // Whether a row has this Self; the table must be sorted by Self.
  bool HasSelf(std::uint64_t value) const;

 private:
  template <typename Less>
  void Reorder(Less less);

  std::vector<RecoveredEntry> rows_;
  std::vector<char> taken_;
  std::size_t remaining_ = 0;
};

// One entry of the root directory listed before the lost-folder scan (FAT).
struct RootEntry {
  std::uint64_t self = 0;  // first cluster
  std::string name;
  std::uint16_t date = 0;
  std::uint16_t time = 0;
  std::uint64_t sector = 0;  // sector that holds the entry
  bool deleted = false;
};

}  // namespace pellora
