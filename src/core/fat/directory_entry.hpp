#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace pellora {

inline constexpr std::size_t kDirectoryEntrySize = 32;
inline constexpr std::size_t kEntriesPerSector = 16;
inline constexpr std::uint8_t kLongNameAttribute = 0x0F;
inline constexpr std::uint8_t kDirectoryAttribute = 0x10;

// Reads the directory sector that comes before `sector` in its directory (long names may begin
// there) and returns its number; nullopt when there is none or it cannot be read. A directory's
// sectors need not lie next to each other on the disk: its clusters can be anywhere.
using PreviousSectorReader =
    std::function<std::optional<std::uint64_t>(std::uint64_t sector, std::span<std::byte> out)>;

// What the entries are parsed for: the file list takes files, the folder scans take folders and
// the files with odd attributes.
enum class EntryMode { kFiles, kFolders };

// One 32-byte directory entry as the engine reads it.
struct DirectoryEntry {
  bool end_of_directory = false;  // byte 0 is 0x00
  bool accepted = false;          // a name was made: the entry counts in this mode
  std::string name;               // the long name when there is one, else the 8.3 name
  std::string short_name;         // "IMG_0001.JPG"; a deleted entry starts with "_"
  bool deleted = false;
  std::uint8_t attr = 0;
  std::uint32_t first_cluster = 0;  // FAT32: high word << 16 | low word; FAT16: low word
  std::uint32_t size = 0;
  std::uint16_t date = 0;
  std::uint16_t time = 0;
};

// Parses entry `index` (0..15) of a 512-byte directory sector lying at absolute `sector`.
// mode and skip_folders choose which entries are accepted; read_limit_bytes keeps files larger than
// the medium out of the file list.
DirectoryEntry ParseDirectoryEntry(std::span<const std::byte> sector_bytes, std::size_t index, std::uint64_t sector,
                                   bool fat32, bool skip_folders, EntryMode mode, std::uint64_t read_limit_bytes,
                                   const PreviousSectorReader& read_previous);

// The long name stored in the long-name entries just before the short entry at entry_offset, or
// empty. Walks back into the previous sector when the name begins there. Only parts whose checksum
// matches the 8.3 name are taken.
std::string FindLongName(std::span<const std::byte> sector_bytes, std::size_t entry_offset, std::uint64_t sector,
                         const PreviousSectorReader& read_previous);

// The checksum every long-name entry of a name carries: over the 11 bytes of its 8.3 name field.
std::uint8_t ShortNameChecksum(std::span<const std::byte> name11);

// An 8.3 name is refused when it holds control characters or any of " \ / ? * < > | :.
bool IsValidShortName(std::string_view name_utf8);

}  // namespace pellora
