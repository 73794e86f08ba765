#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <stop_token>
#include <string>
#include <string_view>
#include <vector>

#include "recognition/partition_params.hpp"

namespace pellora {

class SectorAccess;
class ErrorReporter;
class Ui;
struct DriveListing;
struct smpparam;

// The two depths of the search: probes at the cylinder starts, or every sector.
enum class LostPartitionMode { kStandard = 5, kAdvanced = 10 };

inline constexpr int kMaxSearchPartitions = 26;

// The texts of the "Search More Partitions" mode dialog (caption: the product name) and of a
// window while the search runs.
inline constexpr std::string_view kSearchMoreTitle = "Select mode for Search More Partitions of selected drive.";
inline constexpr std::string_view kSearchMoreText = "Please select the Search Mode to find lost partitions.";
inline constexpr std::string_view kStandardModeLabel = "Standard Mode";
inline constexpr std::string_view kAdvancedModeLabel = "Advanced Mode";
inline constexpr std::string_view kSearchMoreContinue = "Continue";
inline constexpr std::string_view kSearchMoreCancel = "Cancel";
inline constexpr std::string_view kStopSearchingPartitions = "Stop Searching Partitions";
inline constexpr std::string_view kSearchingPartitions = "Searching Partitions...";
inline constexpr std::string_view kStopPartitionSearchQuestion = "Do you want to stop searching partition?";

// A boot sector that carries a file-system signature.
struct BootSectorCandidate {
  std::string_view file_system;  // "FAT32", "FAT16" or "NTFS"
  std::uint64_t start = 0;
  std::uint64_t end = 0;  // start + the boot sector's total sectors
};

// The search's tests on one sector: 55 AA at 510, then the tail of "FAT32" at 0x55, of "FAT16" at
// 0x39, or "NTFS" at 3.
bool PassesBootSignature(std::span<const std::byte> sector);
std::optional<BootSectorCandidate> TestBootSector(std::span<const std::byte> sector, std::uint64_t sector_number);
// Whether a candidate is only the backup copy of the boot sector of a partition of this file
// system that starts at start (FAT32 keeps one 6 sectors in, NTFS one after its last sector):
// the search must not offer it as a partition of its own.
bool IsBackupBootSector(const BootSectorCandidate& candidate, std::string_view file_system, std::uint64_t start);

struct LostPartitionSearch {
  SectorAccess& sectors;
  DriveListing& listing;
  Ui* ui = nullptr;  // progress and the current cylinder or sector
  std::stop_token stop;
  // The silent form: the first candidate goes here instead of into the list, and the search ends.
  std::function<void(const BootSectorCandidate&)> silent;
};

// Searches one listed disk and adds every new partition to its list and below its tree item.
// Returns how many it added. A disk that cannot be opened adds none.
int StandardScan(LostPartitionSearch& search, const smpparam& disk);
int AdvancedScan(LostPartitionSearch& search, const smpparam& disk);
int SearchDisk(LostPartitionSearch& search, const smpparam& disk, LostPartitionMode mode);

// The closing message: "Found %d more partitions in selected %s ( %s - %s )" or "No more
// partitions found in selected %s ( %s - %s )".
std::string ResultMessage(int found, std::string_view kind, std::string_view name, std::string_view detail);
// For a listed disk: "... selected Disk ( Removable Media - 1 )".
std::string DiskResultMessage(int found, const DriveListing& listing, const smpparam& disk);

// Asks whether a running search should stop (the stop button).
bool ConfirmStopPartitionSearch(Ui& ui);

// The Standard scan over every listed removable disk. A disk that still has no partition then
// becomes one partition of its own, with the file system its size suggests; the first partition
// item is selected. Shows the closing message.
void SearchListedDisks(LostPartitionSearch& search, ErrorReporter& reporter);

// The silent search behind a bare disk whose NTFS boot sector is missing: the first boot sector
// found becomes the current partition (FileSystemName, StartSector, EndSector) and its values
// are computed. True when one was found.
bool SilentSearch(SectorAccess& sectors, DriveListing& listing, const smpparam& disk, PartitionParams& params,
                  FileSystemParams& working, std::stop_token stop = {});

// A file system found inside a logical volume, with the values of its row.
struct RecognisedPartition {
  std::string label;  // "Recognised1 - 100 MB - FAT32"
  std::string file_system;
  std::uint64_t start = 0;
  std::uint64_t end = 0;
  std::string size;  // "%llu MB"
  std::uint64_t total_sectors = 0;
  bool computed = false;  // whether its values could be computed
  FileSystemParams values;
};

// The Deep window's search inside a logical volume over [RangeStart, RangeEnd] of params. Each
// new file system is added to found (skipping ones it holds already) and its values computed
// into params and working, which the last one found overwrites. Shows the closing message with
// the volume's label. Returns how many it added.
int SearchLogicalVolume(SectorAccess& sectors, ErrorReporter& reporter, Ui& ui, const std::string& volume_path,
                        std::string_view volume_label, PartitionParams& params, FileSystemParams& working,
                        std::vector<RecognisedPartition>& found, std::stop_token stop = {});

}  // namespace pellora
