#pragma once

#include <QObject>

#include "common/shell_open.hpp"

namespace pellora::gui {

// Opens files, folders and links with the desktop's programs through Qt (the portal inside a
// sandbox, the desktop's own handler elsewhere); any other program is started as the core does.
class CDesktopLauncher final : public Launcher {
 public:
  explicit CDesktopLauncher(QObject& gui_thread_object) : gui_(gui_thread_object) {}
  int Run(const std::vector<std::string>& argv) override;

 private:
  QObject& gui_;
  ProcessLauncher programs_;
};

}  // namespace pellora::gui
