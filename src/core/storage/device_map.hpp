#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <shared_mutex>
#include <string>
#include <string_view>
#include <vector>

#include "storage/source.hpp"

namespace pellora {

enum class DeviceKind { kDisk, kVolume };
enum class DeviceOrigin { kImage, kBlockDevice, kOther };

// Opens the medium behind a device path; nullptr on failure with errno's value in *error.
using SourceOpener = std::function<std::unique_ptr<Source>(int* error)>;

struct DeviceEntry {
  std::string path;  // "\\.\PhysicalDrive1" or "\\.\E:"
  DeviceKind kind = DeviceKind::kDisk;
  std::filesystem::path file;                  // the image file or the /dev node; empty for sources held in memory
  DeviceOrigin origin = DeviceOrigin::kOther;  // attached image, device found on the machine, test medium
  SourceOpener open;
};

// Asks a system service to open a block device node read-only for a person who may not open it
// (the desktop program's UDisks2 client); returns the descriptor, or -1 with errno's value in *error.
using AccessBroker = std::function<int(const std::filesystem::path& node, int* error)>;

// Resolves the device paths of the system to what backs them on this machine: block devices found
// by drive enumeration and image files the user attached. Every opener opens read-only.
class DeviceMap {
 public:
  // Attach an image file as the next disk (first free disk number) or volume (first free letter
  // from D). Returns the device path it was given.
  std::string AttachDiskImage(const std::filesystem::path& file);
  std::string AttachVolumeImage(const std::filesystem::path& file);
  // A block device found on the machine, under the path enumeration chose for it.
  void AddBlockDevice(std::string path, DeviceKind kind, std::filesystem::path node);
  // Used when a block device cannot be opened for want of permission (EACCES or EPERM), by the
  // block devices added from then on (set it before the drives are listed).
  void SetAccessBroker(AccessBroker broker);
  // Any medium under a chosen path (fault-injecting or in-memory media in tests).
  void AddSource(std::string path, DeviceKind kind, SourceOpener open);
  // Forgets the block devices (before drives are listed again); attached images stay.
  void RemoveBlockDevices();
  // A disk number the machine gives a fixed disk: it is never listed, but an image attached later
  // must not take its number.
  void ReserveDiskNumber(int number);

  std::optional<DeviceEntry> Find(std::string_view path) const;
  std::vector<DeviceEntry> Entries() const;
  std::unique_ptr<Source> Open(std::string_view path, int* error) const;

  // A drive as a person names it: "disk:N", "vol:E", a device path, or the path of an attached
  // image. nullopt when nothing attached or found answers to the name.
  std::optional<std::string> ResolveName(std::string_view name) const;

 private:
  void Add(DeviceEntry entry);
  int NextDiskNumber() const;
  char NextVolumeLetter() const;

  mutable std::shared_mutex mutex_;
  std::vector<DeviceEntry> entries_;
  // Shared with the openers of the block devices, which outlive no map but may run on any thread.
  std::shared_ptr<AccessBroker> broker_ = std::make_shared<AccessBroker>();
  std::vector<int> reserved_disk_numbers_;
};

// What to do when a drive may not be read by this user (errno EACCES or EPERM): the program runs
// as the person, and block devices belong to root and the disk group. Empty for other errors.
std::string NoAccessAdvice(const DeviceEntry& entry, int error);

}  // namespace pellora
