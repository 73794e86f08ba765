#pragma once

#include <stop_token>

#include "fat/fat_volume.hpp"
#include "ntfs/ntfs_volume.hpp"
#include "state/app_state.hpp"
#include "state/search_tables.hpp"

namespace pellora {

// A partition as the FAT engine reads it: the device, the working copy of its values and its read
// limit. The token cancels listing or saving a folder.
FatVolume FatVolumeOf(SectorAccess& sectors, const std::string& device_path, const PartitionParams& params,
                      const FileSystemParams& working, std::stop_token cancel = {});
// The partition a search works on, from the tables it owns.
FatVolume FatVolumeOf(SectorAccess& sectors, const SearchTables& tables, std::stop_token cancel = {});
// The current partition of the state.
FatVolume CurrentFatVolume(AppState& app, std::stop_token cancel = {});

// The same for the NTFS engine; engine steps report through the reporter.
NtfsVolume NtfsVolumeOf(SectorAccess& sectors, ErrorReporter* reporter, const std::string& device_path,
                        const PartitionParams& params, const FileSystemParams& working, std::stop_token cancel = {});
NtfsVolume NtfsVolumeOf(SectorAccess& sectors, ErrorReporter* reporter, const SearchTables& tables,
                        std::stop_token cancel = {});
NtfsVolume CurrentNtfsVolume(AppState& app, std::stop_token cancel = {});

}  // namespace pellora
