#pragma once

#include "common/ui.hpp"

namespace pellora {

// A Ui nobody watches: it shows nothing and gives every question its default answer (No, "OK, Go
// Back", Cancel; a file in the way is renamed). For work that runs with no person present.
class NullUi : public Ui {
 public:
  void ShowMessage(std::string_view, std::string_view) override {}
  bool AskYesNo(std::string_view, bool default_yes) override { return default_yes; }
  void ShowErrorReport(const ErrorReport&) override {}
  void ShowEndMessage(std::string_view) override {}
  bool AskWholeDisk() override { return false; }
  void ShowProgress(std::int64_t, std::int64_t) override {}
  void ShowText(UiText, std::string_view) override {}
  void ShowCurrentSector(std::uint64_t) override {}
  void ShowSectorTotal(std::uint64_t, SectorTotalForm) override {}
  void ShowSearchRange(std::uint64_t, std::uint64_t) override {}
  MediaRemovedAnswer AskMediaRemoved() override { return {}; }
  void AddThumbnail(std::string_view, std::string_view, std::string_view) override {}
  void AddRecoveredFile(std::string_view, std::string_view, std::string_view) override {}
  SaveButton ShowSaveProgress(const SaveProgress&) override { return SaveButton::kNone; }
  // Nobody to ask: a file in the way is kept and the new one renamed, never overwritten.
  ReplaceAnswer AskReplace(std::string_view, std::string_view) override { return {ReplaceChoice::kRename, true, {}}; }
  LongPathAnswer AskLongPath(std::string_view) override { return {}; }
  SaveCompletedAnswer ShowSaveCompleted(std::string_view) override { return {}; }
};

}  // namespace pellora
