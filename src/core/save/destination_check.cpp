#include "save/destination_check.hpp"

#include <sys/stat.h>
#include <sys/sysmacros.h>

#include <cerrno>
#include <set>
#include <string>

namespace pellora {

namespace {

namespace fs = std::filesystem;

// The whole disks a block device's data lies on: its own disk for a partition, the disks below
// it for a mapped device (LVM, encryption, RAID), or itself.
void DisksOf(const fs::path& device_folder, const fs::path& sysfs_root, int depth, std::set<fs::path>& disks) {
  std::error_code error;
  const fs::path device = fs::canonical(device_folder, error);
  if (error || depth > 8) return;
  for (const auto& slave : fs::directory_iterator(device / "slaves", error))
    DisksOf(sysfs_root / "class" / "block" / slave.path().filename(), sysfs_root, depth + 1, disks);
  disks.insert(fs::exists(device / "partition", error) ? device.parent_path() : device);
}

std::set<fs::path> DisksOf(dev_t device, const fs::path& sysfs_root) {
  std::set<fs::path> disks;
  const std::string number = std::to_string(major(device)) + ":" + std::to_string(minor(device));
  DisksOf(sysfs_root / "dev" / "block" / number, sysfs_root, 0, disks);
  return disks;
}

// The nearest folder of the path that exists: what the destination will be made on.
fs::path ExistingAncestor(fs::path path) {
  std::error_code error;
  while (!path.empty() && !fs::exists(path, error)) {
    if (path == path.parent_path()) break;
    path = path.parent_path();
  }
  return path;
}

}  // namespace

bool OnSourceMedium(const DeviceMap& devices, const std::string& device_path, const fs::path& destination) {
  const auto source = devices.Find(device_path);
  // An image file is read, never written: a destination beside it harms nothing.
  if (!source || source->origin != DeviceOrigin::kBlockDevice) return false;
  struct stat device {};
  struct stat folder {};
  if (::stat(source->file.c_str(), &device) != 0 || !S_ISBLK(device.st_mode)) return false;
  if (::stat(ExistingAncestor(destination).c_str(), &folder) != 0) return false;
  return OnSameMedium(folder.st_dev, device.st_rdev);
}

bool OnSameMedium(dev_t destination, dev_t source, const fs::path& sysfs_root) {
  if (destination == source) return true;
  const std::set<fs::path> source_disks = DisksOf(source, sysfs_root);
  for (const fs::path& disk : DisksOf(destination, sysfs_root))
    if (source_disks.contains(disk)) return true;
  return false;
}

bool CheckDestination(AppState& app, const fs::path& destination) {
  app.ui.ShowText(UiText::kStatus, kSavingStatusText);
  std::error_code error;
  fs::path base = destination.empty() ? fs::path() : fs::absolute(destination, error).lexically_normal();
  if (!base.has_filename()) base = base.parent_path();  // "dest/" names the same folder as "dest"
  if (base.empty() || error) {
    app.ui.ShowMessage(kInvalidDestinationText, kMessageCaption);
    return false;
  }
  // Checked before anything is made: even an empty folder written there may land on lost data.
  if (OnSourceMedium(app.devices, app.current_device_path, base)) {
    app.ui.ShowMessage(kDifferentDriveNote, kMessageCaption);
    return false;
  }
  fs::create_directories(base, error);
  const fs::path test_folder = base / kTestFolderName;
  const bool made = ::mkdir(test_folder.c_str(), 0777) == 0;
  if (!made && errno != EEXIST) {
    app.ui.ShowMessage(kInvalidDestinationText, kMessageCaption);
    return false;
  }
  // Only the folder made here goes again; one the person keeps there stays.
  if (made) ::rmdir(test_folder.c_str());
  app.save.destination_base = base;
  return true;
}

}  // namespace pellora
