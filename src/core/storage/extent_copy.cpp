#include "storage/extent_copy.hpp"

#include <algorithm>

#include "storage/sector_access.hpp"

namespace pellora {

namespace {

constexpr std::uint64_t kReadBytes = 1 << 20;

}  // namespace

CopyEnd CopyExtent(Source& device, std::uint64_t offset, std::uint64_t length, std::uint64_t read_limit_bytes,
                   std::vector<std::byte>& buffer, const ContentSink& sink) {
  while (length > 0) {
    if (offset > read_limit_bytes) return CopyEnd::kReadFailed;
    const std::uint64_t wanted = std::min(length, kReadBytes);
    buffer.resize(static_cast<std::size_t>(wanted));
    const ReadOutcome read = device.ReadAt(offset, buffer);
    std::uint64_t good = read.ok && read.bytes == wanted ? wanted : (read.bytes / kSectorSize) * kSectorSize;
    while (good < wanted) {
      const std::uint64_t piece = std::min<std::uint64_t>(kSectorSize, wanted - good);
      const ReadOutcome one = device.ReadAt(offset + good, std::span(buffer).subspan(good, piece));
      if (!one.ok || one.bytes < piece) break;
      good += piece;
    }
    if (good > 0 && !sink(std::span<const std::byte>(buffer).first(static_cast<std::size_t>(good))))
      return CopyEnd::kStopped;
    if (good < wanted) return CopyEnd::kReadFailed;
    offset += wanted;
    length -= wanted;
  }
  return CopyEnd::kComplete;
}

bool SendZeros(std::uint64_t length, std::vector<std::byte>& buffer, const ContentSink& sink) {
  while (length > 0) {
    const std::uint64_t piece = std::min(length, kReadBytes);
    buffer.assign(static_cast<std::size_t>(piece), std::byte{0});
    if (!sink(buffer)) return false;
    length -= piece;
  }
  return true;
}

}  // namespace pellora
