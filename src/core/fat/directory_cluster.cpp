#include "fat/directory_cluster.hpp"

#include "common/byte_reader.hpp"

namespace pellora {

bool IsDirectoryClusterStart(std::span<const std::byte> b) {
  return Fits(b, 0, 35) && Le8(b, 0) == '.' && Le8(b, 1) == ' ' && Le8(b, 32) == '.' && Le8(b, 33) == '.' &&
         Le8(b, 34) == ' ';
}

std::optional<FoundDirectory> ReadFoundDirectory(std::span<const std::byte> b, std::uint64_t sector) {
  if (!Fits(b, 0, 64) || !IsDirectoryClusterStart(b)) return std::nullopt;
  FoundDirectory row;
  row.sector = sector;
  row.self = (std::uint32_t{Le16(b, 20)} << 16) | Le16(b, 26);
  row.parent = (std::uint32_t{Le16(b, 52)} << 16) | Le16(b, 58);
  row.date = Le16(b, 24);
  row.time = Le16(b, 22);
  return row;
}

}  // namespace pellora
