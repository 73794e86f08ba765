#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <stop_token>

#include "storage/source.hpp"

namespace pellora {

class ProgressBar;
class Ui;

inline constexpr std::uint64_t kRawScanChunkSectors = 1024;  // 512 KiB per read

// Reads the sectors [start, end) of a device in chunks of 1024 sectors (the last one shorter) and
// visits every sector that was read, in order, with its absolute number. A chunk that cannot be
// read is skipped; only the sectors a short read returned are visited. Shows the sector of each
// chunk and advances the bar after it; a stop request ends the scan between chunks.
using SectorVisitor = std::function<void(std::uint64_t sector, std::span<const std::byte> bytes)>;
void ScanSectors(Source& device, std::uint64_t start, std::uint64_t end, Ui& ui, ProgressBar& progress,
                 std::stop_token stop, const SectorVisitor& visit);

}  // namespace pellora
