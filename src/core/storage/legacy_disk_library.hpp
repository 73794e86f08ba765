#pragma once

#include <cstdint>

namespace pellora {

// The external disk-access library of the older consumer platform family ("disk32.dll" with its
// entry "ReadDisk32"). None ships for Linux; a replacement is injected and must keep this contract.
class LegacyDiskLibrary {
 public:
  virtual ~LegacyDiskLibrary() = default;
  // Loads the library; false when it is not found.
  virtual bool Load() = 0;
  // Looks up the read entry; false when it is missing.
  virtual bool FindReadEntry() = 0;
  // The entry, called with eight 32-bit arguments in this order: BIOS drive number, 0, 0, 1, sector
  // count, buffer, low 32 bits of the start sector, 1. Its result is the result of the read.
  virtual int ReadDisk32(std::uint32_t bios_drive, std::uint32_t zero1, std::uint32_t zero2, std::uint32_t one1,
                         std::uint32_t sector_count, void* buffer, std::uint32_t start_sector_low,
                         std::uint32_t one2) = 0;
};

}  // namespace pellora
