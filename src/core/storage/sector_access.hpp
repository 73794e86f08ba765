#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <span>
#include <string>
#include <string_view>

#include "storage/device_map.hpp"
#include "storage/legacy_disk_library.hpp"
#include "storage/read_guard.hpp"

namespace pellora {

class Ui;

inline constexpr std::uint32_t kSectorSize = 512;

// Platform family: 'N' reads through the device map, 'F' hands reads to the legacy library.
inline constexpr char kPlatformNt = 'N';
inline constexpr char kPlatformLegacy = 'F';

// The one way the engines read a medium: whole 512-byte sectors at an absolute sector number of a
// device path. Each call opens its own read-only handle, so calls on different threads never
// share a file position.
class SectorAccess {
 public:
  SectorAccess(const DeviceMap& devices, const ReadGuard& guard, Ui& ui) : devices_(devices), guard_(guard), ui_(ui) {}

  // Set once at start-up, before the first read. Any value but 'N' and 'F' refuses every read.
  void SetPlatformMode(char mode) { platform_mode_ = mode; }
  char PlatformMode() const { return platform_mode_; }
  void SetLegacyLibrary(std::unique_ptr<LegacyDiskLibrary> library);

  // Reads count sectors starting at sector into buffer (at least count * 512 bytes). Returns 1 when
  // the read succeeded, even short at the end of the medium, else 0. The buffer is untouched when
  // the device cannot be opened or positioned or the read guard refuses the start.
  int ReadSectors(std::uint32_t count, std::string path, std::uint64_t sector, std::span<std::byte> buffer);

  // Long linear scans open the device once and read it themselves, outside the read guard.
  std::unique_ptr<Source> OpenDevice(std::string_view path, int* error = nullptr) const {
    return devices_.Open(path, error);
  }
  const DeviceMap& Devices() const { return devices_; }

 private:
  int ReadNt(std::uint32_t count, const std::string& path, std::uint64_t sector, std::span<std::byte> buffer);
  int ReadLegacy(std::uint32_t count, const std::string& path, std::uint64_t sector, std::span<std::byte> buffer);

  const DeviceMap& devices_;
  const ReadGuard& guard_;
  Ui& ui_;
  char platform_mode_ = kPlatformNt;
  std::mutex legacy_mutex_;
  std::unique_ptr<LegacyDiskLibrary> legacy_;
  bool legacy_ready_ = false;  // library loaded and entry found; kept for the life of the process
};

}  // namespace pellora
