#include "save/long_paths.hpp"

namespace pellora {

std::optional<std::filesystem::path> LongPathBase(NamingState& naming, Ui& ui,
                                                  const std::filesystem::path& destination_base,
                                                  const std::filesystem::path& too_long) {
  if (!naming.long_path_for_all) {
    const LongPathAnswer answer = ui.AskLongPath(too_long.native());
    switch (answer.choice) {
      case LongPathChoice::kIgnore:
        if (answer.for_all) naming.long_path_for_all = naming.ignore_all_long_paths = true;
        return std::nullopt;
      case LongPathChoice::kMoveToMiscellaneous:
        naming.long_path_base = destination_base / kMiscellaneousFolder;
        break;
      case LongPathChoice::kBrowse: {
        // A picker that gave no folder leaves nothing to save into: the item is ignored.
        if (answer.folder.empty()) return std::nullopt;
        naming.long_path_base = answer.folder;
        std::error_code ignored;
        std::filesystem::create_directories(naming.long_path_base, ignored);
        break;
      }
    }
    naming.long_path_for_all = answer.for_all;
    return naming.long_path_base;
  }
  if (naming.ignore_all_long_paths) return std::nullopt;
  return naming.long_path_base;
}

}  // namespace pellora
