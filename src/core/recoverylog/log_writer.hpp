#pragma once

#include <filesystem>

#include "recoverylog/recovery_log.hpp"

namespace pellora {

// Writes the log of a search. The values go to a file beside path under another name, which takes
// path's name only once every byte is written: a failure (a full disk) throws LogWriteError with the
// system's text and leaves no file that looks complete, and an earlier log at path stays as it was.
void WriteRecoveryLog(const std::filesystem::path& path, const LogSource& source);

}  // namespace pellora
