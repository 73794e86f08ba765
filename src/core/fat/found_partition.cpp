#include "fat/found_partition.hpp"

#include <algorithm>
#include <utility>

namespace pellora {

namespace {

constexpr std::uint32_t kDefaultRootSectors = 32;
constexpr std::uint32_t kDefaultRootCluster = 2;

std::uint32_t Narrow(std::uint64_t value) {
  return static_cast<std::uint32_t>(std::min<std::uint64_t>(value, UINT32_MAX));
}

}  // namespace

FileSystemParams FoundPartition::Params() const {
  FileSystemParams p;
  p.ParamsFileSystemName = boot.file_system;
  p.SectorsPerCluster = boot.sectors_per_cluster;
  p.FatSectors = boot.sectors_per_fat;
  p.ReserveSecStart = boot.reserved_sectors;
  p.Cluster0Start = boot.cluster0_start;
  p.firstFAT = Narrow(boot.first_fat);
  p.secondFAT = Narrow(boot.second_fat);
  if (boot.file_system == FileSystemKind::kFat32) {
    p.RootSec = 0;
    p.RootStartSec = boot.root_start != 0 ? Narrow(boot.root_start) : kDefaultRootCluster;
  } else {
    p.RootSec = boot.root_sectors != 0 ? boot.root_sectors : kDefaultRootSectors;
    const std::uint64_t data = boot.cluster0_start + 2ull * boot.sectors_per_cluster;
    p.RootStartSec =
        boot.root_start != 0 ? Narrow(boot.root_start) : Narrow(data - std::min<std::uint64_t>(data, p.RootSec));
  }
  return p;
}

FoundPartition InferredPartition(std::uint32_t sectors_per_cluster, std::uint64_t cluster0_start,
                                 FileSystemKind file_system) {
  FoundPartition partition;
  partition.boot.sectors_per_cluster = sectors_per_cluster;
  partition.boot.cluster0_start = cluster0_start;
  partition.boot.file_system = std::move(file_system);
  return partition;
}

}  // namespace pellora
