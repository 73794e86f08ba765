// Directory sectors come straight from a damaged card: every entry of a hostile sector, with a
// hostile sector before it for long names, must parse without reading out of bounds.

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "fat/directory_entry.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::array<std::byte, 512> sector{};
  std::array<std::byte, 512> previous{};
  std::memcpy(sector.data(), data, std::min<std::size_t>(size, 512));
  if (size > 512) std::memcpy(previous.data(), data + 512, std::min<std::size_t>(size - 512, 512));
  const pellora::PreviousSectorReader reader = [&](std::uint64_t at,
                                                   std::span<std::byte> out) -> std::optional<std::uint64_t> {
    std::copy(previous.begin(), previous.end(), out.begin());
    if (size % 2 != 0) return std::nullopt;
    return at - 1;
  };
  for (std::size_t index = 0; index < pellora::kEntriesPerSector; ++index) {
    for (const auto mode : {pellora::EntryMode::kFiles, pellora::EntryMode::kFolders}) {
      const auto entry =
          pellora::ParseDirectoryEntry(sector, index, 7, size % 3 == 0, size % 5 == 0, mode, 1u << 31, reader);
      if (entry.accepted && (entry.name.empty() || entry.short_name.empty())) std::abort();
    }
  }
  return 0;
}
