// Hostile run lists: decoding ends, reads no field past its bytes, gives the same runs however the
// bytes arrive, and the $MFT's fragments stay inside the partition.

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <vector>

#include "fuzz_medium.hpp"
#include "ntfs/data_runs.hpp"
#include "ntfs/mft_fragments.hpp"
#include "ntfs/record_sector.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 2) return 0;
  const std::span<const std::byte> bytes(reinterpret_cast<const std::byte*>(data) + 1, size - 1);

  // The same list handed over in pieces of the first byte's size must decode the same.
  const std::size_t piece = data[0] % 16 + 1;
  std::size_t handed = std::min(piece, bytes.size());
  pellora::RunListDecoder pieces(bytes.first(handed), [&](std::vector<std::byte>& more) {
    if (handed >= bytes.size()) return false;
    const std::size_t next = std::min(piece, bytes.size() - handed);
    more.insert(more.end(), bytes.begin() + static_cast<std::ptrdiff_t>(handed),
                bytes.begin() + static_cast<std::ptrdiff_t>(handed + next));
    handed += next;
    return true;
  });
  std::vector<pellora::DataRun> runs;
  while (const auto run = pieces.Next()) runs.push_back(*run);
  if (pieces.Consumed() > bytes.size() || runs != pellora::DecodeDataRuns(bytes)) std::abort();

  // The input as a partition whose $MFT record 0 lies at its first sector.
  pellora::fuzz::FuzzMedium medium(data, size);
  pellora::NtfsVolume volume;
  volume.sectors = &medium.sectors;
  volume.device_path = medium.path;
  volume.params.SectorsPerCluster = 1u << (data[0] % 8);
  volume.params.Cluster0Start = 0;
  volume.params.MftStart = 0;
  volume.end_sector = medium.Sectors();
  volume.read_limit_bytes = size;
  volume.reporter = &medium.reporter;
  const pellora::MftFragments fragments = pellora::BuildMftFragments(volume);
  for (const pellora::MftFragment& fragment : fragments.List())
    if (fragment.sectors == 0 || fragment.start + fragment.sectors > volume.end_sector) std::abort();
  if (fragments.TotalSectors() > volume.end_sector) std::abort();
  for (std::uint64_t number = 0; number * 2 < fragments.TotalSectors() && number < 64; ++number) {
    const std::uint64_t sector = pellora::MftRecordToSector(fragments, number);
    if (sector >= volume.end_sector || pellora::MftSectorToRecord(fragments, sector) > number) std::abort();
  }
  return 0;
}
