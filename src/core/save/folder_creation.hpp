#pragma once

#include <filesystem>
#include <optional>

#include "common/ui.hpp"
#include "state/save_state.hpp"

namespace pellora {

// Makes a destination folder with any parents it lacks. Returns the folder to save into: the one
// asked for, or, when its path is too long, one of the same name under the base the long-path
// window gives; nothing when the person chose to ignore it.
std::optional<std::filesystem::path> CreateFolder(NamingState& naming, Ui& ui,
                                                  const std::filesystem::path& destination_base,
                                                  const std::filesystem::path& folder);

}  // namespace pellora
