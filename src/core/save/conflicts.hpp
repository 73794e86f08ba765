#pragma once

#include <atomic>
#include <filesystem>
#include <optional>

#include "common/ui.hpp"
#include "save/save_state.hpp"

namespace pellora {

// The path a file is written to when `path` may already hold one: the path itself when it is free
// or is to be overwritten, a new "_zy_N" name, or nothing when the file is to be skipped. Asks the
// replace window unless an answer "for all" stands; "Cancel" skips this and every later conflict
// and sets stop.
std::optional<std::filesystem::path> ResolveFileName(NamingState& naming, Ui& ui, std::atomic<bool>& stop,
                                                     const std::filesystem::path& path);

}  // namespace pellora
