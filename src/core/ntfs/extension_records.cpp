#include "ntfs/extension_records.hpp"

#include <algorithm>
#include <unordered_set>

#include "common/byte_reader.hpp"
#include "ntfs/attribute_content.hpp"
#include "ntfs/attribute_walk.hpp"
#include "ntfs/record_sector.hpp"

namespace pellora {

namespace {

constexpr std::size_t kLastRecordByte = 1023;
constexpr std::size_t kEntryHeader = 0x18;  // up to the end of the MFT reference
constexpr std::uint64_t kMaxListBytes = 256 * 1024;
// The most extension records read for one file: far more than a real file has, few enough that a
// damaged list naming records at random costs little.
constexpr std::size_t kMaxExtensionRecords = 4096;

// The record numbers of the entries in bytes [start, end); no entry starts at `start_limit` or
// beyond.
void AppendListedRecords(std::span<const std::byte> bytes, std::size_t start, std::size_t end, std::size_t start_limit,
                         std::vector<std::uint64_t>& records) {
  for (std::size_t at = start; at < start_limit && at + kEntryHeader <= end;) {
    const std::uint32_t low = Le32(bytes, at);
    const std::uint32_t high = Le32(bytes, at + 4);
    const std::uint16_t length = Le16(bytes, at + 4);
    if ((low == 0 && high == 0) || (low == 0xFFFFFFFF && high == 0) || length == 0 || length > kLastRecordByte) break;
    records.push_back(ReferenceRecordNumber(Le64(bytes, at + 0x10)));
    at += length;
  }
}

}  // namespace

std::vector<std::uint64_t> CollectExtensionRecords(const FileRecord& base, std::uint64_t base_number,
                                                   RecordReader* reader, std::stop_token cancel) {
  std::vector<std::uint64_t> records{base_number};
  AttributeWalk walk(base, cancel);
  while (const auto attribute = walk.Next()) {
    if (attribute->type != kAttributeList) continue;
    if (const auto value = attribute->ResidentValue()) {
      const auto start = static_cast<std::size_t>(value->data() - base.data());
      AppendListedRecords(base, start, start + value->size(), kLastRecordByte, records);
    } else if (attribute->non_resident && attribute->LowestVcn() == 0 && reader != nullptr) {
      std::vector<std::byte> list;
      CopyDataRuns(*reader, AttributeRuns(*attribute), std::min(attribute->RealSize(), kMaxListBytes),
                   [&](std::span<const std::byte> bytes) {
                     list.insert(list.end(), bytes.begin(), bytes.end());
                     return true;
                   });
      AppendListedRecords(list, 0, list.size(), list.size(), records);
    }
  }
  return records;
}

std::vector<FileRecord> ReadRecordList(RecordReader& reader, const MftFragments& fragments, const FileRecord& base,
                                       std::uint64_t base_number) {
  std::vector<FileRecord> records{base};
  reader.Volume().Guarded("Get mft fragments...", "R", "3D", [&] {
    std::unordered_set<std::uint64_t> seen{base_number};
    for (const std::uint64_t number : CollectExtensionRecords(base, base_number, &reader, reader.Volume().cancel)) {
      if (seen.size() > kMaxExtensionRecords) break;
      if (!seen.insert(number).second) continue;
      const auto record = ReadMftRecord(reader, fragments, number);
      if (record && IsExtensionRecord(*record) && BaseRecordNumber(*record) == base_number) records.push_back(*record);
    }
  });
  return records;
}

}  // namespace pellora
