#pragma once

#include <stop_token>

#include <cstdint>
#include <vector>

#include "ntfs/file_record.hpp"
#include "ntfs/mft_fragments.hpp"

namespace pellora {

// The records that hold a file's attributes: the base record first, then every record named in
// its $ATTRIBUTE_LIST, in list order (the base itself is usually named there again). An entry
// whose first eight bytes are 0, or 0xFFFFFFFF followed by 0, or whose length is 0 or above 1023,
// ends the entries, as does the end of the list's value or, in the record, an entry that would
// start at 1023 or beyond. A list too long to stay in the record lies in clusters of its own; it
// is read (up to 256 KiB) when a reader is given.
std::vector<std::uint64_t> CollectExtensionRecords(const FileRecord& base, std::uint64_t base_number,
                                                   RecordReader* reader = nullptr, std::stop_token cancel = {});

// The base record followed by its extension records as read from the $MFT: each named record
// once (at most 4096 of them), and only those that say they belong to this base record (a
// deleted file's list may name records that another file has taken since). A failure is reported
// as "Get mft fragments...".
std::vector<FileRecord> ReadRecordList(RecordReader& reader, const MftFragments& fragments, const FileRecord& base,
                                       std::uint64_t base_number);

}  // namespace pellora
