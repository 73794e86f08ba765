#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
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

}  // namespace pellora::test
