// Cluster numbers and run lengths come from a damaged medium (a FAT entry, an NTFS data run) and
// may point anywhere: the copy must read only inside the medium and the read limit, and hand the
// sink no more than the file's size.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "fat/file_content.hpp"
#include "fuzz_medium.hpp"

namespace {

template <typename T>
T Take(const std::uint8_t*& data, std::size_t& size) {
  T value{};
  if (size >= sizeof value) {
    std::memcpy(&value, data, sizeof value);
    data += sizeof value;
    size -= sizeof value;
  }
  return value;
}

}  // namespace

// Input: Cluster0Start (u64), SectorsPerCluster (u8), read limit (u32), size (u32), a run count
// (u8) and that many runs (u64 first, u16 count), then the medium itself.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const auto cluster0 = Take<std::uint64_t>(data, size);
  const auto per_cluster = Take<std::uint8_t>(data, size);
  const auto read_limit = Take<std::uint32_t>(data, size);
  const auto file_size = Take<std::uint32_t>(data, size) % (1u << 24);
  const auto run_count = Take<std::uint8_t>(data, size) % 16;
  std::vector<pellora::ClusterRun> runs;
  for (int i = 0; i < run_count; ++i) {
    const auto first = Take<std::uint64_t>(data, size);
    runs.push_back({first, Take<std::uint16_t>(data, size)});
  }
  pellora::fuzz::FuzzMedium medium(data, size);
  pellora::FatVolume volume;
  volume.sectors = &medium.sectors;
  volume.device_path = medium.path;
  volume.params.Cluster0Start = cluster0;
  volume.params.SectorsPerCluster = per_cluster;
  volume.read_limit_bytes = read_limit;
  std::uint64_t handed = 0;
  pellora::CopyClusterRuns(volume, runs, file_size, [&](std::span<const std::byte> bytes) {
    handed += bytes.size();
    return true;
  });
  if (handed > file_size) std::abort();
  return 0;
}
