#pragma once

#include <cstdint>
#include <optional>

#include "ntfs/file_record.hpp"
#include "ntfs/mft_fragments.hpp"

namespace pellora {

// The absolute sector where MFT record `number` begins (its first of two sectors), or 0 when it
// lies beyond the fragments.
std::uint64_t MftRecordToSector(const MftFragments& fragments, std::uint64_t number);

// The number of the record that begins at an absolute sector, when a record of the $MFT begins
// there.
std::optional<std::uint64_t> MftSectorToRecord(const MftFragments& fragments, std::uint64_t sector);

// Record `number` of the $MFT. Its two sectors are looked up one by one, so a record split
// between two fragments is put together again.
std::optional<FileRecord> ReadMftRecord(RecordReader& reader, const MftFragments& fragments, std::uint64_t number);

// The record that begins at an absolute sector, with its number when the fragments know it
// (records of a loaded list without fragments are read as the two sectors there).
struct NumberedRecord {
  FileRecord record;
  std::optional<std::uint64_t> number;
};
std::optional<NumberedRecord> ReadRecordAt(RecordReader& reader, const MftFragments& fragments, std::uint64_t sector);

}  // namespace pellora
