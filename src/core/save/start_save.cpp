#include "save/start_save.hpp"

#include "save/destination_check.hpp"

namespace pellora {

bool SaveAllowed(AppState& app, SaveSource source, std::size_t selected_rows) {
  const ResultTree& tree = app.results.tree;
  std::string_view refusal;
  if (app.search.Running()) {
    refusal = kStillScanningText;
  } else if (tree.Empty()) {
    refusal = kSaveNotAvailableText;
  } else if (source == SaveSource::kCheckedTree ? tree.Check(tree.FirstItem()) == CheckState::kUnchecked
                                                : selected_rows == 0) {
    refusal = kNothingSelectedText;
  }
  if (refusal.empty()) return true;
  app.ui.ShowMessage(refusal, kMessageCaption);
  return false;
}

bool StartSave(AppState& app, SaveRequest request) {
  if (app.saving.Running()) return false;
  if (!SaveAllowed(app, request.source, request.rows.size()) || !CheckDestination(app, request.destination)) {
    app.save.end = SaveEnd::kRefused;
    return false;
  }
  return app.saving.Start(
      [&app, request = std::move(request)](std::stop_token stop) { RunSave(app, request, std::move(stop)); });
}

}  // namespace pellora
