#include "support/memory_disk.hpp"

#include "storage/source.hpp"

namespace pellora::test {

TestDisk::TestDisk(std::vector<std::byte> bytes) {
  auto shared = std::make_shared<const std::vector<std::byte>>(std::move(bytes));
  path_ = "\\\\.\\PhysicalDrive0";
  devices_.AddSource(path_, DeviceKind::kDisk,
                     [shared](int*) -> std::unique_ptr<Source> { return std::make_unique<MemorySource>(shared); });
}

TestDisk::TestDisk(const std::filesystem::path& image) { path_ = devices_.AttachDiskImage(image); }

void PutLe(std::vector<std::byte>& bytes, std::size_t offset, std::uint64_t value, int width) {
  for (int i = 0; i < width; ++i)
    bytes.at(offset + static_cast<std::size_t>(i)) = static_cast<std::byte>(value >> (8 * i));
}

void PutText(std::vector<std::byte>& bytes, std::size_t offset, std::string_view text) {
  for (std::size_t i = 0; i < text.size(); ++i) bytes.at(offset + i) = static_cast<std::byte>(text[i]);
}

void MemoryDisk::Byte(std::uint64_t sector, std::size_t offset, std::uint8_t value) {
  Sector(sector)[offset] = static_cast<std::byte>(value);
}

void MemoryDisk::Le16(std::uint64_t sector, std::size_t offset, std::uint16_t value) {
  for (std::size_t i = 0; i < 2; ++i) Byte(sector, offset + i, static_cast<std::uint8_t>(value >> (8 * i)));
}

void MemoryDisk::Le32(std::uint64_t sector, std::size_t offset, std::uint32_t value) {
  for (std::size_t i = 0; i < 4; ++i) Byte(sector, offset + i, static_cast<std::uint8_t>(value >> (8 * i)));
}

void MemoryDisk::Le64(std::uint64_t sector, std::size_t offset, std::uint64_t value) {
  for (std::size_t i = 0; i < 8; ++i) Byte(sector, offset + i, static_cast<std::uint8_t>(value >> (8 * i)));
}

void MemoryDisk::Text(std::uint64_t sector, std::size_t offset, std::string_view text) {
  for (std::size_t i = 0; i < text.size(); ++i) Byte(sector, offset + i, static_cast<std::uint8_t>(text[i]));
}

void MemoryDisk::Signature(std::uint64_t sector) {
  Byte(sector, 510, 0x55);
  Byte(sector, 511, 0xAA);
}

void MemoryDisk::Entry(std::uint64_t sector, int index, std::uint8_t type, std::uint32_t start, std::uint32_t count) {
  const std::size_t at = 446 + static_cast<std::size_t>(index) * 16;
  Byte(sector, at + 4, type);
  Le32(sector, at + 8, start);
  Le32(sector, at + 12, count);
  Signature(sector);
}

void MemoryDisk::FatHeader(std::uint64_t sector, std::uint8_t per_cluster, std::uint16_t reserved) {
  Text(sector, 3, "MSWIN4.1");
  Le16(sector, 0x0B, 512);
  Byte(sector, 0x0D, per_cluster);
  Le16(sector, 0x0E, reserved);
  Byte(sector, 0x10, 2);  // two FATs
}

void MemoryDisk::Fat32Boot(std::uint64_t sector, std::uint8_t per_cluster, std::uint16_t reserved,
                           std::uint32_t per_fat, std::uint32_t root_cluster, std::uint32_t total) {
  FatHeader(sector, per_cluster, reserved);
  Le32(sector, 0x20, total);
  Le32(sector, 0x24, per_fat);
  Le32(sector, 0x2C, root_cluster);
  Text(sector, 0x52, "FAT32   ");
  Signature(sector);
}

void MemoryDisk::Fat16Boot(std::uint64_t sector, std::uint8_t per_cluster, std::uint16_t reserved,
                           std::uint16_t root_entries, std::uint16_t per_fat, std::uint32_t total) {
  FatHeader(sector, per_cluster, reserved);
  Le16(sector, 0x11, root_entries);
  if (total < 0x10000) {
    Le16(sector, 0x13, static_cast<std::uint16_t>(total));
  } else {
    Le32(sector, 0x20, total);
  }
  Le16(sector, 0x16, per_fat);
  Text(sector, 0x36, "FAT16   ");
  Signature(sector);
}

void MemoryDisk::NtfsBoot(std::uint64_t sector, std::uint8_t per_cluster, std::uint64_t total,
                          std::uint64_t mft_cluster, std::uint64_t mirror_cluster, std::uint32_t record,
                          std::uint32_t index) {
  Text(sector, 3, "NTFS    ");
  Le16(sector, 0x0B, 512);
  Byte(sector, 0x0D, per_cluster);
  Le64(sector, 0x28, total);
  Le64(sector, 0x30, mft_cluster);
  Le64(sector, 0x38, mirror_cluster);
  Le32(sector, 0x40, record);
  Le32(sector, 0x44, index);
  Signature(sector);
}

void MemoryDisk::AttachAs(DeviceMap& devices, const std::string& path, DeviceKind kind) const {
  auto snapshot = std::make_shared<const std::vector<std::byte>>(*bytes_);
  devices.AddSource(path, kind,
                    [snapshot](int*) -> std::unique_ptr<Source> { return std::make_unique<MemorySource>(snapshot); });
}

}  // namespace pellora::test
