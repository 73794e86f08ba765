#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace pellora {

// A whole disk without a recognised partition: above 34 GiB "NTFS", from 1 MiB "FAT32", else
// "Unknown".
std::string GuessFileSystemBySize(std::uint64_t start, std::uint64_t end);

// The first of "FAT16", "FAT32", "NTFS" that the label contains, else "Unknown".
std::string FileSystemFromLabel(std::string_view label);

// Whether a name is one the engines can read.
bool IsRecognisedFileSystem(std::string_view name);

}  // namespace pellora
