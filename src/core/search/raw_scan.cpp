#include "search/raw_scan.hpp"

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <new>
#include <string>

#include "common/progress.hpp"
#include "common/ui.hpp"
#include "storage/sector_access.hpp"

namespace pellora {

namespace {

constexpr std::size_t kPageBytes = 4096;

struct FreeAligned {
  void operator()(std::byte* bytes) const { std::free(bytes); }
};

// The kernel copies from the page cache into a page-aligned buffer several times faster than into
// one that is not (malloc's large blocks start 16 bytes into a page), which decides the speed of a
// scan of a cached medium.
std::unique_ptr<std::byte, FreeAligned> PageAlignedBuffer(std::size_t bytes) {
  auto* memory = static_cast<std::byte*>(std::aligned_alloc(kPageBytes, bytes));
  if (memory == nullptr) throw std::bad_alloc();
  return std::unique_ptr<std::byte, FreeAligned>(memory);
}

}  // namespace

void ScanSectors(Source& device, std::uint64_t start, std::uint64_t end, Ui& ui, ProgressBar& progress,
                 std::stop_token stop, const SectorVisitor& visit) {
  ui.ShowSectorTotal(end, SectorTotalForm::kScannedOfTotal);
  progress.SetRange(start, end, kRawScanChunkSectors);
  const auto memory = PageAlignedBuffer(kRawScanChunkSectors * kSectorSize);
  const std::span<std::byte> chunk(memory.get(), kRawScanChunkSectors * kSectorSize);
  for (std::uint64_t current = start; current < end && !stop.stop_requested(); current += kRawScanChunkSectors) {
    ui.ShowCurrentSector(current);
    const std::uint64_t wanted = std::min(kRawScanChunkSectors, end - current);
    const ReadOutcome read = device.ReadAt(current * kSectorSize, chunk.first(wanted * kSectorSize));
    const std::uint64_t sectors_read = read.ok ? read.bytes / kSectorSize : 0;
    for (std::uint64_t i = 0; i < sectors_read; ++i) visit(current + i, chunk.subspan(i * kSectorSize, kSectorSize));
    progress.Advance(start, end, current, kRawScanChunkSectors);
  }
}

}  // namespace pellora
