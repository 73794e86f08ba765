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

// What one read of sectors gave.
struct SectorRead {
  enum class Status {
    kRead,      // the sectors are in the buffer (fewer at the end of the medium)
    kRefused,   // the read guard or the platform mode refused the start; nothing was opened
    kUnopened,  // the device could not be opened
    kFailed,    // the medium reported an error, or the start lies past its end
  };
  Status status = Status::kFailed;
  int error = 0;          // errno of a failed open or read
  int legacy_result = 0;  // platform mode 'F': the library's own return value (0 is a failure)

  explicit operator bool() const { return status == Status::kRead; }
};

// The one way the engines read a medium: whole 512-byte sectors at an absolute sector number of a
// device path. The source of the device path read last stays open until another path is read or
// the run ends (EndRun), so that a search or a save does not open the device once per read; reads
// are positioned (pread), so calls on different threads never share a file position.
class SectorAccess {
 public:
  SectorAccess(const DeviceMap& devices, const ReadGuard& guard, Ui& ui) : devices_(devices), guard_(guard), ui_(ui) {}

  // Set once at start-up, before the first read. Any value but 'N' and 'F' refuses every read.
  void SetPlatformMode(char mode) { platform_mode_ = mode; }
  char PlatformMode() const { return platform_mode_; }
  void SetLegacyLibrary(std::unique_ptr<LegacyDiskLibrary> library);

  // Reads count sectors starting at sector into buffer (at least count * 512 bytes); a read that
  // succeeded short at the end of the medium counts as read. The buffer is untouched when the
  // device cannot be opened or positioned or the read guard refuses the start. A failed read lets
  // go of the kept source, so that a device that went and came back is opened again.
  SectorRead ReadSectors(std::uint32_t count, std::string path, std::uint64_t sector, std::span<std::byte> buffer);

  // The end of a search, a save or a file list: the kept source is closed.
  void EndRun();

  // Long linear scans open the device once and read it themselves, outside the read guard.
  std::unique_ptr<Source> OpenDevice(std::string_view path, int* error = nullptr) const {
    return devices_.Open(path, error);
  }
  const DeviceMap& Devices() const { return devices_; }

 private:
  SectorRead ReadNt(std::uint32_t count, const std::string& path, std::uint64_t sector, std::span<std::byte> buffer);
  SectorRead ReadLegacy(std::uint32_t count, const std::string& path, std::uint64_t sector,
                        std::span<std::byte> buffer);
  // The kept source of path, opened when another path (or none) is kept; nullptr when it cannot be
  // opened (errno in *error).
  std::shared_ptr<Source> KeptSource(const std::string& path, int* error);
  void Forget(const std::shared_ptr<Source>& source);

  const DeviceMap& devices_;
  const ReadGuard& guard_;
  Ui& ui_;
  char platform_mode_ = kPlatformNt;
  std::mutex legacy_mutex_;
  std::unique_ptr<LegacyDiskLibrary> legacy_;
  bool legacy_ready_ = false;  // library loaded and entry found; kept for the life of the process
  std::mutex kept_mutex_;
  std::string kept_path_;
  std::shared_ptr<Source> kept_;
};

}  // namespace pellora
