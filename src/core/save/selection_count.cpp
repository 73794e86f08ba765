#include "save/selection_count.hpp"

#include "model/recovered_entry.hpp"
#include "save/checked_tree_saving.hpp"
#include "save/fat_folder_saver.hpp"
#include "save/ntfs_folder_saver.hpp"
#include "save/selected_rows_saving.hpp"

namespace pellora {

namespace {

// The files a ticked folder's saving will hand to the file writers.
std::uint64_t FolderItemFiles(SaveRun& run, ItemId item) {
  const FolderNode* node = run.app.results.nodes.ByItem(item);
  if (node == nullptr) return 0;
  std::uint64_t files = 0;
  WithFolderPartition(run, item, [&] {
    if (run.Fat()) {
      run.app.reporter.Guarded("Calculating fat directories...", "S", "8A2", [&] {
        if (node->self != 0 && node->self != kMiscellaneousSelf) files += CountFatFolderFiles(run, node->self);
      });
    } else if (run.Ntfs()) {
      run.app.reporter.Guarded("Calculating ntfs directory...", "S", "8A4",
                               [&] { files += CountNtfsFolderFiles(run, node->self); });
    }
  });
  return files;
}

void CountFolder(SaveRun& run, ItemId item) {
  SaveCounters& counters = run.state.counters;
  ++counters.folders_selected;
  counters.files_selected += FolderItemFiles(run, item);
  run.ShowCount();
}

void CountTree(SaveRun& run) {
  SaveCounters& counters = run.state.counters;
  run.app.reporter.Guarded("Calculating selected tree item to be saved...", "S", "8TA", [&] {
    WalkCheckedTree(run, {.partly_checked =
                              [&](ItemId) {
                                ++counters.folders_selected;
                                run.ShowCount();
                              },
                          .checked = [&](ItemId item) { CountFolder(run, item); },
                          .root_files =
                              [&] {
                                if (run.Ntfs()) {
                                  counters.files_selected += CountNtfsFolderFiles(run, kNtfsRootRecord);
                                } else {
                                  ForEveryPartition(run, [&] {
                                    if (run.Fat()) counters.files_selected += CountFatFolderFiles(run, 0);
                                  });
                                }
                                run.ShowCount();
                              }});
  });
}

void CountRows(SaveRun& run, const std::vector<FileListRow>& rows) {
  run.app.reporter.Guarded("Calculating data size...", "S", "8B1", [&] {
    WalkSelectedRows(
        run, rows,
        [&](ItemId item) {
          run.app.reporter.Guarded(
              run.Ntfs() ? "Calculating file folder data ntfs..." : "Calculating file folder data fat...", "S",
              run.Ntfs() ? "8B2" : "8B3", [&] { CountFolder(run, item); });
        },
        [&](const FileListRow&) {
          ++run.state.counters.files_selected;
          run.ShowCount();
        });
  });
}

}  // namespace

bool CountSelection(SaveRun& run, SaveSource source, const std::vector<FileListRow>& rows) {
  run.state.counters.files_selected = 0;
  run.state.counters.folders_selected = 0;
  if (source == SaveSource::kSelectedRows) {
    CountRows(run, rows);
  } else {
    CountTree(run);
  }
  return !run.Stopped();
}

}  // namespace pellora
