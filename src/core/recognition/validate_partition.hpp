#pragma once

#include <functional>
#include <optional>
#include <string>

#include "common/search_mode.hpp"
#include "recognition/partition_params.hpp"

namespace pellora {

class DeviceMap;
class ReadGuard;
class Ui;
struct DriveListing;

inline constexpr std::string_view kSelectDriveFirst =
    "First you need to select Physical or Logical Drive from the Tree, which you want to recover.";
inline constexpr std::string_view kEndNotAfterStart =
    "The value of \u2018End Sector\u2019 cannot be less than or equal to the \u2018Start Sector\u2019 of the Drive.";
inline constexpr std::string_view kDriveNotAvailable =
    "Selected drive may not available for recovery. Please check drive is properly connected.";
inline constexpr std::string_view kSelectFileSystemType = "Select file system type for recovery of selected drive.";

enum class Validation {
  kRefused,       // a message said why; PartitionParams stays reset
  kUnrecognised,  // fields 1..6 are filled but the file system is none the engines read
  kValidated,     // fields 1..9 are set, the device path chosen and the read guard armed
};

struct ValidationContext {
  DriveListing& listing;  // the tree, its selected item and details rows, the drive tables
  const DeviceMap& devices;
  ReadGuard& guard;
  Ui& ui;
  PartitionParams& params;
  std::string& current_device_path;
  SearchMode mode = SearchMode::kBasic;
  // Clears the per-search flags and counters on the first validation in this mode.
  std::function<void()> clear_search_state;
  // The Deep window's file-system selector: 0 FAT16, 1 FAT32, 2 NTFS, 3 none chosen.
  std::optional<int> file_system_choice;
};

// Turns the selected item of the drive tree into the current partition: where it lies, what file
// system it holds and which device is read. Refusals show their message through the Ui.
Validation ValidatePartition(ValidationContext& context);

}  // namespace pellora
