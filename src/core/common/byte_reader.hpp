#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <stdexcept>

namespace pellora {

// Little-endian field readers over bytes taken from a disk. Parsers check with Fits() before they
// read; the readers throw instead of reading out of bounds, so a missed check is a reported failure
// rather than a crash.
inline bool Fits(std::span<const std::byte> bytes, std::uint64_t offset, std::uint64_t length) {
  return offset <= bytes.size() && length <= bytes.size() - offset;
}

template <typename T>
T ReadLe(std::span<const std::byte> bytes, std::uint64_t offset) {
  if (!Fits(bytes, offset, sizeof(T))) throw std::out_of_range("field beyond the end of the buffer");
  std::uint64_t value = 0;
  for (std::size_t i = 0; i < sizeof(T); ++i)
    value |= static_cast<std::uint64_t>(std::to_integer<std::uint8_t>(bytes[offset + i])) << (8 * i);
  return static_cast<T>(value);
}

inline std::uint8_t Le8(std::span<const std::byte> b, std::uint64_t off) { return ReadLe<std::uint8_t>(b, off); }
inline std::uint16_t Le16(std::span<const std::byte> b, std::uint64_t off) { return ReadLe<std::uint16_t>(b, off); }
inline std::uint32_t Le32(std::span<const std::byte> b, std::uint64_t off) { return ReadLe<std::uint32_t>(b, off); }
inline std::uint64_t Le64(std::span<const std::byte> b, std::uint64_t off) { return ReadLe<std::uint64_t>(b, off); }

inline std::span<const std::byte> AsBytes(const void* data, std::size_t size) {
  return {static_cast<const std::byte*>(data), size};
}

}  // namespace pellora
