#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>

#include "ntfs/ntfs_volume.hpp"
#include "storage/source.hpp"

namespace pellora {

// A FILE record of the $MFT, always handled as two sectors whatever the boot sector says.
inline constexpr std::size_t kFileRecordBytes = 1024;
inline constexpr std::uint64_t kSectorsPerFileRecord = 2;
using FileRecord = std::array<std::byte, kFileRecordBytes>;

// Record flags (byte 0x16): which records are files and folders, in use or deleted.
inline constexpr std::uint8_t kDeletedFile = 0;
inline constexpr std::uint8_t kFileInUse = 1;
inline constexpr std::uint8_t kDeletedFolder = 2;
inline constexpr std::uint8_t kFolderInUse = 3;

bool HasFileMagic(std::span<const std::byte> bytes);
std::uint8_t RecordFlags(const FileRecord& record);
inline bool IsFolderFlags(std::uint8_t flags) { return flags == kDeletedFolder || flags == kFolderInUse; }
inline bool IsFileFlags(std::uint8_t flags) { return flags == kDeletedFile || flags == kFileInUse; }
// Whether a record holds attributes of another (its base record reference is set), and the number
// of that base record.
bool IsExtensionRecord(const FileRecord& record);
std::uint64_t BaseRecordNumber(const FileRecord& record);
// The record number of an MFT reference (its low 48 bits; the high 16 are a sequence number).
inline std::uint64_t ReferenceRecordNumber(std::uint64_t reference) { return reference & 0x0000FFFFFFFFFFFFULL; }

// Reads a volume's records through one read-only handle of its device, opened at the first read
// and kept, so that reading a hundred thousand records costs no more than the reads. Like the
// guarded sector read, it refuses reads that start beyond the volume's read limit.
class RecordReader {
 public:
  explicit RecordReader(const NtfsVolume& volume) : volume_(volume) {}

  // Reads whole sectors from sector into out; returns the bytes read (0 when the device cannot be
  // opened, the read is refused or fails at once; fewer at the end of the medium).
  std::size_t Read(std::uint64_t sector, std::span<std::byte> out);
  const NtfsVolume& Volume() const { return volume_; }
  // The device itself (opened at the first use), for copying file content; null when it cannot be
  // opened.
  Source* Device();

 private:
  const NtfsVolume& volume_;
  std::unique_ptr<Source> device_;
  bool opened_ = false;
};

// Reads the two sectors at sector; a record that does not begin with "FILE" or cannot be read is
// none. Fixups are applied.
std::optional<FileRecord> ReadFileRecord(RecordReader& reader, std::uint64_t sector);

}  // namespace pellora
