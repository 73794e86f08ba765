#pragma once

#include <stop_token>
#include <utility>

namespace pellora {

// The stop of one run of long work. It is asked for from outside through the caller's token (the
// Stop button, Ctrl-C, a window closing) or from inside the run (Cancel in one of its windows, a
// full destination); loops test Requested() at every chunk, record or file.
class RunStop {
 public:
  explicit RunStop(std::stop_token outside = {}) : forward_(std::move(outside), Forward{&source_}) {}
  RunStop(const RunStop&) = delete;
  RunStop& operator=(const RunStop&) = delete;

  bool Requested() const { return source_.stop_requested(); }
  void Request() { source_.request_stop(); }
  // For engines that only test for a stop.
  std::stop_token Token() const { return source_.get_token(); }

 private:
  struct Forward {
    std::stop_source* source;
    void operator()() const { source->request_stop(); }
  };
  std::stop_source source_;  // before forward_: an outside stop already made lands in it
  std::stop_callback<Forward> forward_;
};

}  // namespace pellora
