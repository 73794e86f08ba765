#include "storage/system_drives.hpp"

#include <fcntl.h>
#include <libudev.h>
#include <linux/hdreg.h>
#include <sys/ioctl.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <algorithm>
#include <fstream>
#include <sstream>

#include "common/text.hpp"
#include "storage/bus_type.hpp"
#include "storage/device_map.hpp"
#include "storage/device_path.hpp"

namespace pellora {

namespace {

namespace fs = std::filesystem;

std::string ReadAttribute(const fs::path& file) {
  std::ifstream in(file);
  std::string text;
  std::getline(in, text);
  return std::string(Trim(text));
}

std::uint64_t ReadNumber(const fs::path& file) {
  const std::int64_t value = ParseDecimalPrefix(ReadAttribute(file));
  return value > 0 ? static_cast<std::uint64_t>(value) : 0;
}

std::string Property(const UdevProperties& properties, const std::string& name) {
  const auto at = properties.find(name);
  return at == properties.end() ? std::string() : at->second;
}

std::string FirstOf(std::initializer_list<std::string> candidates) {
  for (const std::string& candidate : candidates)
    if (!candidate.empty()) return candidate;
  return {};
}

// Kernel names that are never media a person plugs in: memory, loop, mapper, RAID, optical and
// floppy drives.
bool IgnoredName(const std::string& name) {
  for (const char* prefix : {"loop", "ram", "zram", "dm-", "md", "sr", "fd", "nbd", "zd"})
    if (name.starts_with(prefix)) return true;
  return false;
}

int BusOf(const std::string& name, const std::string& devpath, const UdevProperties& properties) {
  const std::string bus = Property(properties, "ID_BUS");
  if (name.starts_with("mmcblk") || devpath.find("/mmc_host/") != std::string::npos)
    return static_cast<int>(BusType::kSd);
  if (bus == "usb" || devpath.find("/usb") != std::string::npos) return static_cast<int>(BusType::kUsb);
  if (name.starts_with("nvme") || bus == "nvme") return static_cast<int>(BusType::kNvme);
  if (bus == "ata")
    return static_cast<int>(Property(properties, "ID_ATA_SATA") == "1" ? BusType::kSata : BusType::kAta);
  if (bus == "scsi") return static_cast<int>(BusType::kScsi);
  if (bus == "ieee1394") return static_cast<int>(BusType::kIeee1394);
  if (devpath.find("/virtio") != std::string::npos) return static_cast<int>(BusType::kVirtual);
  return static_cast<int>(BusType::kUnknown);
}

// Heads and sectors per track as the kernel reports them; 255 x 63 when it reports none or the
// disk is not to be opened.
void Geometry(const fs::path& node, bool open_device, DiskFacts& facts) {
  facts.tracks_per_cylinder = 255;
  facts.sectors_per_track = 63;
  const int fd = open_device ? ::open(node.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC) : -1;
  if (fd >= 0) {
    hd_geometry geometry{};
    if (::ioctl(fd, HDIO_GETGEO, &geometry) == 0 && geometry.heads != 0 && geometry.sectors != 0) {
      facts.tracks_per_cylinder = geometry.heads;
      facts.sectors_per_track = geometry.sectors;
    }
    ::close(fd);
  }
  // The kernel's cylinder count is 16 bits wide; the size gives the real one.
  facts.cylinders = facts.total_sectors / (std::uint64_t{facts.tracks_per_cylinder} * facts.sectors_per_track);
}

// Where each device node is mounted, from a mounts table.
std::map<std::string, std::string> MountPoints(const fs::path& mounts) {
  std::map<std::string, std::string> points;
  std::ifstream in(mounts);
  std::string line;
  while (std::getline(in, line)) {
    std::istringstream fields(line);
    std::string device;
    std::string point;
    if (fields >> device >> point) points.emplace(device, ReplaceAll(point, "\\040", " "));
  }
  return points;
}

// Natural enough for kernel names: shorter first, so sdz comes before sdaa and mmcblk2 before mmcblk10.
bool NameOrder(const std::string& a, const std::string& b) {
  return a.size() != b.size() ? a.size() < b.size() : a < b;
}

}  // namespace

UdevLookup LibudevLookup() {
  return [](const std::string& sysname) {
    UdevProperties properties;
    udev* context = udev_new();
    if (context == nullptr) return properties;
    if (udev_device* device = udev_device_new_from_subsystem_sysname(context, "block", sysname.c_str())) {
      for (udev_list_entry* entry = udev_device_get_properties_list_entry(device); entry != nullptr;
           entry = udev_list_entry_get_next(entry)) {
        const char* value = udev_list_entry_get_value(entry);
        properties.emplace(udev_list_entry_get_name(entry), value != nullptr ? value : "");
      }
      udev_device_unref(device);
    }
    udev_unref(context);
    return properties;
  };
}

SystemDrives::SystemDrives(SystemDriveConfig config) : config_(std::move(config)) {
  if (!config_.udev) config_.udev = LibudevLookup();
}

bool SystemDrives::Removable(const DiskFacts& disk) {
  return MediaTypeText(disk.media_type, disk.bus_type).find("Removable") != std::string::npos;
}

void SystemDrives::Probe() {
  disks_.clear();
  volumes_.clear();
  std::vector<std::string> names;
  std::error_code error;
  for (const auto& entry : fs::directory_iterator(config_.sysfs_root / "block", error)) {
    const std::string name = entry.path().filename().string();
    if (IgnoredName(name)) continue;
    // Devices without a parent device are virtual (memory disks, mappers).
    if (!fs::exists(entry.path() / "device", error)) continue;
    names.push_back(name);
  }
  std::sort(names.begin(), names.end(), NameOrder);
  if (names.size() > kMaxDisks) names.resize(kMaxDisks);

  for (std::size_t number = 0; number < names.size(); ++number) {
    const std::string& name = names[number];
    const fs::path block = config_.sysfs_root / "block" / name;
    const fs::path device = block / "device";
    const UdevProperties properties = config_.udev(name);
    const std::string devpath = fs::weakly_canonical(block, error).string();

    DiskFacts facts;
    facts.disk_number = static_cast<int>(number);
    facts.device_path = PhysicalDrivePath(facts.disk_number);
    facts.system_name = (config_.dev_root / name).string();
    facts.total_sectors = ReadNumber(block / "size");  // always in 512-byte units
    facts.bus_type = BusOf(name, devpath, properties);
    if (facts.total_sectors != 0) {
      const bool removable = ReadAttribute(block / "removable") == "1";
      // A card reader's slot counts as removable whatever the kernel flags.
      facts.media_type =
          (removable || facts.bus_type == static_cast<int>(BusType::kSd)) ? kRemovableMedia : kFixedMedia;
    }
    // Only the disks that are offered are opened: a fixed disk is never read, not even for its
    // geometry, and sysfs has already told which is which.
    Geometry(facts.system_name, Removable(facts), facts);
    facts.vendor = FirstOf({ReadAttribute(device / "vendor"), ReplaceAll(Property(properties, "ID_VENDOR"), "_", " ")});
    facts.product = FirstOf({ReadAttribute(device / "model"), ReadAttribute(device / "name"),
                             ReplaceAll(Property(properties, "ID_MODEL"), "_", " ")});
    facts.revision =
        FirstOf({ReadAttribute(device / "rev"), ReadAttribute(device / "fwrev"), Property(properties, "ID_REVISION")});
    facts.serial = FirstOf({Property(properties, "ID_SERIAL_SHORT"), ReadAttribute(device / "serial")});
    disks_.push_back(facts);
    if (Removable(facts)) ProbeVolumes(name, facts, properties);
  }
}

void SystemDrives::ProbeVolumes(const std::string& name, const DiskFacts& disk, const UdevProperties& disk_properties) {
  const fs::path block = config_.sysfs_root / "block" / name;
  const auto mounts = MountPoints(config_.mounts);
  std::vector<std::string> parts;
  std::error_code error;
  for (const auto& entry : fs::directory_iterator(block, error))
    if (fs::exists(entry.path() / "partition", error)) parts.push_back(entry.path().filename().string());
  std::sort(parts.begin(), parts.end(), NameOrder);

  auto add = [&](const std::string& sysname, const UdevProperties& properties, std::uint64_t first,
                 std::uint64_t count) {
    VolumeFacts volume;
    volume.system_name = (config_.dev_root / sysname).string();
    volume.file_system =
        FileSystemDisplayName(Property(properties, "ID_FS_TYPE"), Property(properties, "ID_FS_VERSION"));
    volume.label = Property(properties, "ID_FS_LABEL");
    volume.serial = Property(properties, "ID_FS_UUID");
    volume.total_bytes = count * 512;
    volume.disk_number = disk.disk_number;
    volume.first_sector = first;
    volume.sector_count = count;
    if (const auto point = mounts.find(volume.system_name); point != mounts.end()) {
      struct statvfs info {};
      if (::statvfs(point->second.c_str(), &info) == 0)
        volume.free_bytes = static_cast<std::uint64_t>(info.f_bavail) * info.f_frsize;
    }
    std::vector<char> taken;
    for (const VolumeFacts& other : volumes_) taken.push_back(other.device_path.at(4));
    const char letter = LetterFor(sysname + "|" + volume.serial, taken);
    if (letter == 0) return;  // every letter is in use
    volume.device_path = VolumePath(letter);
    volumes_.push_back(volume);
  };

  if (parts.empty()) {
    // A card formatted without a partition table is one volume.
    if (!Property(disk_properties, "ID_FS_TYPE").empty()) add(name, disk_properties, 0, disk.total_sectors);
    return;
  }
  for (const std::string& part : parts) {
    const std::uint64_t count = ReadNumber(block / part / "size");
    if (count <= 2) continue;  // the stub of an extended partition
    add(part, config_.udev(part), ReadNumber(block / part / "start"), count);
  }
}

char SystemDrives::LetterFor(const std::string& key, const std::vector<char>& taken) {
  auto free = [&](char letter, bool avoid_remembered) {
    if (std::find(taken.begin(), taken.end(), letter) != taken.end()) return false;
    if (!avoid_remembered) return true;
    return std::none_of(letters_.begin(), letters_.end(), [&](const auto& kept) { return kept.second == letter; });
  };
  if (const auto kept = letters_.find(key); kept != letters_.end() && free(kept->second, false)) return kept->second;
  for (const bool avoid_remembered : {true, false})
    for (char letter = 'D'; letter <= 'Z'; ++letter)
      if (free(letter, avoid_remembered)) return letters_[key] = letter;
  return 0;
}

void SystemDrives::Register(DeviceMap& devices) const {
  devices.RemoveBlockDevices();
  for (const DiskFacts& disk : disks_) {
    if (Removable(disk)) {
      devices.AddBlockDevice(disk.device_path, DeviceKind::kDisk, disk.system_name);
    } else {
      devices.ReserveDiskNumber(disk.disk_number);
    }
  }
  for (const VolumeFacts& volume : volumes_)
    devices.AddBlockDevice(volume.device_path, DeviceKind::kVolume, volume.system_name);
}

}  // namespace pellora
