#include "ntfs/index_entries.hpp"

#include "common/byte_reader.hpp"
#include "ntfs/file_name.hpp"

namespace pellora {

namespace {

constexpr std::size_t kIndexHeader = 24;        // the index node header begins after the record header
constexpr std::uint32_t kMaxAllocated = 65512;  // + 24 = 64 KiB
constexpr std::size_t kNameLengthAt = 80;
constexpr std::size_t kNameAt = 82;
constexpr std::uint8_t kLastEntryFlag = 2;

bool IsLastEntry(std::span<const std::byte> b, std::size_t entry) {
  return Fits(b, entry, 13) && Le16(b, entry + 8) == 16 && Le8(b, entry + 12) == kLastEntryFlag;
}

std::optional<std::size_t> FirstEntry(std::span<const std::byte> b) {
  if (!Fits(b, kIndexHeader, 4)) return std::nullopt;
  return kIndexHeader + std::size_t{Le32(b, kIndexHeader)};
}

}  // namespace

std::optional<std::size_t> IndexRecordBytes(std::span<const std::byte> first_sector) {
  if (!Fits(first_sector, 32, 4)) return std::nullopt;
  const std::uint32_t allocated = Le32(first_sector, 32);
  if (allocated > kMaxAllocated) return std::nullopt;
  return allocated + kIndexHeader;
}

std::optional<std::uint32_t> IndexRecordOwner(std::span<const std::byte> record) {
  const auto entry = FirstEntry(record);
  if (!entry || !Fits(record, *entry + 16, 4)) return std::nullopt;
  return Le32(record, *entry + 16);
}

void WalkIndexEntries(std::span<const std::byte> b, const std::function<void(const IndexEntry&)>& visit) {
  const auto first = FirstEntry(b);
  if (!first) return;
  for (std::size_t entry = *first; entry < b.size() && b.size() - entry > kNameLengthAt;) {
    const std::size_t length = Le8(b, entry + kNameLengthAt);
    if (length == 0) return;
    if (!Fits(b, entry + kNameAt, 2 * length)) return;
    IndexEntry found;
    found.folder = (Le16(b, entry + 74) & 0x1000) != 0;
    found.child = Le32(b, entry);
    found.parent = Le32(b, entry + 16);
    found.created = Le64(b, entry + 24);
    found.real_size = Le64(b, entry + 64);
    found.name = FileNameCharacters(b.subspan(entry + kNameAt, 2 * length), NameText::kFolder);
    const std::size_t after = entry + kNameAt + 2 * length;
    if (Fits(b, after, 16)) {
      found.after_name[0] = Le64(b, after);
      found.after_name[1] = Le64(b, after + 8);
    }
    visit(found);

    const std::size_t entry_length = Le16(b, entry + 8);
    if (entry_length == 0 || IsLastEntry(b, entry)) return;
    const std::size_t next = entry + entry_length;
    if (next >= b.size() || IsLastEntry(b, next)) return;
    entry = next;
  }
}

}  // namespace pellora
