#include "carving/file_type.hpp"

#include <algorithm>

#include "common/text.hpp"

namespace pellora {

std::int64_t FileType1::MaxSizeBytes() const { return ParseDecimalPrefix(maxSize); }

bool FileType1::Matches(const std::uint8_t* sector) const {
  if (signatureLength <= 0 || position < 1 || std::int64_t{position} - 1 + signatureLength > 512) return false;
  return std::equal(signature.begin(), signature.begin() + signatureLength, sector + (position - 1));
}

void DefinitionSet::Add(const FileType1& record) {
  records.push_back(record);
  if (std::find(positions.begin(), positions.end(), record.position) == positions.end())
    positions.push_back(record.position);
}

void DefinitionSet::Clear() {
  records.clear();
  positions.clear();
}

std::optional<std::size_t> FindNextDefinition(const DefinitionSet& set, std::int32_t position, std::int32_t first_byte,
                                              std::optional<std::size_t> after) {
  for (std::size_t i = after ? *after + 1 : 0; i < set.records.size(); ++i) {
    const FileType1& record = set.records[i];
    if (record.position == position && record.firstByte == first_byte) return i;
  }
  return std::nullopt;
}

}  // namespace pellora
