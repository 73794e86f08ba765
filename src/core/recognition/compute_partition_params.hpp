#pragma once

#include <functional>
#include <string>

#include "recognition/partition_params.hpp"

namespace pellora {

class SectorAccess;

// Recognises the boot sector of the current partition (params: FileSystemName, StartSector,
// EndSector) on the device behind path and computes the file-system values into working (which is
// cleared first). FAT32 falls back to the backup boot sector at +6, NTFS to the one in the last
// sector. When no NTFS boot sector is found at all, on_ntfs_missing runs (the caller starts the
// silent lost-partition search there when the selection is a bare disk); the result is then false.
bool ComputePartitionParams(SectorAccess& sectors, const std::string& path, const PartitionParams& params,
                            FileSystemParams& working, const std::function<void()>& on_ntfs_missing = {});

}  // namespace pellora
