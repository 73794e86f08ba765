#include "save/save_worker.hpp"

#include "common/shell_open.hpp"
#include "save/checked_tree_saving.hpp"
#include "save/save_run.hpp"
#include "save/selected_rows_saving.hpp"
#include "save/selection_count.hpp"

namespace pellora {

std::string SelectedTotalsText(std::uint64_t files, std::uint64_t folders) {
  return "( Total selected recovered data to be saved : " + std::to_string(files) + " Files, " +
         std::to_string(folders) + " Folders )";
}

std::string SavedTotalsText(std::uint64_t files, std::uint64_t folders) {
  return "( recovered saved data : " + std::to_string(files) + " Files, " + std::to_string(folders) + " Folders )";
}

std::string UnsavedText(const UnsavedItem& item) {
  const char* what = item.kind == UnsavedItem::Kind::kIncomplete ? "incomplete" : "not saved";
  return "( " + std::string(what) + " : " + item.path.string() + " - " + item.reason + " )";
}

void RunSave(AppState& app, const SaveRequest& request, std::stop_token stop) {
  SaveState& state = app.save;
  state.source = request.source;
  state.counters = {};
  state.unsaved.clear();
  state.end = SaveEnd::kNone;
  state.skip = false;
  SaveRun run(app, state, request.deep_partitions, true, std::move(stop));

  app.reporter.Guarded("Calculating size of selected data to be saved...", "S", "8A1",
                       [&] { CountSelection(run, request.source, request.rows); });
  if (run.Stopped()) {
    app.sectors.EndRun();
    state.end = SaveEnd::kCountStopped;
    return;
  }
  app.ui.ShowText(UiText::kSaveTotals,
                  SelectedTotalsText(state.counters.files_selected, state.counters.folders_selected));

  // What the person answered in the replace and long-path windows holds for one run only.
  state.naming.replace = ReplaceMode::kAsk;
  state.naming.long_path_for_all = false;
  state.naming.ignore_all_long_paths = false;
  app.reporter.Guarded("Saving recovered data...", "S", "8TH", [&] {
    if (request.source == SaveSource::kSelectedRows) {
      SaveSelectedRows(run, request.rows);
    } else {
      SaveCheckedTree(run);
    }
  });
  app.sectors.EndRun();
  if (state.end != SaveEnd::kOutOfSpace) state.end = run.Stopped() ? SaveEnd::kStopped : SaveEnd::kCompleted;
  state.skip = false;
  app.ui.ShowText(UiText::kSaveTotals, SavedTotalsText(state.counters.files_saved, state.counters.folders_saved));
  for (const UnsavedItem& item : state.unsaved) app.ui.ShowText(UiText::kSaveTotals, UnsavedText(item));
  // "saved successfully" only when it is true: not after a full destination (its message has said
  // what happened), a stop, or files that did not reach the destination whole.
  if (!EverythingWritten(state)) return;
  const SaveCompletedAnswer answer = app.ui.ShowSaveCompleted(kSaveCompletedText);
  if (answer.ok && answer.open_folder) ShellOpen(app.ui, state.destination_base.string(), false, app.launcher);
}

}  // namespace pellora
