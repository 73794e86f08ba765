// Photo Search in the desktop program's window: how long the search of a disk image takes from the
// second click on "Start" until the window shows the finish hint (the moment the worker asks for
// its end message), and how late a 20 ms timer on the GUI thread fires meanwhile, while the
// thumbnails come in. Offscreen; message boxes take their default answer.
// usage: bench-carving-gui IMAGE DESTINATION   (IMAGE attached as a removable disk)

#include <QApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTreeWidget>

#include <cstdio>

#include "app/attached_drives.hpp"
#include "app/startup.hpp"
#include "carving/carving_engine.hpp"
#include "carving_window.hpp"
#include "drive_panel.hpp"
#include "lib/gui_heartbeat.hpp"
#include "main_window.hpp"
#include "qt_ui.hpp"
#include "raw_search.hpp"
#include "thumbs_list.hpp"

int main(int argc, char** argv) {
  using pellora::bench::RunUntil;
  QApplication application(argc, argv);
  if (argc < 3) {
    std::fprintf(stderr, "usage: bench-carving-gui IMAGE DESTINATION\n");
    return 2;
  }
  pellora::gui::CQtUi ui;
  pellora::Program app(ui);
  if (!pellora::StartUp(app, pellora::ExecutableDir(), {})) return 1;
  if (!pellora::AttachImages(app, {{argv[1]}, {}}).empty()) return 1;
  pellora::gui::CMainWindow main(app, ui, false);
  main.show();

  pellora::bench::Heartbeat beat;
  qint64 ended = -1;
  QObject::connect(&ui, &pellora::gui::CQtUi::TextChanged, [&](int field, const QString& text) {
    if (ended < 0 && field == static_cast<int>(pellora::UiText::kHint) &&
        text == QString::fromUtf8(pellora::kCarvingFinishHint.data()))
      ended = beat.Now();
  });
  bool end_message = false;
  const pellora::bench::DefaultAnswers answers([&](QMessageBox& box) {
    end_message = end_message || box.text().startsWith("Searching of files in specified disk sectors is");
  });

  main.findChild<QPushButton*>("Photo")->click();
  RunUntil([&] {
    return main.CarvingWindow() != nullptr && main.CarvingWindow()->Drives().Tree()->currentItem() != nullptr;
  });
  auto& window = *qobject_cast<pellora::gui::CRawSearch*>(main.CarvingWindow());
  window.findChild<QPushButton*>("Start")->click();
  window.Destination().setText(QString::fromLocal8Bit(argv[2]));

  beat.Take();
  const qint64 started = beat.Now();
  window.findChild<QPushButton*>("Start")->click();
  RunUntil([&] { return ended >= 0 && end_message && !window.Searching(); });
  const qint64 worst = beat.Take();
  std::printf("Photo Search in the window: %.3f s, %d thumbnails listed, worst heartbeat delay %lld ms\n",
              static_cast<double>(ended - started) / 1000.0, window.Thumbnails().Model().rowCount(),
              static_cast<long long>(worst));
  main.CloseWithoutAsking();
  return 0;
}
