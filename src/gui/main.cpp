// pellora: the desktop program.

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>

#include <memory>
#include <string_view>

#include "app/attached_drives.hpp"
#include "app/startup.hpp"
#include "desktop_launcher.hpp"
#include "dialogs.hpp"
#include "main_window.hpp"
#include "qt_ui.hpp"
#include "udisks_access.hpp"

namespace {

std::vector<std::string> ToStrings(const QStringList& list) {
  std::vector<std::string> strings;
  for (const QString& text : list) strings.push_back(text.toStdString());
  return strings;
}

// --version and --help only print: they need no display.
bool PrintsOnly(int argc, char** argv) {
  for (int n = 1; n < argc; ++n) {
    const std::string_view argument = argv[n];
    if (argument == "--version" || argument == "-v" || argument == "--help" || argument == "-h" ||
        argument == "--help-all")
      return true;
  }
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  std::unique_ptr<QCoreApplication> application;
  if (PrintsOnly(argc, argv)) {
    application = std::make_unique<QCoreApplication>(argc, argv);
  } else {
    application = std::make_unique<QApplication>(argc, argv);
  }
  QApplication::setApplicationName("Pellora");
  QApplication::setApplicationVersion(PELLORA_VERSION);
  QApplication::setDesktopFileName("pellora");

  QCommandLineParser parser;
  parser.setApplicationDescription("Pellora: recover photos and files from memory cards and USB sticks.");
  parser.addHelpOption();
  parser.addVersionOption();
  const QCommandLineOption image("image", "Attach a disk image as the next removable disk.", "PATH");
  const QCommandLineOption volume("volume-image", "Attach a volume image as the next removable volume.", "PATH");
  QCommandLineOption no_system("no-system-drives", "List attached images only.");
  no_system.setFlags(QCommandLineOption::HiddenFromHelp);
  parser.addOptions({image, volume, no_system});
  parser.addPositionalArgument("FILE.DMC", "A recovery log to open.", "[FILE.DMC]");
  parser.process(*application);

  pellora::gui::CQtUi ui;
  pellora::Program app(ui);
  app.launcher = std::make_shared<pellora::gui::CDesktopLauncher>(ui);
  app.devices.SetAccessBroker(pellora::gui::UdisksAccessBroker());
  // The desktop learns first that recovery logs open with this program.
  pellora::RegisterAssociation(app, pellora::ExecutableDir());
  if (!pellora::StartUp(app, pellora::ExecutableDir(), ToStrings(parser.positionalArguments()))) return 0;
  const bool system_drives = !parser.isSet(no_system);
  if (system_drives) pellora::FindSystemDrives(app);
  if (const std::string why =
          pellora::AttachImages(app, {ToStrings(parser.values(image)), ToStrings(parser.values(volume))});
      !why.empty()) {
    pellora::gui::Inform(nullptr, QString::fromStdString(why));
    return 1;
  }

  pellora::gui::CMainWindow window(app, ui, system_drives);
  window.show();
  // A log that cannot be read ends the program, as a log opened from the desktop that went away.
  if (!window.OpenCommandLineLog()) return 0;
  return QApplication::exec();
}
