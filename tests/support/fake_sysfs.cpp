#include "support/fake_sysfs.hpp"

#include <fstream>

#include "support/temp_dir.hpp"

namespace pellora::test {

namespace fs = std::filesystem;

FakeSysfs::FakeSysfs(fs::path root) : root_(std::move(root)) {
  fs::create_directories(root_ / "sys" / "block");
  fs::create_directories(root_ / "dev");
  WriteFile(root_ / "mounts", "");
}

void FakeSysfs::AddDisk(const Disk& disk) {
  const fs::path folder = root_ / "sys" / "devices" / disk.device_path / disk.name;
  fs::create_directories(folder / "device");
  WriteFile(folder / "size", std::to_string(disk.sectors) + "\n");
  WriteFile(folder / "removable", disk.removable ? "1\n" : "0\n");
  for (const auto& [name, value] : disk.attributes) WriteFile(folder / "device" / name, value + "\n");
  fs::create_directory_symlink(folder, root_ / "sys" / "block" / disk.name);
  if (!disk.node.empty()) fs::create_symlink(disk.node, DevRoot() / disk.name);
  (*udev_)[disk.name] = disk.udev;
}

void FakeSysfs::AddPartition(const Partition& partition) {
  const fs::path folder = fs::canonical(root_ / "sys" / "block" / partition.disk) / partition.name;
  fs::create_directories(folder);
  WriteFile(folder / "partition", "1\n");
  WriteFile(folder / "start", std::to_string(partition.start) + "\n");
  WriteFile(folder / "size", std::to_string(partition.sectors) + "\n");
  if (!partition.node.empty()) fs::create_symlink(partition.node, DevRoot() / partition.name);
  (*udev_)[partition.name] = partition.udev;
}

void FakeSysfs::AddVirtual(const std::string& name, std::uint64_t sectors) {
  const fs::path folder = root_ / "sys" / "devices" / "virtual" / "block" / name;
  fs::create_directories(folder);
  WriteFile(folder / "size", std::to_string(sectors) + "\n");
  WriteFile(folder / "removable", "0\n");
  fs::create_directory_symlink(folder, root_ / "sys" / "block" / name);
}

void FakeSysfs::Mount(const std::string& name, const fs::path& point) {
  std::ofstream(root_ / "mounts", std::ios::app)
      << (DevRoot() / name).string() << ' ' << point.string() << " vfat rw 0 0\n";
}

SystemDriveConfig FakeSysfs::Config() const {
  SystemDriveConfig config;
  config.sysfs_root = root_ / "sys";
  config.dev_root = DevRoot();
  config.mounts = root_ / "mounts";
  config.udev = [table = udev_](const std::string& sysname) {
    const auto at = table->find(sysname);
    return at == table->end() ? UdevProperties{} : UdevProperties(at->second.begin(), at->second.end());
  };
  return config;
}

}  // namespace pellora::test
