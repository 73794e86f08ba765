// A whole Basic Search over a FAT volume from a damaged card: boot sector, FATs, root directory and
// directory clusters all come from the input, and no report, crash or endless walk may follow.

#include <cstddef>
#include <cstdint>

#include "fuzz_volume.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  pellora::fuzz::FuzzApp fuzz(data, size);
  // Without a FAT boot sector the values are rebuilt from the directory clusters found.
  fuzz.BasicSearch(size % 2 == 0 ? "FAT32" : "FAT16");
  return 0;
}
