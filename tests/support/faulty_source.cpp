#include "support/faulty_source.hpp"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <thread>

namespace pellora::test {

ReadOutcome FaultySource::ReadAt(std::uint64_t offset, std::span<std::byte> out) {
  FaultPlan& plan = *plan_;
  if (plan.on_read) plan.on_read(offset);
  if (plan.gone_after_reads && plan.reads >= *plan.gone_after_reads) plan.gone = true;
  ++plan.reads;
  if (plan.gone) return {.ok = false, .bytes = 0, .error = ENODEV};
  const std::uint64_t size = bytes_->size();
  const std::uint64_t available = offset >= size ? 0 : std::min<std::uint64_t>(out.size(), size - offset);
  std::uint64_t good = available;
  bool failed = false;
  for (const auto& [first, end] : plan.bad_sectors) {
    const std::uint64_t bad_from = first * 512;
    const std::uint64_t bad_to = end * 512;
    if (bad_to <= offset || bad_from >= offset + out.size()) continue;
    failed = true;
    good = std::min(good, bad_from > offset ? bad_from - offset : 0);
  }
  std::memcpy(out.data(), bytes_->data() + std::min(offset, size), static_cast<std::size_t>(good));
  if (failed) return {.ok = false, .bytes = static_cast<std::size_t>(good), .error = EIO};
  return {.ok = true, .bytes = static_cast<std::size_t>(available), .error = 0};
}

HeldReads::HeldReads() {
  plan_->on_read = [state = state_](std::uint64_t) {
    if (state->reads.load() < 0 || state->reads.fetch_add(1) < 3) return;
    while (!state->released.load()) std::this_thread::sleep_for(std::chrono::milliseconds(2));
  };
}

void AddFaultyDevice(DeviceMap& devices, std::string path, std::shared_ptr<const std::vector<std::byte>> bytes,
                     std::shared_ptr<FaultPlan> plan) {
  devices.AddSource(std::move(path), DeviceKind::kDisk, [bytes, plan](int* error) -> std::unique_ptr<Source> {
    ++plan->opens;
    if (plan->gone) {
      if (error != nullptr) *error = ENODEV;
      return nullptr;
    }
    return std::make_unique<FaultySource>(bytes, plan);
  });
}

}  // namespace pellora::test
