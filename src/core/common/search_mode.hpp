#pragma once

#include <atomic>
#include <string_view>

namespace pellora {

// The five search modes, numbered as the main window numbers its buttons.
enum class SearchMode : int { kNone = 0, kBasic = 1, kDeep = 2, kPhoto = 3, kVideo = 4, kSignature = 5 };

// Mode letter of an error code: B, D, P, S (video and signature share one window), M for none.
std::string_view ModeLetter(SearchMode mode);
// The label a mode's window puts on what it lists and validates: "Basic Search" ... "Signature
// Search"; empty for none.
std::string_view SearchModeLabel(SearchMode mode);

// The process-wide current mode. Written by the shell when the user picks a mode, read by the read
// guard, the error reporter and every per-mode rule, possibly from worker threads.
class CurrentMode {
 public:
  SearchMode Get() const { return mode_.load(std::memory_order_relaxed); }
  void Set(SearchMode mode) { mode_.store(mode, std::memory_order_relaxed); }

 private:
  std::atomic<SearchMode> mode_{SearchMode::kNone};
};

}  // namespace pellora
