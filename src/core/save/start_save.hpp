#pragma once

#include <cstddef>
#include <string_view>

#include "save/save_worker.hpp"
#include "state/app_state.hpp"

namespace pellora {

inline constexpr std::string_view kSaveNotAvailableText =
    "Saving function is not available at this step.\n\nTo save recovered data, first you need to scan the drive and "
    "recover the lost data.\n\nSelect the Drive from tree and click next to continue.";
inline constexpr std::string_view kStillScanningText =
    "Disk scanning process is still going on.\n\nTo save recovered data, please allow the scanning process to be "
    "completed.";
inline constexpr std::string_view kNothingSelectedText =
    "No item has been selected. Please select the item you want to save from left panel.";

// The checks of "Save Data" (and of "Save" in the tree's and the file list's menus) before the
// destination window: nothing found yet, a scan still running, nothing ticked in the tree (or no
// row selected). Shows the reason and returns false when saving cannot start.
bool SaveAllowed(AppState& app, SaveSource source, std::size_t selected_rows);

// Saving from the button to the worker: the checks, the destination check, then the count and the
// save on the saving worker. False when refused (the reason was shown) or a save runs already.
bool StartSave(AppState& app, SaveRequest request);

}  // namespace pellora
