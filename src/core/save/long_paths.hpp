#pragma once

#include <filesystem>
#include <optional>

#include "common/ui.hpp"
#include "state/save_state.hpp"

namespace pellora {

// The folder under the destination that takes what cannot be saved where it belongs.
inline constexpr std::string_view kMiscellaneousFolder = "ZYD_Miscellaneous";

// What becomes of a file or folder whose path cannot be made: the base folder to put it under
// instead ("ZYD_Miscellaneous" of the destination, or a folder the person picked), or nothing when
// it is to be ignored. Asks the long-path window unless "Do this for all next conflicts." was
// ticked before.
std::optional<std::filesystem::path> LongPathBase(NamingState& naming, Ui& ui,
                                                  const std::filesystem::path& destination_base,
                                                  const std::filesystem::path& too_long);

}  // namespace pellora
