#pragma once

#include <cstddef>
#include <span>
#include <stop_token>

namespace pellora {

// Puts back the last two bytes of every 512-byte sector of a multi-sector record (FILE, INDX),
// which the file system replaced by the update sequence number when it wrote the record; the
// originals wait in the update sequence array. The number itself is not compared, so a torn record
// is read as it is. Offsets and counts from the header that do not fit the buffer leave it as it
// is; a set cancel flag stops between sectors.
void ApplyFixups(std::span<std::byte> record, std::stop_token cancel = {});

}  // namespace pellora
