#include "ntfs/fixups.hpp"

#include "common/byte_reader.hpp"

namespace pellora {

void ApplyFixups(std::span<std::byte> record, std::stop_token cancel) {
  if (record.size() < 8) return;
  const std::size_t array_offset = Le16(record, 4);
  const std::size_t entries = Le16(record, 6);
  if (entries == 0) return;
  const std::size_t sectors = entries - 1;
  const std::size_t first_entry = array_offset + 2;  // after the update sequence number
  if (sectors > record.size() || first_entry > record.size()) return;
  for (std::size_t i = 0; i < sectors; ++i) {
    if (cancel.stop_requested()) return;
    const std::size_t tail = 510 + 512 * i;
    const std::size_t entry = first_entry + 2 * i;
    if (!Fits(record, tail, 2) || !Fits(record, entry, 2)) return;
    // The array may overlap the bytes it restores in a damaged record: take both bytes first.
    const std::byte low = record[entry];
    const std::byte high = record[entry + 1];
    record[tail] = low;
    record[tail + 1] = high;
  }
}

}  // namespace pellora
