#include "storage/drive_sources.hpp"

#include <algorithm>

#include "storage/device_map.hpp"
#include "storage/device_path.hpp"
#include "storage/file_system_probe.hpp"
#include "storage/system_drives.hpp"

namespace pellora {

namespace {

std::uint64_t SizeOf(const DeviceMap& devices, const DeviceEntry& entry) {
  int error = 0;
  const auto source = devices.Open(entry.path, &error);
  return source ? source->SizeBytes() : 0;
}

VolumeFacts ImageVolumeFacts(const DeviceMap& devices, const DeviceEntry& entry) {
  VolumeFacts volume;
  volume.device_path = entry.path;
  volume.system_name = entry.file.string();
  volume.total_bytes = SizeOf(devices, entry);
  volume.sector_count = volume.total_bytes / 512;
  if (!entry.file.empty()) {
    const FileSystemFacts facts = ProbeFileSystem(entry.file);
    volume.file_system = FileSystemDisplayName(facts.type, facts.version);
    volume.label = facts.label;
    volume.serial = facts.uuid;
  }
  return volume;
}

}  // namespace

DriveSources CollectDriveSources(const DeviceMap& devices, const SystemDrives* system) {
  DriveSources sources;
  if (system != nullptr) {
    for (const DiskFacts& disk : system->Disks())
      if (!SystemDrives::Removable(disk) || devices.Find(disk.device_path)) sources.disks.push_back(disk);
  }
  for (const DeviceEntry& entry : devices.Entries()) {
    if (entry.kind == DeviceKind::kDisk) {
      if (entry.origin == DeviceOrigin::kBlockDevice) continue;  // from the probe above
      const auto number = ParsePhysicalDrivePath(entry.path);
      if (!number) continue;
      sources.disks.push_back(ImageDiskFacts(*number, entry.path,
                                             entry.file.empty() ? std::filesystem::path(entry.path) : entry.file,
                                             SizeOf(devices, entry)));
    } else if (entry.origin == DeviceOrigin::kBlockDevice) {
      if (system == nullptr) continue;
      for (const VolumeFacts& volume : system->Volumes())
        if (volume.device_path == entry.path) sources.volumes.push_back(volume);
    } else {
      sources.volumes.push_back(ImageVolumeFacts(devices, entry));
    }
  }
  std::sort(sources.disks.begin(), sources.disks.end(),
            [](const DiskFacts& a, const DiskFacts& b) { return a.disk_number < b.disk_number; });
  std::sort(sources.volumes.begin(), sources.volumes.end(),
            [](const VolumeFacts& a, const VolumeFacts& b) { return a.device_path < b.device_path; });
  return sources;
}

}  // namespace pellora
