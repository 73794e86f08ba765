#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <vector>

namespace pellora {

// One run of a non-resident attribute: `clusters` clusters from cluster `lcn` (counted from the
// partition's first sector), or a sparse run, which has no clusters on the disk and reads as zeros.
struct DataRun {
  std::int64_t lcn = 0;
  std::uint64_t clusters = 0;
  bool sparse = false;

  bool operator==(const DataRun&) const = default;
};

// Fetches more of a run list that goes on past the bytes at hand: appends the bytes that follow
// and returns true, or returns false when there are none (or no more may be read).
using MoreRunListBytes = std::function<bool(std::vector<std::byte>& bytes)>;

// Decodes a run list (the mapping pairs of a non-resident attribute). Each run is a header byte,
// whose low nibble is the width of the length field and high nibble the width of the offset field,
// then the two fields, little-endian. A header of 0 ends the list. The offset is signed and counts
// from the previous run's first cluster (the first run's from cluster 0); a run without an offset
// field is sparse and leaves the previous cluster as it was. Fields are read up to 8 bytes wide;
// a wider field, a field cut off by the end of the bytes, or a cluster number that overflows ends
// the list as damaged, never reading past the field's own bytes.
class RunListDecoder {
 public:
  explicit RunListDecoder(std::span<const std::byte> bytes, MoreRunListBytes more = {});

  // The next run, or nothing at the end of the list.
  std::optional<DataRun> Next();
  // True when decoding stopped at bytes that are no run list rather than at the end marker.
  bool Damaged() const { return damaged_; }
  // How many bytes of the list have been decoded.
  std::size_t Consumed() const { return position_; }

 private:
  bool Have(std::size_t count);
  std::uint64_t Field(std::size_t width);

  std::vector<std::byte> bytes_;
  MoreRunListBytes more_;
  std::size_t position_ = 0;
  std::int64_t lcn_ = 0;
  bool done_ = false;
  bool damaged_ = false;
};

// The whole run list in the bytes given.
std::vector<DataRun> DecodeDataRuns(std::span<const std::byte> bytes);

}  // namespace pellora
