#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <stop_token>
#include <string>

#include "recognition/partition_params.hpp"
#include "storage/sector_access.hpp"

namespace pellora {

// The FAT16 or FAT32 partition the engine reads: the device, the file-system values of the working
// copy, and the token that cancels listing a folder or saving it.
struct FatVolume {
  SectorAccess* sectors = nullptr;
  std::string device_path;
  FileSystemParams params;
  std::uint64_t read_limit_bytes = 0;  // entries claiming more bytes than this are no files
  std::stop_token cancel;

  bool Fat32() const { return params.ParamsFileSystemName == FileSystemKind::kFat32; }
  bool Fat16() const { return params.ParamsFileSystemName == FileSystemKind::kFat16; }
  bool Cancelled() const { return cancel.stop_requested(); }
  // One 512-byte sector through the guarded read; false when it cannot be read.
  bool ReadSector(std::uint64_t sector, std::span<std::byte> out) const {
    return sectors != nullptr && sectors->ReadSectors(1, device_path, sector, out);
  }
};

}  // namespace pellora
