// Update sequence arrays of hostile records: only the last two bytes of whole sectors may change,
// whatever the header says.

#include <cstdint>
#include <cstdlib>
#include <vector>

#include "ntfs/fixups.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::vector<std::byte> before(reinterpret_cast<const std::byte*>(data),
                                      reinterpret_cast<const std::byte*>(data) + size);
  std::vector<std::byte> record = before;
  pellora::ApplyFixups(record);
  for (std::size_t i = 0; i < size; ++i)
    if (record[i] != before[i] && i % 512 != 510 && i % 512 != 511) std::abort();
  return 0;
}
