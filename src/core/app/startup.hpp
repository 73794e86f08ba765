#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "app/program.hpp"

namespace pellora {

// The folder of the running executable (definition files and the error log lie beside it).
std::filesystem::path ExecutableDir();

// The command line as a recovery-log path: trimmed, then one leading and one trailing double quote
// removed when present.
std::string CommandLineLogPath(std::string_view command_line);

// Error_Log.txt beside the executable; when that folder cannot be written (an installed program),
// $XDG_STATE_HOME/pellora/Error_Log.txt (~/.local/state when the variable is unset).
std::filesystem::path ErrorLogPath(const std::filesystem::path& executable_dir);

// The temporary folder for preview copies: $TMPDIR, else /tmp.
std::filesystem::path TemporaryFolder();

// The entries a definition reader left out, in one message.
void ShowRejections(Ui& ui, const std::vector<std::string>& rejections);

// The desktop program's first step: the user's desktop learns that recovery logs open with it (the
// executable "pellora" in executable_dir). The command line leaves the desktop alone.
bool RegisterAssociation(Program& app, const std::filesystem::path& executable_dir);

// Start-up without windows: definition paths, the command-line log path, the photo definitions,
// the test-open of all six files (a missing one is fatal: its message is shown through the Ui and
// false returned, and the caller ends the process), then the error-log path.
bool StartUp(Program& app, const std::filesystem::path& executable_dir, const std::vector<std::string>& arguments);

}  // namespace pellora
