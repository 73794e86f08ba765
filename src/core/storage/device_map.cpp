#include "storage/device_map.hpp"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <mutex>
#include <stdexcept>

#include "storage/device_path.hpp"

namespace pellora {

namespace {

SourceOpener FileOpener(std::filesystem::path file) {
  return [file = std::move(file)](int* error) -> std::unique_ptr<Source> { return FileSource::Open(file, error); };
}

}  // namespace

std::string DeviceMap::AttachDiskImage(const std::filesystem::path& file) {
  const std::unique_lock lock(mutex_);
  std::string path = PhysicalDrivePath(NextDiskNumber());
  entries_.push_back({path, DeviceKind::kDisk, file, DeviceOrigin::kImage, FileOpener(file)});
  return path;
}

std::string DeviceMap::AttachVolumeImage(const std::filesystem::path& file) {
  const std::unique_lock lock(mutex_);
  const char letter = NextVolumeLetter();
  if (letter == 0) throw std::runtime_error("No free drive letter is left for another volume.");
  std::string path = VolumePath(letter);
  entries_.push_back({path, DeviceKind::kVolume, file, DeviceOrigin::kImage, FileOpener(file)});
  return path;
}

void DeviceMap::SetAccessBroker(AccessBroker broker) {
  const std::unique_lock lock(mutex_);
  broker_ = std::make_shared<AccessBroker>(std::move(broker));
}

void DeviceMap::AddBlockDevice(std::string path, DeviceKind kind, std::filesystem::path node) {
  std::shared_ptr<AccessBroker> broker;
  {
    const std::shared_lock lock(mutex_);
    broker = broker_;
  }
  SourceOpener opener = [node, broker = std::move(broker)](int* error) -> std::unique_ptr<Source> {
    int own_error = 0;
    std::unique_ptr<Source> source = FileSource::Open(node, &own_error);
    if (!source && (own_error == EACCES || own_error == EPERM) && *broker) {
      int broker_error = 0;
      const int fd = (*broker)(node, &broker_error);
      if (fd >= 0) return FileSource::Adopt(fd, error);
    }
    if (!source && error != nullptr) *error = own_error;  // the advice names what the person can do
    return source;
  };
  Add({std::move(path), kind, std::move(node), DeviceOrigin::kBlockDevice, std::move(opener)});
}

void DeviceMap::AddSource(std::string path, DeviceKind kind, SourceOpener open) {
  Add({std::move(path), kind, {}, DeviceOrigin::kOther, std::move(open)});
}

void DeviceMap::Add(DeviceEntry entry) {
  const std::unique_lock lock(mutex_);
  std::erase_if(entries_, [&](const DeviceEntry& e) { return e.path == entry.path; });
  entries_.push_back(std::move(entry));
}

void DeviceMap::RemoveBlockDevices() {
  const std::unique_lock lock(mutex_);
  std::erase_if(entries_, [](const DeviceEntry& e) { return e.origin == DeviceOrigin::kBlockDevice; });
  reserved_disk_numbers_.clear();
}

void DeviceMap::ReserveDiskNumber(int number) {
  const std::unique_lock lock(mutex_);
  reserved_disk_numbers_.push_back(number);
}

std::optional<DeviceEntry> DeviceMap::Find(std::string_view path) const {
  const std::shared_lock lock(mutex_);
  for (const DeviceEntry& e : entries_)
    if (e.path == path) return e;
  return std::nullopt;
}

std::vector<DeviceEntry> DeviceMap::Entries() const {
  const std::shared_lock lock(mutex_);
  return entries_;
}

std::unique_ptr<Source> DeviceMap::Open(std::string_view path, int* error) const {
  const auto entry = Find(path);
  if (!entry || !entry->open) {
    if (error != nullptr) *error = ENOENT;
    return nullptr;
  }
  return entry->open(error);
}

std::optional<std::string> DeviceMap::ResolveName(std::string_view name) const {
  if (name.starts_with("disk:")) {
    const std::string_view digits = name.substr(5);
    int number = -1;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), number);
    if (error != std::errc{} || end != digits.data() + digits.size() || digits.empty()) return std::nullopt;
    const std::string path = PhysicalDrivePath(number);
    return Find(path) ? std::optional(path) : std::nullopt;
  }
  if (name.starts_with("vol:") && name.size() == 5) {
    const std::string path = VolumePath(name[4]);
    const auto letter = ParseVolumePath(path);
    if (!letter) return std::nullopt;
    const std::string canonical = VolumePath(*letter);
    return Find(canonical) ? std::optional(canonical) : std::nullopt;
  }
  if (Find(name)) return std::string(name);
  // An attached image named by its own path.
  std::error_code error;
  const auto wanted = std::filesystem::weakly_canonical(std::filesystem::path(name), error);
  if (error) return std::nullopt;
  const std::shared_lock lock(mutex_);
  for (const DeviceEntry& e : entries_) {
    if (e.origin != DeviceOrigin::kImage) continue;
    std::error_code other_error;
    if (std::filesystem::weakly_canonical(e.file, other_error) == wanted && !other_error) return e.path;
  }
  return std::nullopt;
}

int DeviceMap::NextDiskNumber() const {
  int next = 0;
  for (int reserved : reserved_disk_numbers_) next = std::max(next, reserved + 1);
  for (const DeviceEntry& e : entries_)
    if (const auto number = ParsePhysicalDrivePath(e.path)) next = std::max(next, *number + 1);
  return next;
}

char DeviceMap::NextVolumeLetter() const {
  for (char letter = 'D'; letter <= 'Z'; ++letter) {
    const std::string path = VolumePath(letter);
    if (std::none_of(entries_.begin(), entries_.end(), [&](const DeviceEntry& e) { return e.path == path; }))
      return letter;
  }
  return 0;
}

std::string NoAccessAdvice(const DeviceEntry& entry, int error) {
  if (error != EACCES && error != EPERM) return {};
  const std::string node = entry.file.empty() ? entry.path : entry.file.string();
  return "You are not allowed to read " + node +
         ". To let Pellora read it, add yourself to the disk group (sudo usermod -aG disk $USER, then log out "
         "and in again), or for this session only run: sudo setfacl -m u:$USER:r " +
         node;
}

}  // namespace pellora
