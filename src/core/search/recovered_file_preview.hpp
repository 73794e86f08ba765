#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <stop_token>
#include <string>
#include <string_view>

#include "model/file_list.hpp"
#include "state/app_state.hpp"

namespace pellora {

// The temporary name of the n-th file opened for viewing: "ZYDC" + n + "." + the name's extension
// (without its dot, trimmed, case kept); a name without extension gets no dot.
std::string PreviewFileName(std::uint64_t number, std::string_view file_name);

// Opening a file of the file list for viewing: a copy is written into the temporary folder and
// handed to the desktop's default program. Returns the copy's path; nothing for a folder line or
// when the copy could not be written. A stop ends the copy early.
std::optional<std::filesystem::path> OpenRecoveredFile(AppState& app, const FileListRow& line,
                                                       std::stop_token stop = {});

}  // namespace pellora
