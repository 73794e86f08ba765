#pragma once

#include <filesystem>
#include <string_view>

namespace pellora {

// Appends one entry (UTF-8 text) to the error log, stored as UTF-16LE. The byte-order mark FF FE
// is written only into an empty file, so earlier entries are kept and a file never holds two marks.
// Returns false when the log could not be written; callers carry on regardless.
bool AppendToErrorLog(const std::filesystem::path& log_path, std::string_view entry_utf8) noexcept;

}  // namespace pellora
