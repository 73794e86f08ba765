#pragma once

#include <signal.h>

#include <atomic>
#include <functional>
#include <string>
#include <thread>

#include "terminal_ui.hpp"

namespace pellora::cli {

inline constexpr std::string_view kStopSearchingQuestion = "Do you want to stop searching?";

// Ctrl-C during long work, for as long as the object lives. On a terminal it asks the question
// (No by default) and calls stop on Yes; a second Ctrl-C while the question is open counts as Yes.
// Without a terminal, or with --yes, it calls stop at once. The work then ends cleanly by itself.
class InterruptWatcher {
 public:
  InterruptWatcher(TerminalUi& ui, std::string question, std::function<void()> stop);
  ~InterruptWatcher();
  InterruptWatcher(const InterruptWatcher&) = delete;
  InterruptWatcher& operator=(const InterruptWatcher&) = delete;

  // True once stop was called because of Ctrl-C.
  bool StopRequested() const { return stop_requested_.load(); }

 private:
  void Run();
  // The next byte from the pipe: 'i' for Ctrl-C, 'q' for the end of the watch.
  char NextEvent();

  TerminalUi& ui_;
  std::string question_;
  std::function<void()> stop_;
  int pipe_[2] = {-1, -1};
  struct sigaction previous_ {};
  std::atomic<bool> stop_requested_{false};
  std::thread thread_;
};

}  // namespace pellora::cli
