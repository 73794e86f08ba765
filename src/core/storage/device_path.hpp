#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace pellora {

// The two device-path forms that name every drive, kept as keys everywhere (recovery logs store
// them): "\\.\PhysicalDrive%d" for a disk and "\\.\" + letter + ":" for a logical volume.
std::string PhysicalDrivePath(int disk_number);
std::string VolumePath(char letter);
std::optional<int> ParsePhysicalDrivePath(std::string_view path);
std::optional<char> ParseVolumePath(std::string_view path);

}  // namespace pellora
