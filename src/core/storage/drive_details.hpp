#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "storage/drive_info.hpp"
#include "storage/drive_tree.hpp"

namespace pellora {

struct DriveListing;

// The thirteen rows of a disk: "1. Model :" .. "13. Physical Device ID :".
std::vector<DetailRow> DiskDetailRows(const DriveInfo& disk);
// The nine rows of a logical volume: "1. Start Sector :" .. "9. Serial Number : ".
std::vector<DetailRow> VolumeDetailRows(const DriveInfo& volume);
// The seven rows of a partition: "1. Disk Number : " .. "7. Size : ".
std::vector<DetailRow> PartitionDetailRows(int disk_number, int partition_number, std::string_view file_system,
                                           std::string_view search_mode, std::uint64_t start, std::uint64_t end);

// Selects an item: shows its details rows and makes its drive the current one (a partition's
// disk for a partition). Groups and the top item show no rows.
void SelectDriveItem(DriveListing& listing, int item);

inline constexpr std::string_view kDynamicDiskNotice = "This is a Dynamic disk. \r\n\r\n";

}  // namespace pellora
