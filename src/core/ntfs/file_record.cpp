#include "ntfs/file_record.hpp"

#include <algorithm>

#include "common/byte_reader.hpp"
#include "ntfs/fixups.hpp"

namespace pellora {

namespace {

// Byte offsets are sector << 9; beyond this the offset no longer fits a file position.
constexpr std::uint64_t kMaxSector = static_cast<std::uint64_t>(INT64_MAX) >> 9;

}  // namespace

bool HasFileMagic(std::span<const std::byte> bytes) {
  return bytes.size() >= 4 && Le32(bytes, 0) == 0x454C4946;  // "FILE"
}

std::uint8_t RecordFlags(const FileRecord& record) { return Le8(record, 0x16); }

bool IsExtensionRecord(const FileRecord& record) { return Le64(record, 0x20) != 0; }

std::uint64_t BaseRecordNumber(const FileRecord& record) { return ReferenceRecordNumber(Le64(record, 0x20)); }

Source* RecordReader::Device() {
  if (!opened_) {
    opened_ = true;
    if (volume_.sectors != nullptr) device_ = volume_.sectors->OpenDevice(volume_.device_path);
  }
  return device_.get();
}

std::size_t RecordReader::Read(std::uint64_t sector, std::span<std::byte> out) {
  if (Device() == nullptr || sector > kMaxSector || (sector << 9) > volume_.read_limit_bytes) return 0;
  const ReadOutcome read = device_->ReadAt(sector << 9, out);
  return (read.bytes / kSectorSize) * kSectorSize;
}

std::optional<FileRecord> ReadFileRecord(RecordReader& reader, std::uint64_t sector) {
  FileRecord record{};
  if (reader.Read(sector, record) == 0 || !HasFileMagic(record)) return std::nullopt;
  ApplyFixups(record, reader.Volume().cancel);
  return record;
}

}  // namespace pellora
