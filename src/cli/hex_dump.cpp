#include "hex_dump.hpp"

#include <cstdio>

namespace pellora::cli {

std::string HexDumpSector(std::span<const std::byte> sector) {
  std::string out;
  char cell[24];
  for (std::size_t row = 0; row < sector.size(); row += 16) {
    std::snprintf(cell, sizeof cell, "%03zx  ", row);
    out += cell;
    std::string text;
    for (std::size_t i = 0; i < 16; ++i) {
      if (row + i < sector.size()) {
        const auto value = std::to_integer<unsigned>(sector[row + i]);
        std::snprintf(cell, sizeof cell, "%02x ", value);
        out += cell;
        text.push_back(value >= 0x20 && value < 0x7F ? static_cast<char>(value) : '.');
      } else {
        out += "   ";
      }
      if (i == 7) out += ' ';
    }
    out += " |" + text + "|\n";
  }
  return out;
}

std::string HexString(std::span<const std::byte> bytes) {
  static constexpr char kDigits[] = "0123456789abcdef";
  std::string out;
  out.reserve(bytes.size() * 2);
  for (std::byte b : bytes) {
    const auto value = std::to_integer<unsigned>(b);
    out.push_back(kDigits[value >> 4]);
    out.push_back(kDigits[value & 0xF]);
  }
  return out;
}

}  // namespace pellora::cli
