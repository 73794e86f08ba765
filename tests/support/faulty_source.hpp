#pragma once

#include <atomic>
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

// A scan held in the middle for as long as a test needs: once armed, the fourth read and every one
// after it wait until released. Long enough for a person to press Stop; released when it goes.
class HeldReads {
 public:
  HeldReads();
  ~HeldReads() { Release(); }
  HeldReads(const HeldReads&) = delete;
  HeldReads& operator=(const HeldReads&) = delete;

  std::shared_ptr<FaultPlan> Plan() const { return plan_; }
  void Arm() { state_->reads.store(0); }
  // The scan has come to the read it waits at.
  bool Holding() const { return state_->reads.load() > 3; }
  void Release() { state_->released.store(true); }

 private:
  struct State {
    std::atomic<int> reads{-1};  // -1 until armed
    std::atomic<bool> released{false};
  };
  std::shared_ptr<State> state_ = std::make_shared<State>();
  std::shared_ptr<FaultPlan> plan_ = std::make_shared<FaultPlan>();
};

// Puts the medium into devices under path; opening it fails with ENODEV while the plan says the
// device is gone.
void AddFaultyDevice(DeviceMap& devices, std::string path, std::shared_ptr<const std::vector<std::byte>> bytes,
                     std::shared_ptr<FaultPlan> plan);

}  // namespace pellora::test
