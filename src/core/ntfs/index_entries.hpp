#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>

namespace pellora {

// One entry of an NTFS index record (INDX) of a folder: a file or folder with the $FILE_NAME key
// it is filed under.
struct IndexEntry {
  bool folder = false;       // the key's file attributes carry the directory flag
  std::uint32_t child = 0;   // low 32 bits of the entry's file reference
  std::uint32_t parent = 0;  // low 32 bits of the key's parent reference
  std::uint64_t created = 0;
  std::uint64_t real_size = 0;
  std::string name;                      // UTF-8, decoded from its UTF-16 units
  std::uint64_t after_name[2] = {0, 0};  // the two 64-bit values that follow the name, when they fit
};

// The size in bytes of an index record as its header gives it (allocated size of its entries + the
// 24 bytes before them); nullopt when the header does not fit or says more than 65,536 bytes.
std::optional<std::size_t> IndexRecordBytes(std::span<const std::byte> first_sector);

// The folder that owns an index record: the parent of the key of its first entry.
std::optional<std::uint32_t> IndexRecordOwner(std::span<const std::byte> record);

// Visits the entries of a fixed-up index record in order. The walk ends at an entry without a
// name, at a name that would run past the buffer, at a zero length, at the last entry of the node
// (length 16, flag 2), or at the end of the buffer. Every offset and length is checked against
// the buffer.
void WalkIndexEntries(std::span<const std::byte> record, const std::function<void(const IndexEntry&)>& visit);

}  // namespace pellora
