#include "recognition/compute_partition_params.hpp"

#include <array>
#include <cstddef>

#include "common/byte_reader.hpp"
#include "storage/boot_signature.hpp"
#include "storage/sector_access.hpp"
#include "storage/zeroed_reads.hpp"

namespace pellora {

namespace {

using Sector = SectorBytes;

constexpr std::byte kMediaByte{0xF8};
constexpr std::uint32_t kFatBackupOffset = 6;

class Reader {
 public:
  Reader(SectorAccess& sectors, const std::string& path) : sectors_(sectors), path_(path) {}
  Sector Read(std::uint64_t sector) { return ReadSectorOrZeros(sectors_, path_, sector); }

 private:
  SectorAccess& sectors_;
  const std::string& path_;
};

bool ClusterSizeValid(std::uint32_t sectors_per_cluster) {
  return sectors_per_cluster != 0 && sectors_per_cluster <= 128 &&
         (sectors_per_cluster & (sectors_per_cluster - 1)) == 0;
}

// FAT arithmetic runs on the low 32 bits of the start, as the FAT engines address sectors.
bool ComputeFat16(Reader& reader, std::uint32_t start, FileSystemParams& out) {
  const Sector boot = reader.Read(start);
  if (!HasBootSignature(boot)) return false;
  const std::uint32_t per_cluster = Le8(boot, 0x0D);
  const std::uint32_t reserved = Le16(boot, 0x0E);
  const std::uint32_t root_entries = Le16(boot, 0x11);
  const std::uint32_t per_fat = Le16(boot, 0x16);
  // Without a cluster size no cluster can be placed, and one that is not a power of two up to 128
  // places them wrongly (every file would read as something else).
  if (!ClusterSizeValid(per_cluster)) return false;
  if (reader.Read(std::uint32_t{start + reserved + per_fat})[0] != kMediaByte) return false;
  out.FatSectors = per_fat;
  out.SectorsPerCluster = per_cluster;
  out.RootSec = root_entries / 16;
  out.ReserveSecStart = reserved;
  out.RootStartSec = start + 2 * per_fat + reserved;
  out.Cluster0Start = std::uint32_t{start + 2 * per_fat + out.RootSec + reserved - 2 * per_cluster};
  out.firstFAT = start + reserved;
  out.secondFAT = out.firstFAT + per_fat;
  out.ParamsFileSystemName = FileSystemKind::kFat16;
  return true;
}

bool ComputeFat32(Reader& reader, std::uint32_t start, FileSystemParams& out) {
  Sector boot = reader.Read(start);
  if (!HasBootSignature(boot)) {
    boot = reader.Read(std::uint32_t{start + kFatBackupOffset});
    if (!HasBootSignature(boot)) return false;
  }
  std::uint32_t per_cluster = 0, reserved = 0, per_fat = 0, root_cluster = 0;
  auto take = [&](const Sector& from) {
    per_cluster = Le8(from, 0x0D);
    reserved = Le16(from, 0x0E);
    per_fat = Le32(from, 0x24);
    root_cluster = Le32(from, 0x2C);
    return ClusterSizeValid(per_cluster) && reader.Read(std::uint32_t{start + reserved + per_fat})[0] == kMediaByte;
  };
  if (!take(boot) && !take(reader.Read(std::uint32_t{start + kFatBackupOffset}))) return false;
  out.FatSectors = per_fat;
  out.SectorsPerCluster = per_cluster;
  out.RootSec = 0;
  out.RootStartSec = root_cluster;
  out.ReserveSecStart = reserved;
  out.Cluster0Start = std::uint32_t{start + 2 * per_fat + reserved - 2 * per_cluster};
  out.firstFAT = start + reserved;
  out.secondFAT = out.firstFAT + per_fat;
  out.ParamsFileSystemName = FileSystemKind::kFat32;
  return true;
}

class NtfsBootCopies {
 public:
  NtfsBootCopies(Reader& reader, std::uint64_t start, std::uint64_t end) : reader_(reader), start_(start), end_(end) {}

  // The primary, else the backup in the partition's last sector.
  bool Open() {
    current_ = reader_.Read(start_);
    on_backup_ = false;
    if (HasBootSignature(current_)) return true;
    if (end_ == 0) return false;
    current_ = reader_.Read(end_ - 1);
    on_backup_ = true;
    return HasBootSignature(current_);
  }
  const Sector& Current() const { return current_; }
  // Switches to the other copy.
  const Sector& SwitchCopy() {
    on_backup_ = !on_backup_;
    current_ = on_backup_ ? (end_ == 0 ? Sector{} : reader_.Read(end_ - 1)) : reader_.Read(start_);
    return current_;
  }
  Sector OtherCopy() {
    if (on_backup_) return reader_.Read(start_);
    return end_ == 0 ? Sector{} : reader_.Read(end_ - 1);
  }

 private:
  Reader& reader_;
  std::uint64_t start_;
  std::uint64_t end_;
  Sector current_{};
  bool on_backup_ = false;
};

std::uint32_t SectorsPerMftRecord(const Sector& boot, std::uint32_t per_cluster) {
  const std::uint32_t value = Le32(boot, 0x40);
  return value == 0xF6 ? 2 : value * per_cluster;
}

bool MftRecordSizeValid(std::uint32_t sectors) { return sectors == 2 || sectors == 4 || sectors == 6 || sectors == 8; }

// The first sector of the MFT (or its mirror) from the cluster number at offset, when it holds a
// FILE record; else from the other copy's number; else 0.
std::uint64_t LocateMft(Reader& reader, NtfsBootCopies& copies, std::uint64_t start, std::uint32_t per_cluster,
                        std::size_t offset) {
  for (const Sector& boot : {copies.Current(), copies.OtherCopy()}) {
    const std::uint64_t sector = start + Le64(boot, offset) * per_cluster;
    if (BytesEqual(reader.Read(sector), 0, "FILE")) return sector;
  }
  return 0;
}

bool ComputeNtfs(Reader& reader, const PartitionParams& params, FileSystemParams& out,
                 const std::function<void()>& on_missing) {
  const std::uint64_t start = params.StartSector;
  NtfsBootCopies copies(reader, start, params.EndSector);
  if (!copies.Open()) {
    if (on_missing) on_missing();
    return false;
  }
  std::uint32_t per_cluster = Le8(copies.Current(), 0x0D);
  if (!ClusterSizeValid(per_cluster)) {
    per_cluster = Le8(copies.SwitchCopy(), 0x0D);
    if (!ClusterSizeValid(per_cluster)) return false;
  }
  std::uint32_t per_record = SectorsPerMftRecord(copies.Current(), per_cluster);
  if (!MftRecordSizeValid(per_record)) {
    per_cluster = Le8(copies.SwitchCopy(), 0x0D);
    if (!ClusterSizeValid(per_cluster)) return false;
    per_record = SectorsPerMftRecord(copies.Current(), per_cluster);
    if (!MftRecordSizeValid(per_record)) return false;
  }
  const std::uint64_t mft = LocateMft(reader, copies, start, per_cluster, 0x30);
  const std::uint64_t mirror = LocateMft(reader, copies, start, per_cluster, 0x38);
  if (mft == 0 && mirror == 0) return false;
  const std::uint32_t index_value = Le32(copies.Current(), 0x44);
  out.SectorsPerIndexRecord = index_value == 0xF4 ? 8 : index_value * per_cluster;
  out.SectorsPerCluster = per_cluster;
  out.Cluster0Start = start;
  out.MftStart = mft;
  out.MftMirrStart = mirror;
  out.SectorsPerMftRecord = per_record;
  out.ParamsFileSystemName = FileSystemKind::kNtfs;
  return true;
}

}  // namespace

bool ComputePartitionParams(SectorAccess& sectors, const std::string& path, const PartitionParams& params,
                            FileSystemParams& working, const std::function<void()>& on_ntfs_missing) {
  working = FileSystemParams{};
  Reader reader(sectors, path);
  const auto start32 = static_cast<std::uint32_t>(params.StartSector);
  if (params.FileSystemName == FileSystemKind::kFat16) return ComputeFat16(reader, start32, working);
  if (params.FileSystemName == FileSystemKind::kFat32) return ComputeFat32(reader, start32, working);
  if (params.FileSystemName == FileSystemKind::kNtfs) return ComputeNtfs(reader, params, working, on_ntfs_missing);
  return false;
}

}  // namespace pellora
