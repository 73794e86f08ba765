#include "storage/boot_signature.hpp"

#include "common/byte_reader.hpp"

namespace pellora {

bool BytesEqual(std::span<const std::byte> bytes, std::size_t offset, std::string_view text) {
  if (!Fits(bytes, offset, text.size())) return false;
  for (std::size_t i = 0; i < text.size(); ++i)
    if (bytes[offset + i] != static_cast<std::byte>(text[i])) return false;
  return true;
}

bool HasBootSignature(std::span<const std::byte> sector) {
  return sector.size() >= 512 && sector[510] == std::byte{0x55} && sector[511] == std::byte{0xAA};
}

std::string_view FileSystemBySignature(std::span<const std::byte> sector) {
  if (BytesEqual(sector, 82, "FAT32")) return "FAT32";
  if (BytesEqual(sector, 54, "FAT16")) return "FAT16";
  if (BytesEqual(sector, 3, "NTFS")) return "NTFS";
  return {};
}

bool HasGptSignature(std::span<const std::byte> sector) { return BytesEqual(sector, 0, "EFI"); }

}  // namespace pellora
