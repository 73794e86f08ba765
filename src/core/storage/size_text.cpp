#include "storage/size_text.hpp"

#include <array>
#include <cstdio>

namespace pellora {

std::string SizeText(std::uint64_t bytes) {
  std::array<char, 32> text{};
  if (bytes < 1024) {
    std::snprintf(text.data(), text.size(), "%u Byte", static_cast<unsigned>(bytes));
    return text.data();
  }
  constexpr std::string_view kUnits = "KMGTPEZY";
  std::size_t unit = 0;
  std::uint64_t value = bytes;
  while (value >= 0x100000) {
    value = (value >> 10) + ((value & 1023) >= 512 ? 1 : 0);  // (value + 512) >> 10 without wrapping
    ++unit;
  }
  std::snprintf(text.data(), text.size(), "%6.2f %cB", static_cast<double>(value) / 1024.0, kUnits[unit]);
  return text.data();
}

}  // namespace pellora
