#include "storage/partition_table.hpp"

#include <algorithm>
#include <cstdint>
#include <set>
#include <stdexcept>

#include "common/byte_reader.hpp"
#include "common/guard.hpp"
#include "storage/boot_signature.hpp"
#include "storage/sector_access.hpp"
#include "storage/zeroed_reads.hpp"

namespace pellora {

namespace {

constexpr std::size_t kMbrEntries = 446;
constexpr std::uint8_t kExtended = 0x05;
constexpr std::uint8_t kExtendedLba = 0x0F;
constexpr std::int64_t kMinimumSectorsToEnd = 0x6000;
// GPT entry array: sectors 2..33, 128 entries of 128 bytes.
constexpr std::uint64_t kGptFirstSector = 2;
constexpr std::uint32_t kGptSectors = 32;
constexpr std::size_t kGptEntrySize = 128;
// A chain longer than this is a corrupt one: no disk carries more logical partitions than the
// list can hold, and a loop is caught earlier by the visited check.
constexpr int kMaxEbrs = 1024;

bool IsExtended(std::uint8_t type) { return type == kExtended || type == kExtendedLba; }

std::string_view PrimaryFallback(std::uint8_t type) {
  switch (type) {
    case 0x04:
    case 0x06:
    case 0x0E:
      return "FAT16";
    case 0x0B:
    case 0x0C:
      return "FAT32";
    case 0x07:
      return "NTFS";
    default:
      return {};
  }
}

std::string_view LogicalFallback(std::uint8_t type) { return type == 0x01 ? "FAT16" : PrimaryFallback(type); }

// Lists one partition; false once the list is full (the walk then ends).
bool List(DiskPartitionList& list, std::string_view file_system, std::uint64_t start, std::uint64_t end,
          const PartitionItemAdder& add_item) {
  DiskPartition* partition = list.Add(std::string(file_system), start, end);
  if (partition == nullptr) return false;
  if (add_item) partition->item = add_item(*partition);
  return !list.Full();
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  throw std::invalid_argument("not a GUID");
}

void WalkEbrChain(SectorAccess& sectors, const std::string& path, std::uint64_t base, DiskPartitionList& list,
                  const PartitionItemAdder& add_item) {
  std::set<std::uint64_t> visited;
  std::uint64_t link = 0;
  for (int pass = 0; pass < kMaxEbrs; ++pass) {
    const std::uint64_t ebr_sector = base + link;
    if (!visited.insert(ebr_sector).second) return;  // the links form a loop
    const SectorBytes ebr = ReadSectorOrZeros(sectors, path, ebr_sector);
    bool more = false;
    const auto entries = ParseMbrEntries(ebr);
    // Most tools write one logical entry and one link per EBR, but others fill all four slots:
    // every logical entry is listed, and the first link is followed.
    for (const MbrEntry& entry : entries) {
      if (entry.type == 0) continue;
      if (IsExtended(entry.type)) {
        if (!more) link = entry.start_lba;
        more = true;
        continue;
      }
      const std::uint64_t start = ebr_sector + entry.start_lba;
      const SectorBytes boot = ReadSectorOrZeros(sectors, path, start);
      std::string_view file_system = FileSystemBySignature(boot);
      if (file_system.empty()) file_system = LogicalFallback(entry.type);
      if (!file_system.empty() && !List(list, file_system, start, start + entry.sector_count, add_item)) return;
    }
    if (!more) return;
  }
}

void WalkMbr(SectorAccess& sectors, ErrorReporter& reporter, const std::string& path, std::uint64_t disk_total_sectors,
             DiskPartitionList& list, const PartitionItemAdder& add_item) {
  const SectorBytes mbr = ReadSectorOrZeros(sectors, path, 0);
  if (mbr[510] != std::byte{0x55} && mbr[511] != std::byte{0xAA}) return;
  bool extended = false;
  std::uint64_t extended_base = 0;
  for (const MbrEntry& entry : ParseMbrEntries(mbr)) {
    if (entry.type == 0) continue;
    if (static_cast<std::int64_t>(disk_total_sectors - entry.start_lba) < kMinimumSectorsToEnd) return;
    const SectorBytes boot = ReadSectorOrZeros(sectors, path, entry.start_lba);
    std::string_view file_system = FileSystemBySignature(boot);
    if (file_system.empty() && HasGptSignature(boot)) {
      ReadGpt(sectors, reporter, path, list, add_item);
      return;
    }
    if (IsExtended(entry.type)) {
      extended = true;
      extended_base = entry.start_lba;
    }
    if (file_system.empty()) file_system = PrimaryFallback(entry.type);
    if (!file_system.empty() &&
        !List(list, file_system, entry.start_lba, std::uint64_t{entry.start_lba} + entry.sector_count, add_item))
      return;
  }
  if (extended) WalkEbrChain(sectors, path, extended_base, list, add_item);
}

}  // namespace

std::array<MbrEntry, 4> ParseMbrEntries(std::span<const std::byte> sector) {
  std::array<MbrEntry, 4> entries{};
  for (std::size_t i = 0; i < entries.size(); ++i) {
    const std::size_t at = kMbrEntries + i * 16;
    if (!Fits(sector, at, 16)) break;
    entries[i] = {Le8(sector, at + 4), Le32(sector, at + 8), Le32(sector, at + 12)};
  }
  return entries;
}

Guid ParseGuid(std::string_view text) {
  std::string hex;
  for (char c : text)
    if (c != '-') hex.push_back(c);
  if (hex.size() != 32) throw std::invalid_argument("not a GUID");
  std::array<std::uint8_t, 16> plain{};
  for (std::size_t i = 0; i < 16; ++i)
    plain[i] = static_cast<std::uint8_t>(HexDigit(hex[2 * i]) * 16 + HexDigit(hex[2 * i + 1]));
  // Stored order: the first three groups little-endian, the rest as written.
  constexpr std::array<std::size_t, 16> kOrder = {3, 2, 1, 0, 5, 4, 7, 6, 8, 9, 10, 11, 12, 13, 14, 15};
  Guid guid{};
  for (std::size_t i = 0; i < 16; ++i) guid[i] = static_cast<std::byte>(plain[kOrder[i]]);
  return guid;
}

const Guid kLdmMetadataGuid = ParseGuid("5808c8aa-7e8f-42e0-85d2-e1e90434cfb3");
const Guid kMsReservedGuid = ParseGuid("e3c9e316-0b5c-4db8-817d-f92df00215ae");
const Guid kLdmDataGuid = ParseGuid("af9b60a0-1431-4f62-bc68-3311714a69ad");

std::vector<GptEntry> ReadGptEntries(SectorAccess& sectors, const std::string& path) {
  std::vector<std::byte> array(static_cast<std::size_t>(kGptSectors) * kSectorSize);
  sectors.ReadSectors(kGptSectors, path, kGptFirstSector, array);
  std::vector<GptEntry> entries;
  const std::span<const std::byte> bytes(array);
  for (std::size_t at = 0; at + kGptEntrySize <= bytes.size(); at += kGptEntrySize) {
    GptEntry entry;
    std::copy_n(bytes.begin() + static_cast<std::ptrdiff_t>(at), entry.type.size(), entry.type.begin());
    entry.first_lba = Le64(bytes, at + 32);
    entry.last_lba = Le64(bytes, at + 40);
    entries.push_back(entry);
  }
  return entries;
}

void ReadGpt(SectorAccess& sectors, ErrorReporter& reporter, const std::string& path, DiskPartitionList& list,
             const PartitionItemAdder& add_item) {
  reporter.Guarded("Reading gpt values...", "LD", "1I", [&] {
    for (const GptEntry& entry : ReadGptEntries(sectors, path)) {
      if (entry.type == kMsReservedGuid) continue;
      if (entry.last_lba == 0) return;
      const std::string_view file_system = FileSystemBySignature(ReadSectorOrZeros(sectors, path, entry.first_lba));
      if (!file_system.empty() && !List(list, file_system, entry.first_lba, entry.last_lba, add_item)) return;
    }
  });
}

void ReadPartitionTable(SectorAccess& sectors, ErrorReporter& reporter, const std::string& path,
                        std::uint64_t disk_total_sectors, DiskPartitionList& list, const PartitionItemAdder& add_item) {
  list.Clear();
  reporter.Guarded("Scanning for drive partition...", "LD", "1H",
                   [&] { WalkMbr(sectors, reporter, path, disk_total_sectors, list, add_item); });
}

bool IsDynamicDisk(SectorAccess& sectors, const std::string& path) {
  const SectorBytes mbr = ReadSectorOrZeros(sectors, path, 0);
  if (!HasBootSignature(mbr)) return false;
  bool protective = false;
  for (const MbrEntry& entry : ParseMbrEntries(mbr)) {
    if (entry.type == 0x42) return true;
    protective = protective || entry.type == 0xEE;
  }
  if (!protective) return false;
  const auto entries = ReadGptEntries(sectors, path);
  return std::any_of(entries.begin(), entries.end(), [](const GptEntry& e) { return e.type == kLdmDataGuid; });
}

}  // namespace pellora
