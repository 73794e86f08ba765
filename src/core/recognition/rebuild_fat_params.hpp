#pragma once

#include <stop_token>
#include <string>

#include "recognition/partition_params.hpp"

namespace pellora {

class SectorAccess;
class Ui;

// FAT16 or FAT32 values without a usable boot sector: the reserved area from where the FAT's
// media bytes F8 FF lie, the cluster size and cluster 0 from two directory clusters ("." and ".."
// entries) that agree. Reads the partition from StartSector to EndSector on its own handle and
// shows the sector it is at. False when no two directories agree before the end (or on a stop).
bool RebuildFatParams(SectorAccess& sectors, const std::string& path, const PartitionParams& params,
                      FileSystemParams& working, Ui* ui = nullptr, std::stop_token stop = {});

}  // namespace pellora
