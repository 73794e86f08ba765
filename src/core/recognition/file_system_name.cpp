#include "recognition/file_system_name.hpp"

namespace pellora {

std::string GuessFileSystemBySize(std::uint64_t start, std::uint64_t end) {
  const std::uint64_t mib = (end > start ? end - start : 0) >> 11;
  if ((mib >> 10) > 34) return "NTFS";
  if (mib >= 1) return "FAT32";
  return "Unknown";
}

std::string FileSystemFromLabel(std::string_view label) {
  for (const char* name : {"FAT16", "FAT32", "NTFS"})
    if (label.find(name) != std::string_view::npos) return name;
  return "Unknown";
}

bool IsRecognisedFileSystem(std::string_view name) { return name == "FAT16" || name == "FAT32" || name == "NTFS"; }

}  // namespace pellora
