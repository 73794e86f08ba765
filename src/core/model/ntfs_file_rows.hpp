#pragma once

#include <array>
#include <charconv>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "common/large_table_allocator.hpp"

namespace pellora {

// One file found on an NTFS partition, listed under its parent folder. The text columns are
// "sector" (the key "parent|record sector|"), "name", "size", "date", "time", "type" (the parent),
// "padding" and "VCN", as recovery logs store them and the save engine reads them.
struct NtfsFileRow {
  std::uint32_t parent = 0;              // the parent folder's MFT record number
  std::uint64_t record_sector = 0;       // absolute sector of the file's FILE record (Deep: of the index record)
  std::string name;                      // empty until the file list has read it
  std::optional<std::uint64_t> size;     // not known until the file list has read it
  std::optional<std::uint64_t> created;  // creation time of the name (FILETIME)
  bool from_index = false;               // the "time" column "1": taken from an index entry (Deep Search)
  std::optional<std::uint64_t> padding;  // Deep Search: the two values that follow the name in the index entry
  std::optional<std::uint64_t> vcn;
  bool deleted = false;  // not a column: the record was no longer in use

  // The key of column 0: "%lu|%llu|" of the parent and the record's sector.
  std::string Key() const;
  std::array<std::string, 8> Columns() const;
  // The same eight columns handed one by one to visit(column, text) without keeping them: the log
  // writes hundreds of thousands of rows.
  template <typename Visit>
  void ForEachColumn(Visit&& visit) const;
};

template <typename Visit>
void NtfsFileRow::ForEachColumn(Visit&& visit) const {
  char text[48];
  char* const limit = text + sizeof text;
  const auto number = [limit](std::uint64_t value, char* at) { return std::to_chars(at, limit, value).ptr; };
  const auto view = [&text](const char* end) { return std::string_view(text, static_cast<std::size_t>(end - text)); };
  const auto optional = [&](std::size_t column, const std::optional<std::uint64_t>& value) {
    visit(column, value ? view(number(*value, text)) : std::string_view());
  };
  // Two 20-digit numbers and two bars always fit; the checks only keep the bars inside the buffer.
  char* end = number(parent, text);
  if (end != limit) *end++ = '|';
  end = number(record_sector, end);
  if (end != limit) *end++ = '|';
  visit(std::size_t{0}, view(end));
  visit(std::size_t{1}, std::string_view(name));
  optional(2, size);
  optional(3, created);
  visit(std::size_t{4}, from_index ? std::string_view("1") : std::string_view());
  visit(std::size_t{5}, view(number(parent, text)));
  optional(6, padding);
  optional(7, vcn);
}

// The NTFS file rows of a search, in the order they were found. Rows are looked up by parent
// through an index built when first asked for, so listing every folder of a large volume stays
// linear.
class NtfsFileTable {
 public:
  void Add(NtfsFileRow row);
  void Clear();
  void Reserve(std::size_t rows) { rows_.reserve(rows); }
  std::size_t Size() const { return rows_.size(); }
  const NtfsFileRow& Row(std::size_t row) const { return rows_[row]; }
  NtfsFileRow& Row(std::size_t row) { return rows_[row]; }
  auto begin() const { return rows_.begin(); }
  auto end() const { return rows_.end(); }

  // The rows of the files of one folder, in table order.
  const std::vector<std::size_t>& RowsOfParent(std::uint32_t parent) const;
  // Files a row under another folder.
  void SetParent(std::size_t row, std::uint32_t parent);

 private:
  // The index is built by the first reader; two readers (the file list and a save) may ask at once.
  struct IndexLock {
    std::mutex mutex;
    IndexLock() = default;
    IndexLock(IndexLock&&) noexcept {}
    IndexLock& operator=(IndexLock&&) noexcept { return *this; }
  };

  std::vector<NtfsFileRow, LargeTableAllocator<NtfsFileRow>> rows_;
  mutable IndexLock index_lock_;
  mutable std::unordered_map<std::uint32_t, std::vector<std::size_t>> by_parent_;
  mutable bool indexed_ = false;
};

}  // namespace pellora
