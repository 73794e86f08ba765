#include "desktop_launcher.hpp"

#include <QDesktopServices>
#include <QDir>
#include <QThread>
#include <QUrl>

namespace pellora::gui {

int CDesktopLauncher::Run(const std::vector<std::string>& argv) {
  if (argv.size() != 2 || argv[0] != "xdg-open") return programs_.Run(argv);
  const QString target = QString::fromStdString(argv[1]);
  const QUrl url = QDir::isAbsolutePath(target) ? QUrl::fromLocalFile(target) : QUrl(target, QUrl::TolerantMode);
  if (QThread::currentThread() == gui_.thread()) return QDesktopServices::openUrl(url) ? 0 : 1;
  // From a worker: handed to the GUI thread without waiting (a worker never waits on the GUI).
  QMetaObject::invokeMethod(
      &gui_, [url] { QDesktopServices::openUrl(url); }, Qt::QueuedConnection);
  return 0;
}

}  // namespace pellora::gui
