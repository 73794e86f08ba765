#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "storage/system_drives.hpp"

namespace pellora::test {

// A small sysfs tree, device folder and mounts table in a temporary folder, with udev properties
// answered from a table, so that drive enumeration runs without touching the machine's devices.
class FakeSysfs {
 public:
  explicit FakeSysfs(std::filesystem::path root);

  struct Disk {
    std::string name{};         // kernel name: "sdb", "mmcblk0"
    std::string device_path{};  // where it hangs: "pci0000:00/usb2/2-1/host1/block" ...
    std::uint64_t sectors = 0;
    bool removable = false;
    std::map<std::string, std::string> attributes{};  // files below device/: vendor, model, rev ...
    std::map<std::string, std::string> udev{};
    std::filesystem::path node{};  // the file that stands for /dev/<name>; none when empty
  };
  struct Partition {
    std::string disk{};
    std::string name{};  // "mmcblk0p1"
    std::uint64_t start = 0;
    std::uint64_t sectors = 0;
    std::map<std::string, std::string> udev{};
    std::filesystem::path node{};
  };

  void AddDisk(const Disk& disk);
  void AddPartition(const Partition& partition);
  // A block device without a parent device (a loop or memory disk).
  void AddVirtual(const std::string& name, std::uint64_t sectors);
  void Mount(const std::string& name, const std::filesystem::path& point);

  SystemDriveConfig Config() const;
  std::filesystem::path DevRoot() const { return root_ / "dev"; }

 private:
  std::filesystem::path root_;
  // Shared with the lookups handed out, so that media added later are answered too.
  std::shared_ptr<std::map<std::string, std::map<std::string, std::string>>> udev_ =
      std::make_shared<std::map<std::string, std::map<std::string, std::string>>>();
};

}  // namespace pellora::test
