// Hostile NTFS index records: the entry walker must stay inside the record, and the NTFS Deep
// Search over a hostile medium (FILE and INDX records anywhere) must never crash.

#include <cstdint>
#include <cstdlib>

#include "fuzz_medium.hpp"
#include "ntfs/index_entries.hpp"
#include "search/deep_search.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::span<const std::byte> input(reinterpret_cast<const std::byte*>(data), size);
  std::size_t entries = 0;
  pellora::WalkIndexEntries(input, [&](const pellora::IndexEntry& entry) {
    ++entries;
    if (entry.name.empty()) std::abort();  // a name of length 0 ends the walk
  });
  if (entries > size) std::abort();  // every entry moves the walk on
  (void)pellora::IndexRecordOwner(input);
  (void)pellora::IndexRecordBytes(input);

  pellora::fuzz::FuzzMedium medium(data, size);
  const pellora::DeepSearchRequest request{.device_path = medium.path,
                                           .start_sector = 0,
                                           .end_sector = medium.Sectors(),
                                           .file_system = "NTFS",
                                           .read_limit_bytes = size,
                                           .now = 0};
  (void)pellora::RunDeepSearch(request, medium.sectors, medium.ui, medium.reporter, {});
  return 0;
}
