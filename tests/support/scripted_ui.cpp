#include "support/scripted_ui.hpp"

namespace pellora::test {

namespace {

// The next scripted answer, or the fallback when none is left.
template <typename T>
T TakeNext(std::deque<T>& answers, T fallback) {
  if (answers.empty()) return fallback;
  T answer = answers.front();
  answers.pop_front();
  return answer;
}

}  // namespace

void ScriptedUi::AnswerYesNo(std::initializer_list<bool> answers) {
  const std::lock_guard lock(mutex_);
  answers_.insert(answers_.end(), answers);
}

void ScriptedUi::AnswerMediaRemoved(std::initializer_list<MediaRemovedAnswer> answers) {
  const std::lock_guard lock(mutex_);
  media_answers_.insert(media_answers_.end(), answers);
}

std::string ScriptedUi::LastText(UiText field) const {
  const std::lock_guard lock(mutex_);
  const auto found = texts_.find(field);
  return found == texts_.end() ? std::string() : found->second;
}

std::vector<std::string> ScriptedUi::CarvedFiles() const {
  const std::lock_guard lock(mutex_);
  return carved_files_;
}

void ScriptedUi::AnswerWholeDisk(std::initializer_list<bool> answers) {
  const std::lock_guard lock(mutex_);
  whole_disk_answers_.insert(whole_disk_answers_.end(), answers);
}

bool ScriptedUi::AskWholeDisk() {
  const std::lock_guard lock(mutex_);
  events_.push_back("whole disk: " + std::string(kWholeDiskPromptText));
  return TakeNext(whole_disk_answers_, false);
}

std::vector<std::string> ScriptedUi::Events() const {
  const std::lock_guard lock(mutex_);
  return events_;
}

std::vector<std::string> ScriptedUi::Messages() const {
  const std::lock_guard lock(mutex_);
  return messages_;
}

std::vector<ErrorReport> ScriptedUi::Reports() const {
  const std::lock_guard lock(mutex_);
  return reports_;
}

std::int64_t ScriptedUi::LastProgress() const {
  const std::lock_guard lock(mutex_);
  return position_;
}

std::int64_t ScriptedUi::LastMaximum() const {
  const std::lock_guard lock(mutex_);
  return maximum_;
}

void ScriptedUi::ShowMessage(std::string_view text, std::string_view) {
  const std::lock_guard lock(mutex_);
  events_.push_back("message: " + std::string(text));
  messages_.emplace_back(text);
}

bool ScriptedUi::AskYesNo(std::string_view text, bool default_yes) {
  const std::lock_guard lock(mutex_);
  events_.push_back("question: " + std::string(text));
  return TakeNext(answers_, default_yes);
}

void ScriptedUi::ShowErrorReport(const ErrorReport& report) {
  const std::lock_guard lock(mutex_);
  events_.push_back("report: " + report.error_code);
  reports_.push_back(report);
}

void ScriptedUi::ShowEndMessage(std::string_view text) {
  const std::lock_guard lock(mutex_);
  events_.push_back("end: " + std::string(text));
}

void ScriptedUi::ShowProgress(std::int64_t position, std::int64_t maximum) {
  const std::lock_guard lock(mutex_);
  position_ = position;
  maximum_ = maximum;
}

void ScriptedUi::ShowText(UiText field, std::string_view text) {
  const std::lock_guard lock(mutex_);
  texts_[field] = std::string(text);
}

MediaRemovedAnswer ScriptedUi::AskMediaRemoved() {
  const std::lock_guard lock(mutex_);
  events_.emplace_back("media-removed");
  return TakeNext(media_answers_, MediaRemovedAnswer{});
}

void ScriptedUi::ShowCurrentSector(std::uint64_t sector) {
  const std::lock_guard lock(mutex_);
  texts_[UiText::kCurrentSector] = CurrentSectorText(sector);
}

void ScriptedUi::ShowSectorTotal(std::uint64_t total, SectorTotalForm form) {
  const std::lock_guard lock(mutex_);
  texts_[UiText::kTotalSectors] = SectorTotalText(total, form);
}

void ScriptedUi::ShowSearchRange(std::uint64_t first, std::uint64_t last) {
  const std::lock_guard lock(mutex_);
  texts_[UiText::kSearchRange] = SearchRangeText(first, last);
}

void ScriptedUi::AddThumbnail(std::string_view, std::string_view file_path, std::string_view file_name) {
  const std::lock_guard lock(mutex_);
  events_.push_back("thumbnail: " + std::string(file_name));
  carved_files_.emplace_back(file_path);
}

void ScriptedUi::AddRecoveredFile(std::string_view type_name, std::string_view file_name, std::string_view file_path) {
  const std::lock_guard lock(mutex_);
  events_.push_back("recovered: " + std::string(type_name) + " " + std::string(file_name));
  carved_files_.emplace_back(file_path);
}

void ScriptedUi::AnswerReplace(std::initializer_list<ReplaceAnswer> answers) {
  const std::lock_guard lock(mutex_);
  replace_answers_.insert(replace_answers_.end(), answers);
}

void ScriptedUi::AnswerLongPath(std::initializer_list<LongPathAnswer> answers) {
  const std::lock_guard lock(mutex_);
  long_path_answers_.insert(long_path_answers_.end(), answers);
}

void ScriptedUi::AnswerSaveCompleted(SaveCompletedAnswer answer) {
  const std::lock_guard lock(mutex_);
  completed_answer_ = answer;
}

void ScriptedUi::OnSaveProgress(std::function<SaveButton(const SaveProgress&)> press) {
  const std::lock_guard lock(mutex_);
  press_ = std::move(press);
}

std::vector<SaveProgress> ScriptedUi::SaveReports() const {
  const std::lock_guard lock(mutex_);
  return save_reports_;
}

SaveButton ScriptedUi::ShowSaveProgress(const SaveProgress& progress) {
  std::function<SaveButton(const SaveProgress&)> press;
  {
    const std::lock_guard lock(mutex_);
    save_reports_.push_back(progress);
    press = press_;
  }
  return press ? press(progress) : SaveButton::kNone;
}

ReplaceAnswer ScriptedUi::AskReplace(std::string_view existing_path, std::string_view proposed_path) {
  std::unique_lock lock(mutex_);
  events_.push_back("replace: " + std::string(existing_path) + " -> " + std::string(proposed_path));
  if (hold_replace_ || questions_released_) {
    waiting_in_replace_ = true;
    released_.wait(lock, [this] { return questions_released_; });
    waiting_in_replace_ = false;
    events_.emplace_back("replace released");
    return {.choice = ReplaceChoice::kCancel, .apply_to_all = false, .new_path = {}};
  }
  return TakeNext(replace_answers_, ReplaceAnswer{});
}

void ScriptedUi::HoldReplaceWindows() {
  const std::lock_guard lock(mutex_);
  hold_replace_ = true;
}

bool ScriptedUi::WaitingInReplace() const {
  const std::lock_guard lock(mutex_);
  return waiting_in_replace_;
}

void ScriptedUi::ReleaseQuestions() {
  {
    const std::lock_guard lock(mutex_);
    questions_released_ = true;
  }
  released_.notify_all();
}

LongPathAnswer ScriptedUi::AskLongPath(std::string_view path) {
  const std::lock_guard lock(mutex_);
  events_.push_back("long path: " + std::string(path));
  return TakeNext(long_path_answers_, LongPathAnswer{});
}

SaveCompletedAnswer ScriptedUi::ShowSaveCompleted(std::string_view text) {
  const std::lock_guard lock(mutex_);
  events_.push_back("save completed: " + std::string(text));
  return completed_answer_;
}

}  // namespace pellora::test
