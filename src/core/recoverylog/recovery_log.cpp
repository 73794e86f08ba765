#include "recoverylog/recovery_log.hpp"

#include <charconv>

namespace pellora {

namespace {

// Numbers of a log's text columns are taken as stored; what is no number reads as 0.
std::uint64_t Number(std::string_view text) {
  std::uint64_t value = 0;
  std::from_chars(text.data(), text.data() + text.size(), value);
  return value;
}

std::uint32_t Number32(std::string_view text) { return static_cast<std::uint32_t>(Number(text)); }

std::optional<std::uint64_t> OptionalNumber(std::string_view text) {
  if (text.empty()) return std::nullopt;
  return Number(text);
}

}  // namespace

std::array<std::string, kDeepPartitionColumns> DeepPartitionColumns(const FoundPartition& partition) {
  const FoundBootSector& b = partition.boot;
  return {std::to_string(b.sector),
          std::to_string(b.sectors_per_fat),
          std::to_string(b.sectors_per_cluster),
          std::to_string(b.root_sectors),
          std::to_string(b.root_start),
          std::to_string(b.reserved_sectors),
          std::to_string(b.cluster0_start),
          std::to_string(b.first_fat),
          std::to_string(b.second_fat),
          std::to_string(b.end_sector),
          b.file_system.Text(),
          std::to_string(partition.end_sector)};
}

FoundPartition DeepPartitionFromColumns(const std::array<std::string, kDeepPartitionColumns>& columns) {
  FoundPartition partition;
  FoundBootSector& b = partition.boot;
  b.sector = Number(columns[0]);
  b.sectors_per_fat = Number32(columns[1]);
  b.sectors_per_cluster = Number32(columns[2]);
  b.root_sectors = Number32(columns[3]);
  b.root_start = Number(columns[4]);
  b.reserved_sectors = Number32(columns[5]);
  b.cluster0_start = Number(columns[6]);
  b.first_fat = Number(columns[7]);
  b.second_fat = Number(columns[8]);
  b.end_sector = Number(columns[9]);
  b.file_system = columns[10];
  partition.end_sector = Number(columns[11]);
  return partition;
}

NtfsFileRow NtfsRowFromColumns(const std::array<std::string, kNtfsRowColumns>& columns) {
  NtfsFileRow row;
  // The key is "parent|record sector|"; the parent is also column 5.
  const std::string_view key = columns[0];
  const std::size_t bar = key.find('|');
  row.record_sector = bar == std::string_view::npos ? 0 : Number(key.substr(bar + 1));
  row.name = columns[1];
  row.size = OptionalNumber(columns[2]);
  row.created = OptionalNumber(columns[3]);
  row.from_index = columns[4] == "1";
  row.parent = Number32(columns[5]);
  return row;
}

}  // namespace pellora
