#include "ntfs/record_sector.hpp"

#include <span>

#include "ntfs/fixups.hpp"

namespace pellora {

namespace {

// The absolute sector of sector `offset` of the $MFT, or 0 beyond its fragments.
std::uint64_t MftOffsetToSector(const MftFragments& fragments, std::uint64_t offset) {
  const std::size_t index = fragments.FragmentAt(offset);
  if (index >= fragments.Size()) return 0;
  return fragments.List()[index].start + (offset - fragments.SectorsBefore(index));
}

}  // namespace

std::uint64_t MftRecordToSector(const MftFragments& fragments, std::uint64_t number) {
  if (number > UINT64_MAX / kSectorsPerFileRecord) return 0;
  return MftOffsetToSector(fragments, number * kSectorsPerFileRecord);
}

std::optional<std::uint64_t> MftSectorToRecord(const MftFragments& fragments, std::uint64_t sector) {
  const auto list = fragments.List();
  for (std::size_t i = 0; i < list.size(); ++i) {
    if (sector < list[i].start || sector - list[i].start >= list[i].sectors) continue;
    const std::uint64_t offset = fragments.SectorsBefore(i) + (sector - list[i].start);
    if (offset % kSectorsPerFileRecord == 0) return offset / kSectorsPerFileRecord;
  }
  return std::nullopt;
}

std::optional<FileRecord> ReadMftRecord(RecordReader& reader, const MftFragments& fragments, std::uint64_t number) {
  const std::uint64_t first = MftRecordToSector(fragments, number);
  if (first == 0) return std::nullopt;
  const std::uint64_t second = MftOffsetToSector(fragments, number * kSectorsPerFileRecord + 1);
  if (second == first + 1 || second == 0) return ReadFileRecord(reader, first);
  FileRecord record{};
  const std::span<std::byte> bytes(record);
  if (reader.Read(first, bytes.first(kSectorSize)) == 0 || !HasFileMagic(record)) return std::nullopt;
  reader.Read(second, bytes.subspan(kSectorSize));
  ApplyFixups(record, reader.Volume().cancel);
  return record;
}

std::optional<NumberedRecord> ReadRecordAt(RecordReader& reader, const MftFragments& fragments, std::uint64_t sector) {
  if (const auto number = MftSectorToRecord(fragments, sector)) {
    if (auto record = ReadMftRecord(reader, fragments, *number)) return NumberedRecord{*record, number};
    return std::nullopt;
  }
  if (auto record = ReadFileRecord(reader, sector)) return NumberedRecord{*record, std::nullopt};
  return std::nullopt;
}

}  // namespace pellora
