#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace pellora {

// A partition key of a found directory: not yet given to a partition, or out of the running.
inline constexpr std::uint64_t kUnassignedDirectory = 0;
inline constexpr std::uint64_t kUnpairedDirectory = 4294967295;

// A sector that begins a FAT directory cluster, met by a raw scan.
struct FoundDirectory {
  std::uint64_t sector = 0;                        // "Sector"
  std::uint32_t self = 0;                          // "Self Cluster": from the "." entry
  std::uint32_t parent = 0;                        // "Parent Cluster": from the ".." entry
  std::uint64_t partition = kUnassignedDirectory;  // "File System": cluster-0 sector of its partition
  std::uint16_t date = 0;                          // "Date": of the "." entry
  std::uint16_t time = 0;                          // "Time": of the "." entry
  std::uint64_t cluster0_start = 0;                // "Cluster0Start": set with the partition key
  std::string name;                                // "Name", when known
};

// A directory cluster begins with its "." and ".." entries: ". " at byte 0 and ".. " at byte 32.
bool IsDirectoryClusterStart(std::span<const std::byte> sector_bytes);

// The found-directory row of a sector that begins a directory cluster, else nullopt. Clusters
// are read as FAT32 does (high word << 16 | low word); FAT16 keeps its high words 0.
std::optional<FoundDirectory> ReadFoundDirectory(std::span<const std::byte> sector_bytes, std::uint64_t sector);

}  // namespace pellora
