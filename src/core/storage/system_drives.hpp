#pragma once

#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "storage/drive_facts.hpp"

namespace pellora {

class DeviceMap;

using UdevProperties = std::map<std::string, std::string>;
// The udev properties (ID_BUS, ID_FS_TYPE ...) of a block device named by its kernel name.
using UdevLookup = std::function<UdevProperties(const std::string& sysname)>;
// Asks the udev database through libudev.
UdevLookup LibudevLookup();

struct SystemDriveConfig {
  std::filesystem::path sysfs_root = "/sys";
  std::filesystem::path dev_root = "/dev";
  std::filesystem::path mounts = "/proc/self/mounts";
  UdevLookup udev;  // empty: libudev
};

// The disks and volumes of this machine. Disks are numbered in a stable order of their kernel
// names (PhysicalDrive0 .. 24); fixed disks are queried and keep their numbers but are never
// offered. Volumes are the partitions of the removable disks (or a removable disk formatted as a
// whole); each keeps its drive letter for as long as the same medium is present.
class SystemDrives {
 public:
  static constexpr int kMaxDisks = 25;

  explicit SystemDrives(SystemDriveConfig config = {});

  void Probe();
  // Every probed disk, fixed ones included.
  const std::vector<DiskFacts>& Disks() const { return disks_; }
  const std::vector<VolumeFacts>& Volumes() const { return volumes_; }
  // Puts the removable disks and their volumes into the device map (replacing earlier block
  // devices) and reserves the numbers of the others.
  void Register(DeviceMap& devices) const;

  static bool Removable(const DiskFacts& disk);

 private:
  void ProbeVolumes(const std::string& name, const DiskFacts& disk, const UdevProperties& disk_properties);
  char LetterFor(const std::string& key, const std::vector<char>& taken);

  SystemDriveConfig config_;
  std::vector<DiskFacts> disks_;
  std::vector<VolumeFacts> volumes_;
  std::map<std::string, char> letters_;
};

}  // namespace pellora
