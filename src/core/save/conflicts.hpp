#pragma once

#include <filesystem>
#include <optional>

#include "common/run_stop.hpp"
#include "common/ui.hpp"
#include "state/save_state.hpp"

namespace pellora {

// The path a file is written to when `path` may already hold one: the path itself when it is free
// or is to be overwritten, a new "_zy_N" name, or nothing when the file is to be skipped. Asks the
// replace window unless an answer "for all" stands; "Cancel" skips this and every later conflict
// and stops the run.
std::optional<std::filesystem::path> ResolveFileName(NamingState& naming, Ui& ui, RunStop& stop,
                                                     const std::filesystem::path& path);

}  // namespace pellora
