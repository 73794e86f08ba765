#include "common/shell_open.hpp"

#include <spawn.h>
#include <sys/wait.h>

#include <cerrno>
#include <filesystem>
#include <thread>

#include "common/ui.hpp"

extern char** environ;

namespace pellora {

int ProcessLauncher::Run(const std::vector<std::string>& argv) {
  if (argv.empty()) return -1;
  std::vector<char*> args;
  for (const std::string& arg : argv) args.push_back(const_cast<char*>(arg.c_str()));
  args.push_back(nullptr);
  pid_t pid = 0;
  if (::posix_spawnp(&pid, args[0], nullptr, nullptr, args.data(), environ) != 0) return -1;
  int status = 0;
  while (::waitpid(pid, &status, 0) < 0) {
    if (errno != EINTR) return -1;
  }
  if (!WIFEXITED(status)) return -1;
  // posix_spawnp reports a program it cannot find as a child that exits with 127.
  return WEXITSTATUS(status) == 127 ? -1 : WEXITSTATUS(status);
}

void ShellOpen(Ui& ui, const std::string& target, bool on_worker, std::shared_ptr<Launcher> launcher) {
  if (on_worker) {
    std::thread([target, launcher] { launcher->Run({"xdg-open", target}); }).detach();
    return;
  }
  std::error_code error;
  if (!std::filesystem::exists(target, error)) {
    ui.ShowMessage("Does not exist.");
    return;
  }
  const int status = launcher->Run({"xdg-open", target});
  if (status == -1) {
    ui.ShowMessage("\"" + target + "\" cannot be opened: xdg-open was not found. Install the xdg-utils package.");
  } else if (status != 0) {
    ui.ShowMessage("No program is set up to open \"" + target + "\".");
  }
}

void OpenDiskManagement(Ui& ui, std::shared_ptr<Launcher> launcher) {
  std::thread([&ui, launcher] {
    if (launcher->Run({"gnome-disks"}) == -1)
      ui.ShowMessage("Disk management needs GNOME Disks. Install the gnome-disk-utility package.");
  }).detach();
}

}  // namespace pellora
