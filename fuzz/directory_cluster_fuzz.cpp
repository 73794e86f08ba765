// Hostile media for the FAT Deep Search: every sector is tested for a directory cluster start,
// partitions are inferred from what is found, their FATs looked for, their root directories read
// and the tree arranged. None of it may crash or let an exception reach a guard.

#include <cstdint>
#include <cstdlib>

#include "fat/directory_assignment.hpp"
#include "fat/directory_cluster.hpp"
#include "fuzz_medium.hpp"
#include "search/deep_search.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::span<const std::byte> input(reinterpret_cast<const std::byte*>(data), size);
  std::vector<pellora::FoundDirectory> directories;
  for (std::size_t at = 0; at + 32 <= size; at += 32)  // directory starts at any 32-byte step
    if (auto d = pellora::ReadFoundDirectory(input.subspan(at, std::min<std::size_t>(512, size - at)), at / 32))
      directories.push_back(*d);
  std::vector<pellora::FoundPartition> partitions;
  pellora::InferPartitions(directories, "FAT16", partitions, nullptr);
  if (partitions.size() > directories.size() / 2) std::abort();

  pellora::fuzz::FuzzMedium medium(data, size);
  for (const char* file_system : {"FAT16", "FAT32"}) {
    const pellora::DeepSearchRequest request{.device_path = medium.path,
                                             .start_sector = 0,
                                             .end_sector = medium.Sectors(),
                                             .file_system = file_system,
                                             .read_limit_bytes = size,
                                             .now = 0};
    (void)pellora::RunDeepSearch(request, medium.sectors, medium.ui, medium.reporter, {});
  }
  return 0;
}
