#include "support/fat_image.hpp"

#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <fstream>
#include <stdexcept>
#include <vector>

#include "support/temp_dir.hpp"

namespace pellora::test {

namespace {

std::string Quote(std::string_view text) {
  std::string quoted = "'";
  for (char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

std::uint32_t Le(const std::string& bytes, std::size_t at, int width) {
  std::uint32_t value = 0;
  for (int i = width - 1; i >= 0; --i)
    value = (value << 8) | static_cast<unsigned char>(bytes[at + static_cast<std::size_t>(i)]);
  return value;
}

}  // namespace

std::string Shell(const std::string& command) {
  const std::string full =
      "export TZ=UTC MTOOLS_SKIP_CHECK=1 MTOOLSRC=/dev/null SOURCE_DATE_EPOCH=1783000000; " + command + " 2>&1";
  FILE* pipe = ::popen(full.c_str(), "r");
  if (pipe == nullptr) throw std::runtime_error("cannot run: " + command);
  std::string output;
  std::array<char, 4096> buffer{};
  while (std::size_t n = std::fread(buffer.data(), 1, buffer.size(), pipe)) output.append(buffer.data(), n);
  const int status = ::pclose(pipe);
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) throw std::runtime_error(command + " failed:\n" + output);
  return output;
}

FatImage::FatImage(std::filesystem::path image, int fat_bits, int sectors_per_cluster, int size_mib)
    : image_(std::move(image)) {
  std::filesystem::remove(image_);
  Shell("truncate -s " + std::to_string(size_mib) + "M " + Quote(image_.string()) + " && mkfs.fat --invariant -F " +
        std::to_string(fat_bits) + " -s " + std::to_string(sectors_per_cluster) + " " + Quote(image_.string()) +
        " >/dev/null");
}

void FatImage::Mtools(const std::string& command) const { Shell(command); }

void FatImage::Mkdir(std::string_view path) const {
  Mtools("mmd -i " + Quote(image_.string()) + " " + Quote("::" + std::string(path)));
}

void FatImage::Put(std::string_view path, std::string_view content) const {
  TempDir scratch;
  const auto file = scratch / "content";
  WriteFile(file, content);
  Shell("touch -d '2026-07-01 10:00:00 UTC' " + Quote(file.string()) + " && mcopy -o -m -i " + Quote(image_.string()) +
        " " + Quote(file.string()) + " " + Quote("::" + std::string(path)));
}

void FatImage::PutTree(const std::filesystem::path& local_folder) const {
  Shell("cd " + Quote(local_folder.string()) +
        " && find . -exec touch -h -d '2026-07-01 10:00:00 UTC' {} + && mcopy -s -o -m -i " + Quote(image_.string()) +
        " ./* ::");
}

void MakeLocalTree(const std::filesystem::path& root, int files, int depth) {
  std::filesystem::create_directories(root);
  std::vector<std::filesystem::path> folders{root};
  for (int level = 1, made = 0; level <= depth; ++level) {
    const std::size_t parents = folders.size();
    for (std::size_t p = 0; p < parents && made < 40; ++p, ++made) {
      const auto folder =
          folders[p] / (level % 2 == 0 ? "Level " + std::to_string(level) + " album " + std::to_string(p)
                                       : "L" + std::to_string(level) + "_" + std::to_string(p));
      std::filesystem::create_directories(folder);
      folders.push_back(folder);
    }
  }
  for (int i = 0; i < files; ++i) {
    const auto& folder = folders[static_cast<std::size_t>(i) % folders.size()];
    const std::string name = i % 3 == 0 ? "IMG_" + std::to_string(1000 + i) + ".JPG"
                                        : "Photo number " + std::to_string(i) + " from the trip.jpg";
    WriteFile(folder / name,
              std::string(static_cast<std::size_t>(100 + (i * 37) % 5000), static_cast<char>('a' + i % 26)));
  }
}

void FatImage::Delete(std::string_view path) const {
  Mtools("mdel -i " + Quote(image_.string()) + " " + Quote("::" + std::string(path)));
}

void FatImage::DeleteTree(std::string_view path) const {
  Mtools("mdeltree -i " + Quote(image_.string()) + " " + Quote("::" + std::string(path)));
}

std::string FatImage::Listing() const { return Shell("mdir -/ -a -b -i " + Quote(image_.string()) + " ::"); }

FileSystemParams FatImage::Params() const {
  std::ifstream in(image_, std::ios::binary);
  std::string boot(512, '\0');
  in.read(boot.data(), 512);
  FileSystemParams p;
  const bool fat32 = boot.substr(82, 5) == "FAT32";
  p.ParamsFileSystemName = fat32 ? "FAT32" : "FAT16";
  p.SectorsPerCluster = Le(boot, 13, 1);
  p.ReserveSecStart = Le(boot, 14, 2);
  p.FatSectors = fat32 ? Le(boot, 36, 4) : Le(boot, 22, 2);
  p.firstFAT = p.ReserveSecStart;
  p.secondFAT = p.firstFAT + p.FatSectors;
  if (fat32) {
    p.RootSec = 0;
    p.RootStartSec = Le(boot, 44, 4);
    p.Cluster0Start = std::uint64_t{2} * p.FatSectors + p.ReserveSecStart - 2ull * p.SectorsPerCluster;
  } else {
    p.RootSec = Le(boot, 17, 2) / 16;
    p.RootStartSec = 2 * p.FatSectors + p.ReserveSecStart;
    p.Cluster0Start = std::uint64_t{2} * p.FatSectors + p.RootSec + p.ReserveSecStart - 2ull * p.SectorsPerCluster;
  }
  return p;
}

ImageVolume::ImageVolume(const FatImage& image) : disk(image.Path()) {
  volume.sectors = &disk.Sectors();
  volume.device_path = disk.Path();
  volume.params = image.Params();
  volume.read_limit_bytes = std::filesystem::file_size(image.Path());
}

void PatchLongName(const std::filesystem::path& image, std::string_view from, std::string_view to) {
  static constexpr int kOffsets[13] = {1, 3, 5, 7, 9, 14, 16, 18, 20, 22, 24, 28, 30};
  std::string bytes = ReadFile(image);
  auto unit = [&](std::size_t entry, int i) {
    return static_cast<std::uint16_t>(static_cast<unsigned char>(bytes[entry + kOffsets[i]]) |
                                      static_cast<unsigned char>(bytes[entry + kOffsets[i] + 1]) << 8);
  };
  for (std::size_t entry = 0; entry + 32 <= bytes.size(); entry += 32) {
    if (bytes[entry + 11] != 0x0F) continue;
    bool same = true;
    for (int i = 0; i < 13 && same; ++i) {
      const std::uint16_t want = i < static_cast<int>(from.size())    ? static_cast<unsigned char>(from[i])
                                 : i == static_cast<int>(from.size()) ? 0
                                                                      : 0xFFFF;
      same = unit(entry, i) == want;
    }
    if (!same) continue;
    for (int i = 0; i < 13; ++i) {
      const std::uint16_t value = i < static_cast<int>(to.size())    ? static_cast<unsigned char>(to[i])
                                  : i == static_cast<int>(to.size()) ? 0
                                                                     : 0xFFFF;
      bytes[entry + kOffsets[i]] = static_cast<char>(value & 0xFF);
      bytes[entry + kOffsets[i] + 1] = static_cast<char>(value >> 8);
    }
    WriteFile(image, bytes);
    return;
  }
  throw std::runtime_error("no long name " + std::string(from));
}

}  // namespace pellora::test
