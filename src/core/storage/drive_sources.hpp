#pragma once

#include <vector>

#include "storage/drive_facts.hpp"

namespace pellora {

class DeviceMap;
class SystemDrives;

struct DriveSources {
  std::vector<DiskFacts> disks;      // every disk number in use, in number order (fixed disks too)
  std::vector<VolumeFacts> volumes;  // in letter order
};

// The facts of every drive the device map knows: the machine's own from the probe, attached
// images and test media synthesised (a disk image is a removable disk; a volume image tells its
// file system from its own boot sector).
DriveSources CollectDriveSources(const DeviceMap& devices, const SystemDrives* system);

}  // namespace pellora
