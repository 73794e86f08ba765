#include "ntfs/data_runs.hpp"

#include "common/byte_reader.hpp"

namespace pellora {

namespace {

constexpr std::size_t kWidestField = 8;

}  // namespace

RunListDecoder::RunListDecoder(std::span<const std::byte> bytes, MoreRunListBytes more)
    : bytes_(bytes.begin(), bytes.end()), more_(std::move(more)) {}

bool RunListDecoder::Have(std::size_t count) {
  while (bytes_.size() - position_ < count) {
    const std::size_t before = bytes_.size();
    if (!more_ || !more_(bytes_) || bytes_.size() == before) return false;
  }
  return true;
}

std::uint64_t RunListDecoder::Field(std::size_t width) {
  std::uint64_t value = 0;
  for (std::size_t i = 0; i < width; ++i) value |= std::uint64_t{Le8(bytes_, position_ + i)} << (8 * i);
  position_ += width;
  return value;
}

std::optional<DataRun> RunListDecoder::Next() {
  if (done_) return std::nullopt;
  if (!Have(1) || Le8(bytes_, position_) == 0) {
    done_ = true;
    return std::nullopt;
  }
  const std::uint8_t header = Le8(bytes_, position_);
  const std::size_t length_width = header & 0x0F;
  const std::size_t offset_width = header >> 4;
  if (length_width > kWidestField || offset_width > kWidestField || !Have(1 + length_width + offset_width)) {
    done_ = damaged_ = true;
    return std::nullopt;
  }
  ++position_;
  DataRun run;
  run.clusters = Field(length_width);
  if (offset_width == 0) {
    run.sparse = true;
    return run;
  }
  std::uint64_t raw = Field(offset_width);
  // The offset is signed: its last byte's top bit is the sign.
  if (offset_width < kWidestField && (raw >> (8 * offset_width - 1)) != 0)
    raw |= ~std::uint64_t{0} << (8 * offset_width);
  std::int64_t lcn = 0;
  if (__builtin_add_overflow(lcn_, static_cast<std::int64_t>(raw), &lcn)) {
    done_ = damaged_ = true;
    return std::nullopt;
  }
  lcn_ = run.lcn = lcn;
  return run;
}

std::vector<DataRun> DecodeDataRuns(std::span<const std::byte> bytes) {
  std::vector<DataRun> runs;
  RunListDecoder decoder(bytes);
  while (const auto run = decoder.Next()) runs.push_back(*run);
  return runs;
}

}  // namespace pellora
