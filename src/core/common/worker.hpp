#pragma once

#include <atomic>
#include <functional>
#include <stop_token>
#include <thread>

namespace pellora {

// One kind of background work (drive loading, search, saving, log loading). A new worker of a kind
// is not started while the previous one runs; the worker frees the slot as its last step.
class WorkerSlot {
 public:
  WorkerSlot() = default;
  WorkerSlot(const WorkerSlot&) = delete;
  WorkerSlot& operator=(const WorkerSlot&) = delete;
  ~WorkerSlot() { Join(); }

  bool Running() const { return running_.load(std::memory_order_acquire); }

  // Returns false, starting nothing, while a worker of this kind runs.
  bool Start(std::function<void(std::stop_token)> work) {
    if (running_.exchange(true, std::memory_order_acq_rel)) return false;
    if (thread_.joinable()) thread_.join();
    thread_ = std::jthread([this, work = std::move(work)](std::stop_token stop) {
      struct Release {
        std::atomic<bool>& flag;
        ~Release() { flag.store(false, std::memory_order_release); }
      } release{running_};
      work(stop);
    });
    return true;
  }

  void RequestStop() { thread_.request_stop(); }
  // Waits for the worker; must not be called from the worker itself.
  void Join() {
    if (thread_.joinable()) thread_.join();
  }

 private:
  std::atomic<bool> running_{false};
  std::jthread thread_;
};

}  // namespace pellora
