#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace pellora {

class SectorAccess;
class Source;

// Reads whose failure leaves zeros: a sector that could not be read carries no signature, and is
// never mistaken for the sector read before it.
using SectorBytes = std::array<std::byte, 512>;

// One sector through ReadSectors (and its read guard).
SectorBytes ReadSectorOrZeros(SectorAccess& sectors, const std::string& path, std::uint64_t sector);

// Sectors from a handle a long scan holds itself; returns how many whole sectors were read.
std::size_t ReadSectorsOrZeros(Source& device, std::uint64_t sector, std::span<std::byte> buffer);

}  // namespace pellora
