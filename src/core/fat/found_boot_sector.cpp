#include "fat/found_boot_sector.hpp"

#include "common/byte_reader.hpp"

namespace pellora {

namespace {

constexpr std::size_t kBootSectorBytes = 512;

bool TextAt(std::span<const std::byte> bytes, std::size_t offset, char first, char second) {
  return Le8(bytes, offset) == static_cast<std::uint8_t>(first) &&
         Le8(bytes, offset + 1) == static_cast<std::uint8_t>(second);
}

}  // namespace

std::optional<FoundBootSector> ReadFoundBootSector(std::span<const std::byte> b, std::uint64_t sector) {
  if (b.size() < kBootSectorBytes || Le8(b, 510) != 0x55 || Le8(b, 511) != 0xAA) return std::nullopt;
  FoundBootSector row;
  // The digits of "FAT32" at 82 or of "FAT16" at 54.
  if (TextAt(b, 85, '3', '2')) {
    row.file_system = FileSystemKind::kFat32;
  } else if (TextAt(b, 57, '1', '6')) {
    row.file_system = FileSystemKind::kFat16;
  } else {
    return std::nullopt;
  }
  const bool fat32 = row.file_system == FileSystemKind::kFat32;
  row.sector = sector;
  row.sectors_per_cluster = Le8(b, 13);
  row.reserved_sectors = Le16(b, 14);
  row.sectors_per_fat = fat32 ? Le32(b, 36) : Le16(b, 22);
  row.root_sectors = fat32 ? 0 : Le16(b, 17) / 16u;
  row.first_fat = sector + row.reserved_sectors;
  row.second_fat = row.first_fat + row.sectors_per_fat;
  const std::uint64_t after_fats = row.first_fat + 2ull * row.sectors_per_fat;
  row.root_start = fat32 ? Le32(b, 44) : after_fats;
  row.cluster0_start = after_fats + row.root_sectors - 2ull * row.sectors_per_cluster;
  // Small volumes count their sectors in the 16-bit field and leave the 32-bit one 0; without it
  // the volume would end at its own boot sector and own no directory.
  const std::uint32_t total = Le32(b, 32) != 0 ? Le32(b, 32) : Le16(b, 19);
  row.end_sector = sector + total;
  return row;
}

}  // namespace pellora
