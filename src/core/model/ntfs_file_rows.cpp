#include "model/ntfs_file_rows.hpp"

namespace pellora {

std::string NtfsFileRow::Key() const { return std::to_string(parent) + "|" + std::to_string(record_sector) + "|"; }

std::array<std::string, 8> NtfsFileRow::Columns() const {
  std::array<std::string, 8> columns;
  ForEachColumn([&columns](std::size_t column, std::string_view text) { columns[column] = text; });
  return columns;
}

void NtfsFileTable::Add(NtfsFileRow row) {
  if (indexed_) by_parent_[row.parent].push_back(rows_.size());
  rows_.push_back(std::move(row));
}

void NtfsFileTable::Clear() {
  rows_.clear();
  by_parent_.clear();
  indexed_ = false;
}

const std::vector<std::size_t>& NtfsFileTable::RowsOfParent(std::uint32_t parent) const {
  const std::lock_guard lock(index_lock_.mutex);
  if (!indexed_) {
    by_parent_.clear();
    for (std::size_t row = 0; row < rows_.size(); ++row) by_parent_[rows_[row].parent].push_back(row);
    indexed_ = true;
  }
  static const std::vector<std::size_t> kNone;
  const auto found = by_parent_.find(parent);
  return found == by_parent_.end() ? kNone : found->second;
}

void NtfsFileTable::SetParent(std::size_t row, std::uint32_t parent) {
  rows_[row].parent = parent;
  indexed_ = false;
}

}  // namespace pellora
