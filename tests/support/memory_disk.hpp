#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "common/search_mode.hpp"
#include "storage/device_map.hpp"
#include "storage/read_guard.hpp"
#include "storage/sector_access.hpp"
#include "support/scripted_ui.hpp"

namespace pellora::test {

// Sector access over a medium the test holds: bytes in memory, or an image file. The medium is
// "\\.\PhysicalDrive0".
class TestDisk {
 public:
  explicit TestDisk(std::vector<std::byte> bytes);
  explicit TestDisk(const std::filesystem::path& image);

  SectorAccess& Sectors() { return sectors_; }
  const std::string& Path() const { return path_; }
  ScriptedUi& Ui() { return ui_; }
  CurrentMode& Mode() { return mode_; }
  ReadGuard& Guard() { return guard_; }
  DeviceMap& Devices() { return devices_; }

 private:
  ScriptedUi ui_;
  CurrentMode mode_;
  ReadGuard guard_{mode_};
  DeviceMap devices_;
  SectorAccess sectors_{devices_, guard_, ui_};
  std::string path_;
};

// Writes little-endian values into a byte buffer (for crafted sectors).
void PutLe(std::vector<std::byte>& bytes, std::size_t offset, std::uint64_t value, int width);
void PutText(std::vector<std::byte>& bytes, std::size_t offset, std::string_view text);

// A disk held in memory, written sector by sector with little-endian fields, then handed to a
// DeviceMap as a test medium.
class MemoryDisk {
 public:
  explicit MemoryDisk(std::uint64_t sectors) : bytes_(std::make_shared<std::vector<std::byte>>(sectors * 512)) {}

  std::span<std::byte> Sector(std::uint64_t n) { return std::span(*bytes_).subspan(n * 512, 512); }
  void Byte(std::uint64_t sector, std::size_t offset, std::uint8_t value);
  void Le16(std::uint64_t sector, std::size_t offset, std::uint16_t value);
  void Le32(std::uint64_t sector, std::size_t offset, std::uint32_t value);
  void Le64(std::uint64_t sector, std::size_t offset, std::uint64_t value);
  void Text(std::uint64_t sector, std::size_t offset, std::string_view text);
  void Signature(std::uint64_t sector);  // 55 AA at 510

  // An MBR entry (index 0..3) in the MBR or EBR at sector.
  void Entry(std::uint64_t sector, int index, std::uint8_t type, std::uint32_t start, std::uint32_t count);
  // Boot sectors with the fields the recognisers read.
  void Fat32Boot(std::uint64_t sector, std::uint8_t per_cluster, std::uint16_t reserved, std::uint32_t per_fat,
                 std::uint32_t root_cluster, std::uint32_t total);
  void Fat16Boot(std::uint64_t sector, std::uint8_t per_cluster, std::uint16_t reserved, std::uint16_t root_entries,
                 std::uint16_t per_fat, std::uint32_t total);
  void NtfsBoot(std::uint64_t sector, std::uint8_t per_cluster, std::uint64_t total, std::uint64_t mft_cluster,
                std::uint64_t mirror_cluster, std::uint32_t record = 0xF6, std::uint32_t index = 0xF4);

  // Attached under path (a copy of the bytes as they are now).
  void AttachAs(DeviceMap& devices, const std::string& path, DeviceKind kind = DeviceKind::kDisk) const;

 private:
  void FatHeader(std::uint64_t sector, std::uint8_t per_cluster, std::uint16_t reserved);

  std::shared_ptr<std::vector<std::byte>> bytes_;
};
}  // namespace pellora::test
