#include "ntfs/file_name.hpp"

#include "common/byte_reader.hpp"
#include "common/text.hpp"
#include "ntfs/attribute_walk.hpp"

namespace pellora {

namespace {

constexpr std::int64_t kLastRecordByte = 1023;

}  // namespace

std::string FileNameCharacters(std::span<const std::byte> units, NameText text) {
  std::string utf16;
  utf16.reserve(units.size());
  const auto flush = [&](std::string& out) {
    if (!utf16.empty()) out += Utf16LeToUtf8(utf16);
    utf16.clear();
  };
  std::string out;
  for (std::size_t i = 0; i + 1 < units.size(); i += 2) {
    const std::uint8_t low = Le8(units, i);
    const std::uint8_t high = Le8(units, i + 1);
    if (high != 0) {
      utf16.push_back(static_cast<char>(low));
      utf16.push_back(static_cast<char>(high));
      continue;
    }
    flush(out);
    if (text == NameText::kFile && low >= 0x01 && low <= 0x1F)
      out.push_back(' ');
    else if (low < 0x80)
      out.push_back(static_cast<char>(low));
    else
      out += Cp1252ToUtf8(std::string_view(reinterpret_cast<const char*>(&low), 1));
  }
  flush(out);
  return out;
}

std::optional<FileNameInfo> FindFileNameInBuffer(std::span<const std::byte> record, std::uint8_t name_space,
                                                 NameText text, std::stop_token cancel) {
  AttributeWalk walk(record, cancel);
  while (const auto attribute = walk.Next()) {
    if (attribute->type != kFileNameAttribute || attribute->name_length != 0) continue;
    const std::int64_t value = attribute->ResidentValueOffset();
    if (value > kLastRecordByte) return std::nullopt;
    if (value < 0 || !Fits(record, static_cast<std::uint64_t>(value), 0x42)) continue;
    const auto at = static_cast<std::size_t>(value);
    if (Le8(record, at + 0x41) != name_space) continue;
    const std::size_t name_bytes = std::size_t{Le8(record, at + 0x40)} * 2;
    if (!Fits(record, at + 0x42, name_bytes)) continue;
    FileNameInfo info;
    info.parent = Le32(record, at);
    info.created = Le64(record, at + 8);
    if (text != NameText::kNone) info.name = FileNameCharacters(record.subspan(at + 0x42, name_bytes), text);
    return info;
  }
  return std::nullopt;
}

std::optional<FileNameInfo> ChooseFileName(std::span<const std::byte> record, NameText text, std::stop_token cancel) {
  for (const std::uint8_t name_space : kNamespaceOrder)
    if (auto info = FindFileNameInBuffer(record, name_space, text, cancel)) return info;
  return std::nullopt;
}

}  // namespace pellora
