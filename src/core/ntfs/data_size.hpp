#pragma once

#include <stop_token>

#include <cstdint>
#include <span>
#include <string_view>

#include "ntfs/file_record.hpp"

namespace pellora {

struct DataSize {
  bool found = false;  // an unnamed $DATA gave the size
  std::uint64_t size = 0;
};

// A file's size from its records (base first, then its extension records): the first unnamed
// $DATA that holds the start of the file gives it, the value length when resident, the real size
// when not. When that is 0 (or there is none) and the name does not begin with "$", the u64 at
// 0xD8 of the base record is taken: in the usual layout, where a $FILE_NAME follows the standard
// information at 0x98, it is that name's allocated size, which survives in records whose $DATA
// was emptied. Records of another layout have something else there and keep 0.
DataSize GetDataSize(std::span<const FileRecord> records, std::string_view name, std::stop_token cancel = {});

}  // namespace pellora
