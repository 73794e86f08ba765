#pragma once

#include <filesystem>
#include <stop_token>
#include <vector>

#include "model/file_list.hpp"
#include "save/deep_mode.hpp"
#include "state/app_state.hpp"
#include "state/save_state.hpp"

namespace pellora {

// What "Save Data" (or "Save" / "Save All" of the tree and the file list) asks for.
struct SaveRequest {
  SaveSource source = SaveSource::kCheckedTree;
  std::vector<FileListRow> rows;              // kSelectedRows: the selected rows of the file list
  std::filesystem::path destination;          // as the destination window gave it
  DeepPartitions* deep_partitions = nullptr;  // Deep Search's partition table, in Deep mode
};

// The count window's line once counting is done, and the summary after saving.
std::string SelectedTotalsText(std::uint64_t files, std::uint64_t folders);
std::string SavedTotalsText(std::uint64_t files, std::uint64_t folders);
// The summary's line for a file or folder that did not reach the destination whole:
// "( incomplete : /out/DCIM/IMG_0001.JPG - 4096 of 226792 bytes written )".
std::string UnsavedText(const UnsavedItem& item);

// A started save run, on the calling thread (the saving worker): the selection is counted (a stop
// there ends the run before anything is written), then saved into the destination base, then the
// summary and the completion window follow; the completion window only when every selected file
// was written whole. A stop through the token is the saving window's "Stop". How it ended, its
// counters and what was not saved stay in app.save.
void RunSave(AppState& app, const SaveRequest& request, std::stop_token stop = {});

}  // namespace pellora
