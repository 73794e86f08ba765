#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "storage/device_map.hpp"
#include "storage/source.hpp"

namespace pellora::test {

// What goes wrong with a faulty medium. Shared by the test and every handle opened on the medium.
struct FaultPlan {
  std::vector<std::pair<std::uint64_t, std::uint64_t>> bad_sectors;  // [first, end) that cannot be read
  bool gone = false;                                                 // the device is unplugged: opens and reads fail
  std::optional<std::size_t> gone_after_reads;        // unplugged once this many reads have been answered
  std::function<void(std::uint64_t offset)> on_read;  // called before every read
  std::size_t reads = 0;
  std::size_t opens = 0;
};

// Bytes in memory read through a fault plan. A read that meets a bad sector fills the buffer up
// to that sector and fails with EIO, as a disk does.
class FaultySource final : public Source {
 public:
  FaultySource(std::shared_ptr<const std::vector<std::byte>> bytes, std::shared_ptr<FaultPlan> plan)
      : bytes_(std::move(bytes)), plan_(std::move(plan)) {}
  ReadOutcome ReadAt(std::uint64_t offset, std::span<std::byte> out) override;
  std::uint64_t SizeBytes() const override { return bytes_->size(); }

 private:
  std::shared_ptr<const std::vector<std::byte>> bytes_;
  std::shared_ptr<FaultPlan> plan_;
};

// Puts the medium into devices under path; opening it fails with ENODEV while the plan says the
// device is gone.
void AddFaultyDevice(DeviceMap& devices, std::string path, std::shared_ptr<const std::vector<std::byte>> bytes,
                     std::shared_ptr<FaultPlan> plan);

}  // namespace pellora::test
