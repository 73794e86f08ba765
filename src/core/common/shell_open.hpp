#pragma once

#include <memory>
#include <string>
#include <vector>

namespace pellora {

class Ui;

// Starts a desktop program; returns its exit status, or -1 when it could not be started.
class Launcher {
 public:
  virtual ~Launcher() = default;
  virtual int Run(const std::vector<std::string>& argv) = 0;
};

// Runs programs with posix_spawnp and waits for them.
class ProcessLauncher final : public Launcher {
 public:
  int Run(const std::vector<std::string>& argv) override;
};

// Opens a file, folder or link with the desktop's default program (xdg-open). On a worker the call
// returns at once and failures stay silent; otherwise a missing target shows "Does not exist." and a
// failure to open says why.
void ShellOpen(Ui& ui, const std::string& target, bool on_worker, std::shared_ptr<Launcher> launcher);

// The disk-management tool: GNOME Disks when it is installed, else a message naming the package.
void OpenDiskManagement(Ui& ui, std::shared_ptr<Launcher> launcher);

}  // namespace pellora
