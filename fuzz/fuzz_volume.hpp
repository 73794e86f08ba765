#pragma once

// Whole volumes and disks from a fuzz input, for the targets that run a search (and a save) end to
// end. The input is a sparse image: pieces of sectors placed where they belong, zeros everywhere
// else, so a few kilobytes stand for a volume of megabytes (its boot sector, FATs, directory
// clusters or MFT records at the sectors the boot sector names). A piece is a u32 sector number, a
// u16 sector count and that many 512-byte sectors (the last piece may be cut short).

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <span>
#include <stop_token>
#include <string>
#include <vector>

#include "fuzz_medium.hpp"
#include "recognition/lost_partition_search.hpp"
#include "search/basic_search.hpp"
#include "state/app_state.hpp"
#include "storage/device_path.hpp"
#include "storage/source.hpp"

namespace pellora::fuzz {

// Larger volumes only make every run slower: a search reads its whole range.
inline constexpr std::uint64_t kMaxVolumeSectors = 16384;  // 8 MiB

struct SparseImage {
  struct Piece {
    std::uint64_t offset = 0;
    std::vector<std::byte> bytes;
  };
  std::vector<Piece> pieces;  // later pieces cover earlier ones
  std::uint64_t size_bytes = 0;

  static std::shared_ptr<const SparseImage> Parse(const std::uint8_t* data, std::size_t size,
                                                  std::uint64_t max_sectors = kMaxVolumeSectors) {
    auto image = std::make_shared<SparseImage>();
    std::size_t at = 0;
    while (at + 6 <= size) {
      std::uint32_t sector = 0;
      std::uint16_t count = 0;
      std::memcpy(&sector, data + at, 4);
      std::memcpy(&count, data + at + 4, 2);
      at += 6;
      const std::size_t length = std::min<std::size_t>(std::size_t{count} * 512, size - at);
      const std::uint64_t offset = std::uint64_t{sector % max_sectors} * 512;
      image->pieces.push_back({offset, std::vector<std::byte>(reinterpret_cast<const std::byte*>(data + at),
                                                              reinterpret_cast<const std::byte*>(data + at + length))});
      image->size_bytes = std::max(image->size_bytes, offset + length);
      at += length;
    }
    // Whole sectors: a volume ends on a sector boundary.
    image->size_bytes = (image->size_bytes + 511) / 512 * 512;
    return image;
  }

  std::vector<std::byte> Sector(std::uint64_t number) const {
    std::vector<std::byte> out(512);
    Read(number * 512, out);
    return out;
  }

  std::size_t Read(std::uint64_t offset, std::span<std::byte> out) const {
    if (offset >= size_bytes) return 0;
    const auto count = static_cast<std::size_t>(std::min<std::uint64_t>(out.size(), size_bytes - offset));
    std::fill(out.begin(), out.begin() + static_cast<std::ptrdiff_t>(count), std::byte{0});
    for (const Piece& piece : pieces) {
      const std::uint64_t from = std::max(offset, piece.offset);
      const std::uint64_t to = std::min(offset + count, piece.offset + piece.bytes.size());
      if (from < to)
        std::memcpy(out.data() + (from - offset), piece.bytes.data() + (from - piece.offset),
                    static_cast<std::size_t>(to - from));
    }
    return count;
  }
};

class SparseSource final : public Source {
 public:
  explicit SparseSource(std::shared_ptr<const SparseImage> image) : image_(std::move(image)) {}
  ReadOutcome ReadAt(std::uint64_t offset, std::span<std::byte> out) override {
    return {.ok = true, .bytes = image_->Read(offset, out), .error = 0};
  }
  std::uint64_t SizeBytes() const override { return image_->size_bytes; }

 private:
  std::shared_ptr<const SparseImage> image_;
};

// The process state over a sparse image attached as a removable disk (and, for the logical-volume
// search, as volume D:). Questions get their default answers; a failure report aborts.
struct FuzzApp {
  FuzzApp(const std::uint8_t* data, std::size_t size, std::uint64_t max_sectors = kMaxVolumeSectors)
      : image(SparseImage::Parse(data, size, max_sectors)) {
    for (const auto& [path, kind] :
         {std::pair{PhysicalDrivePath(0), DeviceKind::kDisk}, std::pair{VolumePath('D'), DeviceKind::kVolume}})
      app.devices.AddSource(path, kind, [shared = image](int*) -> std::unique_ptr<Source> {
        return std::make_unique<SparseSource>(shared);
      });
  }
  std::uint64_t Sectors() const { return image->size_bytes / 512; }

  // A Basic Search over the whole disk as one volume, the file system named by its boot sector
  // (or by `fallback` when it names none: FAT values are then rebuilt from directory clusters).
  BasicSearchOutcome BasicSearch(std::string fallback) {
    const auto boot = image->Sector(0);
    const auto candidate = TestBootSector(boot, 0);
    PartitionParams& p = app.partition_params;
    p.FileSystemName = candidate ? candidate->file_system : std::move(fallback);
    p.StartSector = 0;
    p.EndSector = p.RangeEnd = Sectors();
    p.ReadLimitBytes = image->size_bytes;
    app.current_device_path = PhysicalDrivePath(0);
    app.mode.Set(SearchMode::kBasic);
    app.read_guard.SetReadLimitBytes(p.ReadLimitBytes);
    return RunBasicSearch(app, {});
  }

  std::shared_ptr<const SparseImage> image;
  SilentUi ui;
  AppState app{ui};
};

}  // namespace pellora::fuzz
