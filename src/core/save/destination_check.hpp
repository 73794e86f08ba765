#pragma once

#include <sys/types.h>

#include <filesystem>
#include <string_view>

#include "state/app_state.hpp"

#include "storage/device_map.hpp"

namespace pellora {

inline constexpr std::string_view kInvalidDestinationText =
    "Invalid destination path. Please provide a valid location path to save the recovered data.";
// The note under the destination field; also what is shown when the folder lies on the medium
// being recovered.
inline constexpr std::string_view kDifferentDriveNote =
    "Please select only different drive to save the recovered data. Saving data in same drive/volume (from which you "
    "are trying to recover data) may cause overwriting and your data may be lost forever. ";
inline constexpr std::string_view kSavingStatusText =
    "To stop saving Data press 'Stop' button or Please wait for the process to be completed. It is strongly "
    "recommended that you should allow the software to complete the saving of Data.";
// The folder made and removed again to learn whether the destination takes new folders.
inline constexpr std::string_view kTestFolderName = "zysave";

// "OK" of the destination window: the folder must not lie on the medium being recovered, must
// exist or be creatable, and must take a new folder. On success it becomes the destination base
// (as an absolute path); otherwise the reason is shown and false returned.
bool CheckDestination(AppState& app, const std::filesystem::path& destination);

// True when a folder (or, when it does not exist yet, the folder it would be made in) lies on the
// block device behind device_path or shares a disk with it. Image files as sources never do.
bool OnSourceMedium(const DeviceMap& devices, const std::string& device_path, const std::filesystem::path& destination);

// True when a file system on block device `destination` stores its data on block device `source`
// or shares a disk with it: the same device, another partition of the same disk, or a device
// mapped onto one of them. Devices are numbers as stat gives them; sysfs tells how they stack.
bool OnSameMedium(dev_t destination, dev_t source, const std::filesystem::path& sysfs_root = "/sys");

}  // namespace pellora
