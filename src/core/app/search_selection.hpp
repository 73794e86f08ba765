#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "storage/device_map.hpp"
#include "storage/drive_listing.hpp"

namespace pellora {

// The checks of a mode window's start button, in the words every mode shows.
inline constexpr std::string_view kSelectDriveText =
    "First you need to select Physical or Logical Drive from the Tree, which you want to recover.";
inline constexpr std::string_view kEnterStartSectorText = "Please enter the \u2018Start Sector\u2019 of the Drive.";
inline constexpr std::string_view kEndNotAfterStartText =
    "The value of \u2018End Sector\u2019 cannot be less than or equal to the \u2018Start Sector\u2019 of the Drive.";
inline constexpr std::string_view kDriveUnavailableText =
    "Selected drive may not available for recovery. Please check drive is properly connected.";

// The range fields of a search window; an empty field is nullopt.
struct SectorRangeFields {
  std::optional<std::uint64_t> start;
  std::optional<std::uint64_t> end;
};

// What the person chose: a drive, and optionally a range of it.
struct SearchSelectionRequest {
  std::string device_path;                 // empty when nothing is selected
  std::optional<SectorRangeFields> range;  // nullopt: the whole drive
  std::string partition_type;              // type text of a volume or a disk's partition, from the drive list
};

// The range a search reads and the numbered rows of its information list.
struct SearchSelection {
  std::string device_path;
  std::uint64_t start_sector = 0;
  std::uint64_t end_sector = 0;                                  // not included
  std::vector<std::pair<std::string, std::string>> information;  // "1. Search Type : ", "Photo Search"
};

struct SearchSelectionOutcome {
  std::optional<SearchSelection> selection;
  std::string message;  // why there is none, in the window's words
};

// What the drive tree's item offers to a range search: the disk's or volume's path, the whole of it
// (or the partition's sectors on its disk, clipped to the disk) and the type text of the drive
// list. An item that is no drive gives an empty path.
SearchSelectionRequest SearchRequestFor(const DriveListing& listing, int item);

// The first click of a carving mode's start button: checks the drive and range, fixes the device
// path and builds the information rows (search_type is "Photo Search", "Video Search", ...).
SearchSelectionOutcome SelectSearchRange(const DeviceMap& devices, std::string_view search_type,
                                         const SearchSelectionRequest& request);

}  // namespace pellora
