#pragma once

#include <cstdint>
#include <string>

namespace pellora {

// A size for display: "%u Byte" below 1 KiB, else "%6.2f" and a unit letter of KMGTPEZY. The
// value is halved by 1024 (rounding) until it is below 1 MiB, so 1048575 is "1024.00 KB".
std::string SizeText(std::uint64_t bytes);

}  // namespace pellora
