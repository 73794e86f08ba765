#include "storage/device_path.hpp"

#include <charconv>

namespace pellora {

namespace {
constexpr std::string_view kDevicePrefix = "\\\\.\\";
constexpr std::string_view kDiskPrefix = "\\\\.\\PhysicalDrive";
}  // namespace

std::string PhysicalDrivePath(int disk_number) { return std::string(kDiskPrefix) + std::to_string(disk_number); }

std::string VolumePath(char letter) { return std::string(kDevicePrefix) + letter + ":"; }

std::optional<int> ParsePhysicalDrivePath(std::string_view path) {
  if (!path.starts_with(kDiskPrefix)) return std::nullopt;
  const std::string_view digits = path.substr(kDiskPrefix.size());
  int number = 0;
  const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), number);
  if (error != std::errc{} || end != digits.data() + digits.size() || digits.empty() || number < 0) return std::nullopt;
  return number;
}

std::optional<char> ParseVolumePath(std::string_view path) {
  if (path.size() != kDevicePrefix.size() + 2 || !path.starts_with(kDevicePrefix) || path.back() != ':')
    return std::nullopt;
  const char letter = path[kDevicePrefix.size()];
  if (letter >= 'a' && letter <= 'z') return static_cast<char>(letter - 'a' + 'A');
  if (letter >= 'A' && letter <= 'Z') return letter;
  return std::nullopt;
}

}  // namespace pellora
