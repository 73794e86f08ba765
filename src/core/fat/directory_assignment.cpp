#include "fat/directory_assignment.hpp"

#include <algorithm>
#include <array>
#include <cstdint>
#include <limits>
#include <map>
#include <optional>
#include <set>
#include <utility>

#include "common/progress.hpp"

namespace pellora {

namespace {

constexpr std::uint32_t kNone = std::numeric_limits<std::uint32_t>::max();
constexpr std::array<std::uint32_t, 8> kClusterSizes = {1, 2, 4, 8, 16, 32, 64, 128};

// The cluster-0 sector a directory implies for a cluster size: its sector less its cluster's
// offset; none when that would lie before sector 0.
std::optional<std::uint64_t> ImpliedCluster0(const FoundDirectory& d, std::uint64_t per_cluster) {
  const std::uint64_t offset = std::uint64_t{d.self} * per_cluster;
  if (offset > d.sector) return std::nullopt;
  return d.sector - offset;
}

// (implied cluster-0 sector, row) of the unassigned directories for one cluster size, sorted, so
// that the directories of a cluster-0 sector are one range in row order.
using KeyedRows = std::vector<std::pair<std::uint64_t, std::uint32_t>>;

KeyedRows KeyRows(const std::vector<FoundDirectory>& directories, std::uint64_t per_cluster) {
  KeyedRows keyed;
  for (std::size_t row = 0; row < directories.size(); ++row) {
    if (directories[row].partition != kUnassignedDirectory) continue;
    if (const auto key = ImpliedCluster0(directories[row], per_cluster))
      keyed.emplace_back(*key, static_cast<std::uint32_t>(row));
  }
  std::sort(keyed.begin(), keyed.end());
  return keyed;
}

std::pair<KeyedRows::const_iterator, KeyedRows::const_iterator> RowsOfKey(const KeyedRows& keyed, std::uint64_t key,
                                                                          std::uint32_t after = 0) {
  const auto first = std::lower_bound(keyed.begin(), keyed.end(), std::make_pair(key, after));
  const auto last = std::upper_bound(first, keyed.end(), std::make_pair(key, kNone));
  return {first, last};
}

}  // namespace

void AssignToBootSectors(const std::vector<FoundBootSector>& boot_sectors, std::vector<FoundDirectory>& directories,
                         std::vector<FoundPartition>& partitions, ProgressBar* progress) {
  const std::uint64_t total = std::uint64_t{boot_sectors.size()} * directories.size();
  if (progress != nullptr) progress->SetRange(0, total, std::max<std::uint64_t>(directories.size(), 1));
  if (boot_sectors.empty() || directories.empty() || directories.size() >= kNone) return;

  std::map<std::uint32_t, std::vector<std::uint32_t>> by_cluster_size;
  for (std::size_t b = 0; b < boot_sectors.size(); ++b)
    by_cluster_size[boot_sectors[b].sectors_per_cluster].push_back(static_cast<std::uint32_t>(b));

  // A directory is taken by the first boot sector that claims it. A claim by a boot sector whose
  // cluster-0 sector is 0 leaves its key "unassigned", so later boot sectors may still take it.
  std::vector<std::uint32_t> taken_by(directories.size(), kNone);
  std::vector<char> owns(boot_sectors.size(), 0);
  std::vector<std::pair<std::uint32_t, std::uint32_t>> zero_claims;  // (boot sector, directory)
  for (const auto& [per_cluster, rows] : by_cluster_size) {
    const KeyedRows keyed = KeyRows(directories, per_cluster);
    std::set<std::pair<std::uint64_t, std::uint64_t>> seen;  // boot sectors alike claim nothing more
    for (const std::uint32_t b : rows) {
      const FoundBootSector& boot = boot_sectors[b];
      if (boot.cluster0_start != 0 && !seen.emplace(boot.cluster0_start, boot.end_sector).second) continue;
      const auto [first, last] = RowsOfKey(keyed, boot.cluster0_start);
      for (auto it = first; it != last; ++it) {
        if (directories[it->second].sector > boot.end_sector) continue;
        if (boot.cluster0_start == 0)
          zero_claims.emplace_back(b, it->second);
        else
          taken_by[it->second] = std::min(taken_by[it->second], b);
      }
    }
  }
  for (std::size_t d = 0; d < directories.size(); ++d) {
    if (taken_by[d] == kNone) continue;
    owns[taken_by[d]] = 1;
    directories[d].partition = boot_sectors[taken_by[d]].cluster0_start;
    directories[d].cluster0_start = directories[d].partition;
  }
  for (const auto& [b, d] : zero_claims)
    if (taken_by[d] > b) owns[b] = 1;

  for (std::size_t b = 0; b < boot_sectors.size(); ++b) {
    if (progress != nullptr) progress->Advance(0, total, b * directories.size(), directories.size());
    if (owns[b] == 0) continue;
    FoundPartition partition;
    partition.boot = boot_sectors[b];
    partition.end_sector = boot_sectors[b].end_sector;
    partitions.push_back(std::move(partition));
  }
}

namespace {

// The sorted rows of one cluster size, with a skip list over the rows that were assigned since,
// so that walking a range costs about the unassigned rows it holds.
class Candidates {
 public:
  Candidates(const std::vector<FoundDirectory>& directories, std::uint32_t per_cluster)
      : directories_(directories), per_cluster_(per_cluster), keyed_(KeyRows(directories, per_cluster)) {
    next_.resize(keyed_.size() + 1);
    for (std::size_t i = 0; i < next_.size(); ++i) next_[i] = static_cast<std::uint32_t>(i);
  }

  std::uint32_t PerCluster() const { return per_cluster_; }

  // The first unassigned row after a (in row order) whose implied cluster-0 sector is key and
  // which lies beyond a on the disk with a higher cluster; kNone when there is none.
  std::uint32_t FirstPartner(std::uint32_t a, std::uint64_t key) {
    const auto [first, last] = RowsOfKey(keyed_, key, a + 1);
    const FoundDirectory& da = directories_[a];
    for (auto pos = Live(static_cast<std::uint32_t>(first - keyed_.begin()));
         pos < static_cast<std::uint32_t>(last - keyed_.begin()); pos = Live(pos + 1)) {
      const FoundDirectory& db = directories_[keyed_[pos].second];
      if (db.sector > da.sector && db.self > da.self) return keyed_[pos].second;
    }
    return kNone;
  }

  // Every unassigned row whose implied cluster-0 sector is key.
  template <typename Visit>
  void ForEachOfKey(std::uint64_t key, Visit visit) {
    const auto [first, last] = RowsOfKey(keyed_, key);
    const auto end = static_cast<std::uint32_t>(last - keyed_.begin());
    for (auto pos = Live(static_cast<std::uint32_t>(first - keyed_.begin())); pos < end; pos = Live(pos + 1))
      visit(keyed_[pos].second);
  }

 private:
  // The first position from pos on whose row is still unassigned (or the end).
  std::uint32_t Live(std::uint32_t pos) {
    std::uint32_t at = pos;
    while (at < keyed_.size() &&
           (next_[at] != at || directories_[keyed_[at].second].partition != kUnassignedDirectory)) {
      if (next_[at] == at) next_[at] = at + 1;
      at = next_[at];
    }
    // Path compression: everything walked over points at the live position now.
    for (std::uint32_t p = pos; p < at;) {
      const std::uint32_t n = next_[p];
      next_[p] = at;
      p = n;
    }
    return at;
  }

  const std::vector<FoundDirectory>& directories_;
  std::uint32_t per_cluster_;
  KeyedRows keyed_;
  std::vector<std::uint32_t> next_;
};

}  // namespace

void InferPartitions(std::vector<FoundDirectory>& directories, const FileSystemKind& file_system,
                     std::vector<FoundPartition>& partitions, ProgressBar* progress) {
  const std::uint64_t total = directories.size();
  if (progress != nullptr) progress->SetRange(0, total, 1);
  if (directories.size() >= kNone) return;
  std::vector<Candidates> sizes;
  sizes.reserve(kClusterSizes.size());
  for (const std::uint32_t per_cluster : kClusterSizes) sizes.emplace_back(directories, per_cluster);

  const auto next_unassigned = [&](std::size_t from) {
    while (from < directories.size() && directories[from].partition != kUnassignedDirectory) ++from;
    return from;
  };
  for (std::size_t a = next_unassigned(0); a < directories.size(); a = next_unassigned(a + 1)) {
    if (progress != nullptr) progress->Advance(0, total, a, 1);
    if (next_unassigned(a + 1) >= directories.size()) return;  // no B left for A
    const FoundDirectory& da = directories[a];
    std::uint32_t partner = kNone;
    Candidates* chosen = nullptr;
    for (Candidates& size : sizes) {
      const std::uint64_t offset = std::uint64_t{da.self} * size.PerCluster();
      if (offset == 0 || offset > da.sector) continue;  // the cluster-0 sector must lie before A
      const std::uint32_t b = size.FirstPartner(static_cast<std::uint32_t>(a), da.sector - offset);
      if (b < partner) {
        partner = b;
        chosen = &size;
      }
    }
    if (chosen == nullptr) {
      directories[a].partition = kUnpairedDirectory;
      continue;
    }
    const std::uint64_t cluster0 = da.sector - std::uint64_t{da.self} * chosen->PerCluster();
    std::uint32_t largest = 0;
    // A and B lie where the partition puts them, so they are among the rows of its key.
    chosen->ForEachOfKey(cluster0, [&](std::uint32_t row) {
      largest = std::max(largest, directories[row].self);
      directories[row].partition = cluster0;
      directories[row].cluster0_start = cluster0;
    });
    // More clusters than FAT16 can number: whatever the search was told, this is FAT32.
    const FileSystemKind type = largest > 0x10000 ? FileSystemKind(FileSystemKind::kFat32) : file_system;
    partitions.push_back(InferredPartition(chosen->PerCluster(), cluster0, type));
  }
}

}  // namespace pellora
