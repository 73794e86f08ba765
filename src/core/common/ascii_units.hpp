#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

namespace pellora {

// ASCII text to and from UTF-16LE code units, eight characters a step: a recovery log holds a
// million short texts (numbers and names), and a character at a time cost more than the rest of
// writing or reading it. Both return false, with out partly written, when the text is not ASCII;
// the caller then converts it the general way.

namespace ascii_units_detail {

inline constexpr std::uint64_t kHighBits = 0x8080808080808080ULL;
inline constexpr std::uint64_t kUnitHighBits = 0xFF80FF80FF80FF80ULL;

// Four characters (the low half of a word) spread to four code units.
inline std::uint64_t Spread(std::uint64_t four) {
  four = (four | (four << 16)) & 0x0000FFFF0000FFFFULL;
  return (four | (four << 8)) & 0x00FF00FF00FF00FFULL;
}

// Four code units gathered to four characters (the low half of the result).
inline std::uint64_t Gather(std::uint64_t units) {
  units = (units | (units >> 8)) & 0x0000FFFF0000FFFFULL;
  return (units | (units >> 16)) & 0x00000000FFFFFFFFULL;
}

}  // namespace ascii_units_detail

// text as 2 × text.size() bytes at out.
inline bool WidenAscii(std::string_view text, char* out) {
  using namespace ascii_units_detail;
  std::size_t i = 0;
  if constexpr (std::endian::native == std::endian::little) {
    for (; i + 8 <= text.size(); i += 8) {
      std::uint64_t eight = 0;
      std::memcpy(&eight, text.data() + i, 8);
      if ((eight & kHighBits) != 0) return false;
      const std::uint64_t units[2] = {Spread(eight & 0xFFFFFFFFULL), Spread(eight >> 32)};
      std::memcpy(out + 2 * i, units, 16);
    }
  }
  for (; i < text.size(); ++i) {
    const auto c = static_cast<unsigned char>(text[i]);
    if (c >= 0x80) return false;
    out[2 * i] = static_cast<char>(c);
    out[2 * i + 1] = 0;
  }
  return true;
}

// count code units (2 × count bytes at units) as count characters at out.
inline bool NarrowAscii(const std::byte* units, std::size_t count, char* out) {
  using namespace ascii_units_detail;
  std::size_t i = 0;
  if constexpr (std::endian::native == std::endian::little) {
    for (; i + 4 <= count; i += 4) {
      std::uint64_t four = 0;
      std::memcpy(&four, units + 2 * i, 8);
      if ((four & kUnitHighBits) != 0) return false;
      const auto chars = static_cast<std::uint32_t>(Gather(four));
      std::memcpy(out + i, &chars, 4);
    }
  }
  for (; i < count; ++i) {
    const unsigned unit = std::to_integer<unsigned>(units[2 * i]) | (std::to_integer<unsigned>(units[2 * i + 1]) << 8);
    if (unit >= 0x80) return false;
    out[i] = static_cast<char>(unit);
  }
  return true;
}

}  // namespace pellora
