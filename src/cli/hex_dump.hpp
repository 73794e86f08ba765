#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace pellora::cli {

// One sector as rows of 16 bytes: offset within the sector, hex in two groups of eight, and the
// printable ASCII characters (others as '.').
std::string HexDumpSector(std::span<const std::byte> sector);

// Lower-case hex digits of bytes, no separators.
std::string HexString(std::span<const std::byte> bytes);

}  // namespace pellora::cli
