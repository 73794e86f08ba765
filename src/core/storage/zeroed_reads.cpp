#include "storage/zeroed_reads.hpp"

#include <algorithm>

#include "storage/sector_access.hpp"

namespace pellora {

SectorBytes ReadSectorOrZeros(SectorAccess& sectors, const std::string& path, std::uint64_t sector) {
  SectorBytes buffer{};
  sectors.ReadSectors(1, path, sector, buffer);
  return buffer;
}

std::size_t ReadSectorsOrZeros(Source& device, std::uint64_t sector, std::span<std::byte> buffer) {
  // Offsets past what a file position can hold are no sectors of any medium.
  if (sector > (UINT64_MAX >> 9)) {
    std::fill(buffer.begin(), buffer.end(), std::byte{0});
    return 0;
  }
  const ReadOutcome outcome = device.ReadAt(sector * kSectorSize, buffer);
  std::fill(buffer.begin() + static_cast<std::ptrdiff_t>(outcome.bytes), buffer.end(), std::byte{0});
  return outcome.bytes / kSectorSize;
}

}  // namespace pellora
