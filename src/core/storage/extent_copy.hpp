#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <vector>

#include "storage/source.hpp"

namespace pellora {

// Receives a file's bytes in order; returns false to stop (skip, stop, or a failed write).
using ContentSink = std::function<bool(std::span<const std::byte> bytes)>;

enum class CopyEnd { kComplete, kStopped, kReadFailed };

// Hands the bytes [offset, offset + length) of the device to the sink in reads of up to 1 MiB. A
// read that fails ends the copy where it stands: every whole sector before the bad one is still
// handed over, as reading sector by sector would. No read starts beyond read_limit_bytes. buffer is
// working space kept by the caller across extents.
CopyEnd CopyExtent(Source& device, std::uint64_t offset, std::uint64_t length, std::uint64_t read_limit_bytes,
                   std::vector<std::byte>& buffer, const ContentSink& sink);

// Hands length zero bytes to the sink (the holes of sparse files).
bool SendZeros(std::uint64_t length, std::vector<std::byte>& buffer, const ContentSink& sink);

}  // namespace pellora
