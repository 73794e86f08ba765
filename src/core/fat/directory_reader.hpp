#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "fat/directory_entry.hpp"
#include "fat/fat_volume.hpp"

namespace pellora {

// The sectors of a folder's directory, in order: for Self 0 the fixed root region (FAT16) or the
// root cluster's chain (FAT32); otherwise the chain of the folder's first cluster.
std::vector<std::uint64_t> DirectorySectors(const FatVolume& volume, std::uint64_t self);

// How a walk over a directory treats an end-of-directory entry and an unreadable sector.
struct DirectoryWalk {
  EntryMode mode = EntryMode::kFiles;
  bool skip_folders = false;
  bool end_ends_folder = true;    // false: it only ends the sector it stands in
  bool failed_read_ends = false;  // false: the unreadable sector is skipped
};

// Visits every entry of the sectors with its sector number and its position in the sector; the
// visitor returns false to stop. Returns false when the walk was stopped by an end-of-directory
// entry, an unreadable sector (when failed_read_ends), the visitor or the volume's cancel flag.
using EntryVisitor = std::function<bool(const DirectoryEntry& entry, std::uint64_t sector)>;
// Only `count` sectors from `first` on are walked; long names may still begin in earlier ones.
bool WalkDirectorySectors(const FatVolume& volume, const std::vector<std::uint64_t>& sectors, const DirectoryWalk& walk,
                          const EntryVisitor& visit, std::size_t first = 0, std::size_t count = SIZE_MAX);

// The same over the folder whose first cluster is self (0: the root directory).
bool WalkDirectory(const FatVolume& volume, std::uint64_t self, const DirectoryWalk& walk, const EntryVisitor& visit);

}  // namespace pellora
