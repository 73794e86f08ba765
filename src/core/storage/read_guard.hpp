#pragma once

#include <atomic>
#include <cstdint>

#include "common/search_mode.hpp"

namespace pellora {

// While a Basic or Deep search has validated a partition, no sector read may start beyond the end
// of that partition's scan range. Recognition arms the guard; the shell resets its counters when
// the user switches to Basic or Deep; the carving modes are never refused.
class ReadGuard {
 public:
  explicit ReadGuard(const CurrentMode& mode) : mode_(mode) {}

  // Counts one validated partition in the given mode (only Basic and Deep are counted).
  void CountValidatedPartition(SearchMode mode);
  void ResetCounters();
  // The byte offset of the current partition's ReadLimitBytes.
  void SetReadLimitBytes(std::uint64_t limit) { read_limit_bytes_.store(limit, std::memory_order_relaxed); }

  std::uint64_t ReadLimitBytes() const { return read_limit_bytes_.load(std::memory_order_relaxed); }
  std::uint32_t BasicValidated() const { return basic_validated_.load(std::memory_order_relaxed); }
  std::uint32_t DeepValidated() const { return deep_validated_.load(std::memory_order_relaxed); }

  // Whether a partition was validated in the current mode, so that reads are checked.
  bool Armed() const;
  // True when a read starting at this byte offset must be refused. A read starting exactly at the
  // limit is allowed; only the start of a read is checked.
  bool Refuses(std::uint64_t start_offset) const;

 private:
  const CurrentMode& mode_;
  std::atomic<std::uint32_t> basic_validated_{0};
  std::atomic<std::uint32_t> deep_validated_{0};
  std::atomic<std::uint64_t> read_limit_bytes_{0};
};

}  // namespace pellora
