#pragma once

#include <cstdint>

namespace pellora {

class Ui;

// The progress rules shared by every search, save and the loading window. Small ranges step the
// bar (range 0..end-start); ranges of 2147483647 or more switch to percent mode (0..100), where
// the bar never moves back within one run.
class ProgressBar {
 public:
  static constexpr std::uint64_t kPercentModeThreshold = 2147483647;

  // ui may be null (a bar nobody watches); otherwise every change is shown through it.
  explicit ProgressBar(Ui* ui = nullptr) : ui_(ui) {}

  void SetRange(std::uint64_t start, std::uint64_t end, std::uint64_t step);
  void Advance(std::uint64_t start, std::uint64_t end, std::uint64_t current, std::uint64_t increment);
  void SetToEnd();

  std::int64_t Position() const { return position_; }
  std::int64_t Maximum() const { return maximum_; }
  bool PercentMode() const { return percent_mode_; }
  bool Visible() const { return visible_; }

 private:
  void Show();

  Ui* ui_;
  bool percent_mode_ = false;
  bool visible_ = false;
  std::int64_t maximum_ = 100;
  std::int64_t step_ = 1;
  std::int64_t position_ = 0;
  std::int64_t highest_ = 0;  // highest percent shown in this run
};

}  // namespace pellora
