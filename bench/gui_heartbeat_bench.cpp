// How the desktop program keeps breathing during a Basic Search and while a big folder is listed:
// a 20 ms timer on the GUI thread measures how late it fires. Offscreen; modal windows are
// answered with their default button.
// usage: bench-gui-heartbeat IMAGE [FOLDER]   (IMAGE a volume image; FOLDER the folder to list)

#include <QApplication>
#include <QPushButton>
#include <QTreeWidget>

#include <cstdio>

#include "app/attached_drives.hpp"
#include "app/startup.hpp"
#include "basic_search.hpp"
#include "drive_panel.hpp"
#include "file_list_model.hpp"
#include "lib/gui_heartbeat.hpp"
#include "main_window.hpp"
#include "qt_ui.hpp"
#include "result_tree_model.hpp"

namespace {

using pellora::ItemId;
using pellora::bench::Heartbeat;
using pellora::bench::RunUntil;

// The folder of the result tree with this title, searched breadth first.
ItemId Titled(const pellora::ResultTree& tree, const std::string& title) {
  std::vector<ItemId> queue = tree.TopLevel();
  for (std::size_t at = 0; at < queue.size(); ++at) {
    if (tree.Title(queue[at]) == title) return queue[at];
    for (ItemId child : tree.Children(queue[at])) queue.push_back(child);
  }
  return pellora::kNoItem;
}

}  // namespace

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  if (argc < 2) {
    std::fprintf(stderr, "usage: bench-gui-heartbeat IMAGE [FOLDER]\n");
    return 2;
  }
  const std::string folder = argc > 2 ? argv[2] : "Videos";
  pellora::gui::CQtUi ui;
  pellora::Program app(ui);
  if (!pellora::StartUp(app, pellora::ExecutableDir(), {})) return 1;
  if (!pellora::AttachImages(app, {{}, {argv[1]}}).empty()) return 1;
  pellora::gui::CMainWindow main(app, ui, false);
  main.show();

  const pellora::bench::DefaultAnswers answers;

  main.findChild<QPushButton*>("Basic")->click();
  RunUntil(
      [&] { return main.ModeWindow() != nullptr && main.ModeWindow()->Drives().Tree()->currentItem() != nullptr; });
  pellora::gui::CSearchWindow& window = *main.ModeWindow();

  Heartbeat beat;
  const qint64 started = beat.Now();
  window.findChild<QPushButton*>("Start")->click();
  RunUntil([&] { return app.search.Running(); });
  RunUntil([&] { return !app.search.Running(); });
  const qint64 scanned = beat.Now();
  const qint64 scan_worst = beat.Take();
  RunUntil([&] { return window.ResultModel().rowCount() > 0; });
  const qint64 shown = beat.Now();
  const qint64 show_worst = beat.Take();

  const ItemId item = Titled(app.results.tree, folder);
  qint64 list_ms = -1;
  qint64 list_worst = 0;
  int rows = 0;
  if (item != pellora::kNoItem) {
    const qint64 selected = beat.Now();
    window.ResultView().setCurrentIndex(window.ResultModel().IndexOf(item));
    RunUntil([&] { return window.FileModel().rowCount() > 0; });
    list_ms = beat.Now() - selected;
    list_worst = beat.Take();
    rows = window.FileModel().rowCount();
  }
  std::printf("scan %lld ms, worst heartbeat delay %lld ms\n", static_cast<long long>(scanned - started),
              static_cast<long long>(scan_worst));
  std::printf("tree of %zu folders shown %lld ms after the scan's end, worst delay %lld ms\n", app.results.tree.Size(),
              static_cast<long long>(shown - scanned), static_cast<long long>(show_worst));
  std::printf("folder \"%s\": %d lines listed in %lld ms, worst delay %lld ms\n", folder.c_str(), rows,
              static_cast<long long>(list_ms), static_cast<long long>(list_worst));
  main.CloseWithoutAsking();
  return 0;
}
