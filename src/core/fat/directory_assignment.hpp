#pragma once

#include <vector>

#include "fat/directory_cluster.hpp"
#include "fat/found_boot_sector.hpp"
#include "fat/found_partition.hpp"

namespace pellora {

class ProgressBar;

// Gives found directories to the found boot sectors whose geometry puts them where they lie
// (sector = Cluster0Start + cluster x SectorsPerCluster, inside the partition). Boot sectors are
// taken in table order and a directory goes to the first that claims it; every boot sector that
// takes a directory is appended to the partitions. Directories are looked up by the cluster-0
// sector they imply, so each boot sector costs a look-up rather than a pass over all directories.
void AssignToBootSectors(const std::vector<FoundBootSector>& boot_sectors, std::vector<FoundDirectory>& directories,
                         std::vector<FoundPartition>& partitions, ProgressBar* progress);

// Infers partitions from the directories no boot sector took: the first such directory A is paired
// with the first later one B whose distance in sectors is a power-of-two multiple (1..128) of
// their distance in clusters; that gives the cluster size and the cluster-0 sector, and every
// unassigned directory that lies where they put it joins the partition. A directory that pairs
// with none is put out of the running. file_system is the type of the search; a FAT16 partition
// whose clusters go beyond 65,536 is FAT32. The result is the same as trying every pair in table
// order, found through sorted look-ups.
void InferPartitions(std::vector<FoundDirectory>& directories, const FileSystemKind& file_system,
                     std::vector<FoundPartition>& partitions, ProgressBar* progress);

}  // namespace pellora
