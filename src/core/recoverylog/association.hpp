#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "common/shell_open.hpp"
#include "common/ui.hpp"

namespace pellora {

// The type of recovery logs on the desktop, and the files that tell the desktop about it. The
// installed copies live in data/desktop/; start-up writes per-user ones that start this program.
inline constexpr std::string_view kLogMimeType = "application/x-pellora-dmc";
inline constexpr std::string_view kDesktopFileName = "pellora.desktop";
inline constexpr std::string_view kMimeFileName = "pellora-dmc.xml";

// The two files' texts; the desktop entry starts program with the log as its argument.
std::string DesktopEntryText(std::string_view program);
std::string MimeTypeText();

// $XDG_DATA_HOME, else ~/.local/share.
std::filesystem::path UserDataHome();

// Run at every start-up: makes sure the user's mime and desktop databases know logs and open them
// with this program (data_home/mime/packages and data_home/applications), writing the files that
// are missing or tell another program, and refreshing the databases with their tools when they are
// installed. A file that cannot be written shows the association failure message; start-up goes
// on. False when that happened.
bool RegisterLogAssociation(Ui& ui, Launcher& launcher, const std::filesystem::path& program,
                            const std::filesystem::path& data_home = UserDataHome());

}  // namespace pellora
