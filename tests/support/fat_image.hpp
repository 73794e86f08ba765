#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

#include "fat/fat_volume.hpp"
#include "recognition/partition_params.hpp"
#include "support/memory_disk.hpp"

namespace pellora::test {

// A FAT volume image made by the real tools (mkfs.fat, then mtools for its content), with the
// file-system values of its boot sector. Times are fixed so the image is the same on every run.
class FatImage {
 public:
  // fat_bits 16 or 32; the volume fills the whole file (no partition table).
  FatImage(std::filesystem::path image, int fat_bits, int sectors_per_cluster, int size_mib);

  const std::filesystem::path& Path() const { return image_; }
  void Mkdir(std::string_view path) const;
  void Put(std::string_view path, std::string_view content) const;
  // Copies a local folder's content (recursively) into the volume's root.
  void PutTree(const std::filesystem::path& local_folder) const;
  void Delete(std::string_view path) const;
  void DeleteTree(std::string_view path) const;
  // What mtools itself lists (`mdir -/ -a -b`), one path a line.
  std::string Listing() const;
  // The values the engines read, from the boot sector as mkfs.fat wrote it.
  FileSystemParams Params() const;

 private:
  void Mtools(const std::string& command) const;
  std::filesystem::path image_;
};

// The FAT engine's view of an image: the image attached as a disk, with its file-system values.
struct ImageVolume {
  explicit ImageVolume(const FatImage& image);
  TestDisk disk;
  FatVolume volume;
};

// A folder tree of `files` small files spread over folders nested up to `depth` deep, with long
// and short names; the same on every run.
void MakeLocalTree(const std::filesystem::path& root, int files, int depth);

// Rewrites a long name of at most 13 characters (one long-name entry) in a FAT image, as a hostile
// or damaged medium may hold it; throws when the image has no such name.
void PatchLongName(const std::filesystem::path& image, std::string_view from, std::string_view to);

// Runs a shell command; throws with its output when it fails.
std::string Shell(const std::string& command);

}  // namespace pellora::test
