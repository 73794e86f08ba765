#include "app/startup.hpp"

#include <unistd.h>

#include <cstdlib>
#include <fstream>

#include "common/text.hpp"
#include "recoverylog/association.hpp"

namespace pellora {

std::filesystem::path ExecutableDir() {
  std::error_code error;
  const auto self = std::filesystem::read_symlink("/proc/self/exe", error);
  if (error) return std::filesystem::current_path();
  return self.parent_path();
}

std::string CommandLineLogPath(std::string_view command_line) {
  std::string_view path = Trim(command_line);
  if (path.starts_with('"')) path.remove_prefix(1);
  if (path.ends_with('"')) path.remove_suffix(1);
  return std::string(path);
}

std::filesystem::path ErrorLogPath(const std::filesystem::path& executable_dir) {
  if (::access(executable_dir.c_str(), W_OK) == 0) return executable_dir / "Error_Log.txt";
  std::filesystem::path state;
  if (const char* xdg = std::getenv("XDG_STATE_HOME"); xdg != nullptr && *xdg == '/') {
    state = xdg;
  } else if (const char* home = std::getenv("HOME"); home != nullptr && *home != '\0') {
    state = std::filesystem::path(home) / ".local" / "state";
  } else {
    state = TemporaryFolder();
  }
  return state / "pellora" / "Error_Log.txt";
}

std::filesystem::path TemporaryFolder() {
  if (const char* tmp = std::getenv("TMPDIR"); tmp != nullptr && *tmp != '\0') return tmp;
  return "/tmp";
}

void ShowRejections(Ui& ui, const std::vector<std::string>& rejections) {
  if (rejections.empty()) return;
  std::string text;
  for (const std::string& line : rejections) text.append(line).append("\n");
  text.pop_back();
  ui.ShowMessage(text);
}

bool RegisterAssociation(Program& app, const std::filesystem::path& executable_dir) {
  return RegisterLogAssociation(app.ui, *app.launcher, executable_dir / "pellora");
}

bool StartUp(Program& app, const std::filesystem::path& executable_dir, const std::vector<std::string>& arguments) {
  app.executable_dir = executable_dir;
  app.definition_paths = MakeDefinitionPaths(DefinitionFolder(executable_dir));

  std::string command_line;
  for (const std::string& argument : arguments) command_line.append(command_line.empty() ? "" : " ").append(argument);
  app.command_line_log_path = CommandLineLogPath(command_line);

  std::vector<std::string> rejections;
  for (const auto& [file, set_name] : {std::pair{app.definition_paths.photo_general, "General"},
                                       std::pair{app.definition_paths.photo_advance, "Advance"}}) {
    DefinitionLoad load = LoadPhotoDefinitions(file, set_name, app.photo_definitions);
    if (!load.opened) {
      app.ui.ShowMessage(load.error);
      return false;
    }
    rejections.insert(rejections.end(), load.rejections.begin(), load.rejections.end());
  }
  ShowRejections(app.ui, rejections);

  for (const std::filesystem::path& file : app.definition_paths.InOrder()) {
    errno = 0;
    const std::ifstream probe(file);
    if (!probe) {
      app.ui.ShowMessage(OpenFailureMessage(errno != 0 ? errno : ENOENT));
      return false;
    }
  }
  app.reporter.SetLogPath(ErrorLogPath(executable_dir));
  app.temp_folder = TemporaryFolder();
  return true;
}

}  // namespace pellora
