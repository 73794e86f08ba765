#include "storage/read_guard.hpp"

namespace pellora {

void ReadGuard::CountValidatedPartition(SearchMode mode) {
  if (mode == SearchMode::kBasic) basic_validated_.fetch_add(1, std::memory_order_relaxed);
  if (mode == SearchMode::kDeep) deep_validated_.fetch_add(1, std::memory_order_relaxed);
}

void ReadGuard::ResetCounters() {
  basic_validated_.store(0, std::memory_order_relaxed);
  deep_validated_.store(0, std::memory_order_relaxed);
}

bool ReadGuard::Armed() const {
  const SearchMode mode = mode_.Get();
  return (mode == SearchMode::kBasic && BasicValidated() > 0) || (mode == SearchMode::kDeep && DeepValidated() > 0);
}

bool ReadGuard::Refuses(std::uint64_t start_offset) const { return Armed() && start_offset > ReadLimitBytes(); }

}  // namespace pellora
