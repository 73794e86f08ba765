#include "ntfs/data_size.hpp"

#include "common/byte_reader.hpp"
#include "ntfs/attribute_walk.hpp"

namespace pellora {

namespace {

constexpr std::size_t kUsualFileName = 0x98;
constexpr std::size_t kFileNameAllocatedSize = 0xD8;

std::optional<std::uint64_t> SizeInRecord(const FileRecord& record, std::stop_token cancel) {
  AttributeWalk walk(record, cancel);
  while (const auto attribute = walk.Next()) {
    if (attribute->type != kDataAttribute || attribute->name_length != 0) continue;
    if (attribute->non_resident) {
      if (attribute->LowestVcn() == 0) return attribute->RealSize();
    } else if (const auto value = attribute->ResidentValue()) {
      return value->size();
    }
  }
  return std::nullopt;
}

bool UsualLayout(const FileRecord& record) {
  return Le16(record, 0x14) == 0x38 && Le32(record, kUsualFileName) == kFileNameAttribute;
}

}  // namespace

DataSize GetDataSize(std::span<const FileRecord> records, std::string_view name, std::stop_token cancel) {
  DataSize result;
  for (const FileRecord& record : records) {
    if (const auto size = SizeInRecord(record, cancel)) {
      result = {true, *size};
      break;
    }
  }
  if (result.size == 0 && !name.starts_with("$") && !records.empty() && UsualLayout(records.front()))
    result.size = Le64(records.front(), kFileNameAllocatedSize);
  return result;
}

}  // namespace pellora
