#pragma once

#include <filesystem>
#include <string>

namespace pellora {

// What a file system says of itself in its boot sector (libblkid reads it; the file is opened
// read-only). Empty fields when nothing is recognised.
struct FileSystemFacts {
  std::string type;     // "vfat", "ntfs" ...
  std::string version;  // "FAT32" ...
  std::string label;
  std::string uuid;  // the volume serial number as libblkid writes it ("1234-ABCD")
};

FileSystemFacts ProbeFileSystem(const std::filesystem::path& file);

}  // namespace pellora
