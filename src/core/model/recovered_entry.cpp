#include "model/recovered_entry.hpp"

#include <algorithm>
#include <numeric>

namespace pellora {

namespace {

std::string OptionalText(const std::optional<std::uint64_t>& value) {
  return value ? std::to_string(*value) : std::string();
}

}  // namespace

std::array<std::string, 12> RecoveredEntry::Columns() const {
  return {name,
          OptionalText(sector),
          std::to_string(self),
          std::to_string(parent),
          std::to_string(date),
          OptionalText(time),
          std::to_string(size),
          std::to_string(attr),
          sys_id,
          type,
          deleted ? "1" : "",
          OptionalText(cluster0_start)};
}

RecoveredEntry MiscellaneousEntry(std::uint16_t time_word) {
  RecoveredEntry entry;
  entry.name = std::string(kMiscellaneousName);
  entry.sector = 0;
  entry.self = kMiscellaneousSelf;
  entry.parent = 0;
  entry.date = 0;
  entry.time = time_word;
  entry.size = 0;
  entry.attr = 16;
  return entry;
}

std::int32_t ParentSortKey(std::uint64_t parent) {
  return parent > static_cast<std::uint64_t>(INT32_MAX) ? INT32_MAX : static_cast<std::int32_t>(parent);
}

std::size_t DirectoryTable::Add(RecoveredEntry entry) {
  rows_.push_back(std::move(entry));
  taken_.push_back(0);
  ++remaining_;
  return rows_.size() - 1;
}

void DirectoryTable::Clear() {
  rows_.clear();
  taken_.clear();
  remaining_ = 0;
}

void DirectoryTable::Take(std::size_t row) {
  if (taken_[row] != 0) return;
  taken_[row] = 1;
  --remaining_;
}

template <typename Less>
void DirectoryTable::Reorder(Less less) {
  std::vector<std::size_t> order(rows_.size());
  std::iota(order.begin(), order.end(), 0);
  std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) { return less(rows_[a], rows_[b]); });
  std::vector<RecoveredEntry> rows;
  std::vector<char> taken;
  rows.reserve(rows_.size());
  taken.reserve(rows_.size());
  for (std::size_t index : order) {
    rows.push_back(std::move(rows_[index]));
    taken.push_back(taken_[index]);
  }
  rows_ = std::move(rows);
  taken_ = std::move(taken);
}

void DirectoryTable::SortByParent() {
  Reorder([](const RecoveredEntry& a, const RecoveredEntry& b) {
    return ParentSortKey(a.parent) < ParentSortKey(b.parent);
  });
}

void DirectoryTable::SortBySelf() {
  Reorder([](const RecoveredEntry& a, const RecoveredEntry& b) { return a.self < b.self; });
}

std::pair<std::size_t, std::size_t> DirectoryTable::RowsWithParent(std::uint64_t value) const {
  const std::int32_t key = ParentSortKey(value);
  const auto first = std::partition_point(rows_.begin(), rows_.end(),
                                          [key](const RecoveredEntry& row) { return ParentSortKey(row.parent) < key; });
  const auto last = std::partition_point(first, rows_.end(),
                                         [key](const RecoveredEntry& row) { return ParentSortKey(row.parent) == key; });
  return {static_cast<std::size_t>(first - rows_.begin()), static_cast<std::size_t>(last - rows_.begin())};
}

bool DirectoryTable::HasSelf(std::uint64_t value) const {
  const auto found =
      std::partition_point(rows_.begin(), rows_.end(), [value](const RecoveredEntry& row) { return row.self < value; });
  return found != rows_.end() && found->self == value;
}

}  // namespace pellora
