#include "common/progress.hpp"

#include <algorithm>

#include "common/ui.hpp"

namespace pellora {

namespace {
__extension__ using Wide = unsigned __int128;  // (current - start) * 100 must not overflow
}  // namespace

void ProgressBar::SetRange(std::uint64_t start, std::uint64_t end, std::uint64_t step) {
  highest_ = 0;
  position_ = 0;
  visible_ = true;
  const std::uint64_t span = end > start ? end - start : 0;
  percent_mode_ = span >= kPercentModeThreshold;
  if (percent_mode_) {
    maximum_ = 100;
    step_ = 1;
  } else {
    maximum_ = static_cast<std::int64_t>(span);
    step_ = static_cast<std::int64_t>(std::min<std::uint64_t>(step, kPercentModeThreshold));
  }
  Show();
}

void ProgressBar::Advance(std::uint64_t start, std::uint64_t end, std::uint64_t current, std::uint64_t increment) {
  if (!percent_mode_) {
    const bool passes_end = current > end || increment > end - current;
    // The bar stops at its end rather than wrapping round to the start.
    position_ = passes_end ? maximum_ : std::min(maximum_, position_ + step_);
    Show();
    return;
  }
  std::int64_t percent = 0;
  if (current >= end) {
    percent = 100;
  } else if (current > start && end > start) {
    percent = static_cast<std::int64_t>(static_cast<Wide>(current - start) * 100 / (end - start));
  }
  if (percent > highest_) {
    highest_ = percent;
    position_ = percent;
    Show();
  }
}

void ProgressBar::SetToEnd() {
  position_ = maximum_;
  highest_ = percent_mode_ ? maximum_ : highest_;
  Show();
}

void ProgressBar::Show() {
  if (ui_ != nullptr) ui_->ShowProgress(position_, maximum_);
}

}  // namespace pellora
