// Deep Search's analysis and arrangement of 100,000 found directory clusters (no reads of the
// medium but the few the arrangement makes): a partition whose boot sector survived (Phase 1), and
// the same directories with it gone (Phase 2), with stale copies among them. Prints the time of
// each step and the peak memory.

#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <memory>
#include <vector>

#include "common/guard.hpp"
#include "common/null_ui.hpp"
#include "common/progress.hpp"
#include "fat/directory_assignment.hpp"
#include "search/deep_fat_arrangement.hpp"
#include "storage/device_map.hpp"
#include "storage/read_guard.hpp"
#include "storage/sector_access.hpp"

namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point since) { return std::chrono::duration<double>(Clock::now() - since).count(); }

// Ten folders in the root, each folder with ten subfolders, level by level; every 100th one
// leaves a stale copy a few sectors on (as an earlier format of the card would).
std::vector<pellora::FoundDirectory> FoundDirectories(std::size_t count, std::uint64_t cluster0,
                                                      std::uint32_t per_cluster) {
  std::vector<pellora::FoundDirectory> directories;
  directories.reserve(count + count / 100);
  for (std::size_t i = 0; i < count; ++i) {
    pellora::FoundDirectory d;
    d.self = static_cast<std::uint32_t>(3 + 2 * i);
    d.parent = i < 10 ? 0 : static_cast<std::uint32_t>(3 + 2 * (i / 10 - 1));
    d.sector = cluster0 + std::uint64_t{d.self} * per_cluster;
    directories.push_back(d);
    if (i % 100 == 99) {
      d.sector += 1 + (i / 100) % 5;
      directories.push_back(d);
    }
  }
  return directories;
}

}  // namespace

int main(int argc, char** argv) {
  const std::size_t count = argc > 1 ? std::stoul(argv[1]) : 100000;
  constexpr std::uint64_t kCluster0 = 40000;
  constexpr std::uint32_t kPerCluster = 8;
  pellora::FoundBootSector boot;
  boot.sector = 2048;
  boot.sectors_per_cluster = kPerCluster;
  boot.cluster0_start = kCluster0;
  boot.end_sector = kCluster0 + 8ull * 4 * count;
  boot.first_fat = 2080;
  boot.file_system = "FAT32";

  pellora::NullUi ui;
  pellora::CurrentMode mode;
  pellora::ReadGuard guard{mode};
  pellora::DeviceMap devices;
  auto zeros = std::make_shared<const std::vector<std::byte>>(1 << 20);
  devices.AddSource(
      "\\\\.\\PhysicalDrive0", pellora::DeviceKind::kDisk,
      [zeros](int*) -> std::unique_ptr<pellora::Source> { return std::make_unique<pellora::MemorySource>(zeros); });
  pellora::SectorAccess sectors{devices, guard, ui};
  pellora::ErrorReporter reporter{ui, mode};
  const pellora::PartitionVolume volume_of = [&](const pellora::FoundPartition& partition) {
    pellora::FatVolume volume;
    volume.sectors = &sectors;
    volume.device_path = "\\\\.\\PhysicalDrive0";
    volume.params = partition.Params();
    volume.read_limit_bytes = 1 << 20;
    return volume;
  };

  for (const bool with_boot : {true, false}) {
    std::vector<pellora::FoundDirectory> table = FoundDirectories(count, kCluster0, kPerCluster);
    std::vector<pellora::FoundPartition> partitions;
    const std::vector<pellora::FoundBootSector> boots =
        with_boot ? std::vector<pellora::FoundBootSector>{boot} : std::vector<pellora::FoundBootSector>{};
    const auto start = Clock::now();
    pellora::AssignToBootSectors(boots, table, partitions, nullptr);
    const double phase1 = Seconds(start);
    const auto second = Clock::now();
    pellora::InferPartitions(table, "FAT32", partitions, nullptr);
    const double phase2 = Seconds(second);
    const auto third = Clock::now();
    pellora::RecoveredResults results;
    pellora::ProgressBar progress;
    pellora::ArrangeDeepFat(table, {}, partitions, volume_of, results, ui, progress, reporter, 0);
    const double arranged = Seconds(third);
    std::printf(
        "%zu directory clusters (+%zu stale), %s: phase 1 %.3f s, phase 2 %.3f s, arrangement %.3f s, "
        "total %.3f s; %zu partition(s), %zu folders in the tree\n",
        count, table.size() - count, with_boot ? "boot sector found" : "boot sector gone", phase1, phase2, arranged,
        phase1 + phase2 + arranged, partitions.size(), results.nodes.Size());
  }
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  std::printf("peak memory %ld KiB (%.0f bytes per folder)\n", usage.ru_maxrss,
              static_cast<double>(usage.ru_maxrss) * 1024.0 / static_cast<double>(count));
  return 0;
}
