// A whole Basic Search over an NTFS volume from a damaged card: the boot sector, the $MFT's own
// record and every FILE record it walks come from the input.

#include <cstddef>
#include <cstdint>

#include "fuzz_volume.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  pellora::fuzz::FuzzApp fuzz(data, size);
  fuzz.BasicSearch("NTFS");
  return 0;
}
