// A hostile partition table: the walk must end, stay within the 27 entries and never crash.

#include <cstdint>
#include <cstdlib>

#include "fuzz_medium.hpp"
#include "storage/partition_table.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  pellora::fuzz::FuzzMedium medium(data, size);
  // Once as a large disk (every entry passes the distance-to-end rule), once at its own size.
  for (const std::uint64_t total : {std::uint64_t{1} << 32, medium.Sectors()}) {
    pellora::DiskPartitionList list;
    int items = 0;
    pellora::ReadPartitionTable(medium.sectors, medium.reporter, medium.path, total, list,
                                [&](const pellora::DiskPartition& partition) {
                                  if (partition.index != items) std::abort();
                                  return items++;
                                });
    if (list.Count() > pellora::DiskPartitionList::kCapacity || list.Count() != items) std::abort();
  }
  (void)pellora::IsDynamicDisk(medium.sectors, medium.path);
  return 0;
}
