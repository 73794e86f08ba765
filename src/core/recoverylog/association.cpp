#include "recoverylog/association.hpp"

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "recoverylog/log_messages.hpp"

namespace pellora {

namespace {

std::string Contents(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in) return {};
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// True when the file holds text, writing it when it did not.
bool Ensure(const std::filesystem::path& file, const std::string& text, bool& written) {
  if (Contents(file) == text) return true;
  std::error_code error;
  std::filesystem::create_directories(file.parent_path(), error);
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out << text;
  out.close();
  if (!out) return false;
  written = true;
  return true;
}

// A desktop entry's Exec field quotes a path that holds blanks or quotes.
std::string ExecArgument(std::string_view program) {
  if (program.find_first_of(" \t\"'\\$`") == std::string_view::npos) return std::string(program);
  std::string quoted = "\"";
  for (char c : program) {
    if (c == '"' || c == '`' || c == '$' || c == '\\') quoted += "\\\\";
    quoted += c;
  }
  return quoted + "\"";
}

}  // namespace

std::string DesktopEntryText(std::string_view program) {
  return "[Desktop Entry]\n"
         "Type=Application\n"
         "Name=Pellora\n"
         "GenericName=Data Recovery\n"
         "Comment=Recover photos, videos and documents from memory cards and USB sticks\n"
         "Exec=" +
         ExecArgument(program) +
         " %f\n"
         "Icon=pellora\n"
         "Terminal=false\n"
         "Categories=Utility;System;\n"
         "MimeType=" +
         std::string(kLogMimeType) + ";\n";
}

std::string MimeTypeText() {
  return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
         "<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n"
         "  <mime-type type=\"" +
         std::string(kLogMimeType) +
         "\">\n"
         "    <comment>Recovery scanning Log (index of recovered files and folders)</comment>\n"
         "    <glob pattern=\"*.dmc\"/>\n"
         "  </mime-type>\n"
         "</mime-info>\n";
}

std::filesystem::path UserDataHome() {
  if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg != nullptr && *xdg == '/') return xdg;
  if (const char* home = std::getenv("HOME"); home != nullptr && *home != '\0')
    return std::filesystem::path(home) / ".local" / "share";
  return {};
}

bool RegisterLogAssociation(Ui& ui, Launcher& launcher, const std::filesystem::path& program,
                            const std::filesystem::path& data_home) {
  bool mime_written = false;
  bool desktop_written = false;
  const std::filesystem::path mime = data_home / "mime";
  const std::filesystem::path applications = data_home / "applications";
  const bool ok = !data_home.empty() && Ensure(mime / "packages" / kMimeFileName, MimeTypeText(), mime_written) &&
                  Ensure(applications / kDesktopFileName, DesktopEntryText(program.string()), desktop_written);
  if (!ok) {
    ui.ShowMessage(kAssociationFailed);
    return false;
  }
  // The tools are optional: without them the desktop reads the files at its next refresh.
  if (mime_written) (void)launcher.Run({"update-mime-database", mime.string()});
  if (desktop_written) (void)launcher.Run({"update-desktop-database", applications.string()});
  return true;
}

}  // namespace pellora
