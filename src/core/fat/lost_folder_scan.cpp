#include "fat/lost_folder_scan.hpp"

#include <algorithm>
#include <memory>
#include <vector>

#include "common/byte_reader.hpp"
#include "common/progress.hpp"
#include "common/ui.hpp"
#include "fat/directory_cluster.hpp"
#include "fat/directory_reader.hpp"
#include "model/date_time_format.hpp"

namespace pellora {

namespace {

constexpr std::uint64_t kChunkSectors = 512;  // 256 KiB per read

std::uint32_t EntryCluster(std::span<const std::byte> entry, bool fat32) {
  return fat32 ? (std::uint32_t{Le16(entry, 20)} << 16) | Le16(entry, 26) : Le16(entry, 26);
}

struct ScanState {
  const FatVolume& volume;
  RecoveredResults& results;
  std::uint64_t found = 0;

  void TestCluster(std::span<const std::byte> sector_bytes, std::uint64_t cluster, std::uint64_t sector) {
    if (!IsDirectoryClusterStart(sector_bytes)) return;
    ++found;
    const bool fat32 = volume.Fat32();
    const std::uint32_t self = EntryCluster(sector_bytes, fat32);
    const std::uint32_t parent = EntryCluster(sector_bytes.subspan(32), fat32);
    if (self != cluster) return;  // a copy of a directory kept elsewhere, or stale data

    std::string name = "DIR" + std::to_string(found);
    bool deleted = false;
    auto& roots = results.root_entries;
    const auto named = std::find_if(roots.rbegin(), roots.rend(), [&](const RootEntry& e) { return e.self == self; });
    if (named != roots.rend()) {
      name = named->name;
      deleted = named->deleted;
      roots.erase(std::next(named).base());
    }
    const std::uint16_t date = Le16(sector_bytes, 24);
    const std::uint16_t time = Le16(sector_bytes, 22);
    if (parent == 0) {
      results.AddFolderNode(results.RootItem(), name, self, date, time, 0, deleted, 0);
      return;
    }
    RecoveredEntry row;
    row.name = std::move(name);
    row.sector = sector;
    row.self = self;
    row.parent = parent;
    row.date = date;
    row.time = time;
    row.size = Le32(sector_bytes, 28);
    row.attr = Le8(sector_bytes, 11);
    if (!fat32) row.sys_id = "0";
    results.directory.Add(std::move(row));
  }
};

}  // namespace

void ListRootEntries(const FatVolume& volume, std::vector<RootEntry>& root_entries) {
  const DirectoryWalk walk{.mode = EntryMode::kFolders, .end_ends_folder = false};
  WalkDirectory(volume, 0, walk, [&](const DirectoryEntry& entry, std::uint64_t sector) {
    root_entries.push_back({entry.first_cluster, entry.name, entry.date, entry.time, sector, entry.deleted});
    return true;
  });
}

void ScanLostFatFolders(const FatVolume& volume, std::uint64_t end_sector, RecoveredResults& results, Ui& ui,
                        ProgressBar& progress, std::stop_token stop, std::time_t now) {
  const FileSystemParams& p = volume.params;
  ui.ShowSectorTotal(end_sector, SectorTotalForm::kScannedOfTotal);
  results.directory.Add(MiscellaneousEntry(FatStyleTimeWord(now)));
  if (p.SectorsPerCluster == 0) return;
  const std::uint64_t first_data = p.ClusterStart(2);
  progress.SetRange(first_data, end_sector, kChunkSectors);

  const std::unique_ptr<Source> device = volume.sectors->OpenDevice(volume.device_path);
  if (!device) return;
  std::vector<std::byte> chunk(kChunkSectors * kSectorSize);
  bool root_listed = false;
  ScanState state{volume, results};
  std::uint64_t cluster = 2;
  for (std::uint64_t start = first_data; start < end_sector && !stop.stop_requested(); start += kChunkSectors) {
    ui.ShowCurrentSector(start);
    progress.Advance(first_data, end_sector, start, kChunkSectors);
    const std::uint64_t wanted = std::min(kChunkSectors, end_sector - start);
    const ReadOutcome read = device->ReadAt(start * kSectorSize, std::span(chunk).first(wanted * kSectorSize));
    const std::uint64_t sectors_read = read.ok ? read.bytes / kSectorSize : 0;
    // The clusters whose first sector lies in this chunk; a chunk that cannot be read is skipped.
    const std::uint64_t chunk_end = start + wanted;
    if (sectors_read > 0 && !root_listed) {
      root_listed = true;
      ui.ShowText(UiText::kStatus, "Searching Lost Directories. Please wait...");
      ListRootEntries(volume, results.root_entries);
      ui.ShowSectorTotal(end_sector, SectorTotalForm::kScannedOfTotal);
    }
    for (; p.ClusterStart(cluster) < chunk_end; ++cluster) {
      const std::uint64_t at = p.ClusterStart(cluster) - start;
      if (at >= sectors_read) continue;
      state.TestCluster(std::span<const std::byte>(chunk).subspan(at * kSectorSize, kSectorSize), cluster,
                        p.ClusterStart(cluster));
    }
  }
}

}  // namespace pellora
