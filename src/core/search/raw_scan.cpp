#include "search/raw_scan.hpp"

#include <algorithm>
#include <string>
#include <vector>

#include "common/progress.hpp"
#include "common/ui.hpp"
#include "storage/sector_access.hpp"

namespace pellora {

void ScanSectors(Source& device, std::uint64_t start, std::uint64_t end, Ui& ui, ProgressBar& progress,
                 std::stop_token stop, const SectorVisitor& visit) {
  ui.ShowText(UiText::kTotalSectors, "sectors scanned of total " + std::to_string(end));
  progress.SetRange(start, end, kRawScanChunkSectors);
  std::vector<std::byte> chunk(kRawScanChunkSectors * kSectorSize);
  for (std::uint64_t current = start; current < end && !stop.stop_requested(); current += kRawScanChunkSectors) {
    ui.ShowText(UiText::kCurrentSector, std::to_string(current));
    const std::uint64_t wanted = std::min(kRawScanChunkSectors, end - current);
    const ReadOutcome read = device.ReadAt(current * kSectorSize, std::span(chunk).first(wanted * kSectorSize));
    const std::uint64_t sectors_read = read.ok ? read.bytes / kSectorSize : 0;
    for (std::uint64_t i = 0; i < sectors_read; ++i)
      visit(current + i, std::span<const std::byte>(chunk).subspan(i * kSectorSize, kSectorSize));
    progress.Advance(start, end, current, kRawScanChunkSectors);
  }
}

}  // namespace pellora
