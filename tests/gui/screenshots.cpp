// Pictures of the main windows on the sample card for the README and the demo, made on the
// offscreen platform: the main window, the Basic Search window with the card's tree and a folder's
// files, "Saving Files..." at the end of a save, the Deep Search window with the tree it rebuilt
// from a copy of the card whose boot sectors and FATs were wiped, the Photo Search window with the
// card's photos and the Signature Search window with its type checklist and what it found.
// usage: pellora-screenshots DIR

#include <QLineEdit>
#include <QTest>
#include <QTreeWidget>

#include <iostream>

#include "basic_search.hpp"
#include "carving_window.hpp"
#include "deep_search.hpp"
#include "drive_panel.hpp"
#include "file_list_model.hpp"
#include "gui_driver.hpp"
#include "raw_search.hpp"
#include "result_tree_model.hpp"
#include "save_dialogs.hpp"
#include "support/cli_runner.hpp"
#include "support/temp_dir.hpp"
#include "thumbs_list.hpp"

namespace pellora::test {
namespace {

bool Save(QWidget* window, const QString& folder, const QString& name) {
  const QString file = folder + "/" + name;
  if (!window->grab().save(file)) {
    std::cerr << "pellora-screenshots: cannot write " << file.toStdString() << '\n';
    return false;
  }
  std::cout << file.toStdString() << '\n';
  return true;
}

// The Deep Search window on the wiped copy, with DCIM open and 100PELLO's photos listed.
bool DeepSearchShot(const QString& folder) {
  TempDir dir;
  const std::filesystem::path card = dir / "wiped-card.img";
  if (RunProgram("/bin/cp", {"--sparse=always", SampleCard().string(), card.string()}).exit_code != 0) return false;
  WipeFat32Layout(card, kSampleCardPartitionStart);
  GuiProgram program(card);
  auto* window = qobject_cast<gui::CDeepSearch*>(OpenModeWindow(program, "Deep"));
  if (window == nullptr) return false;
  WhenModal(MessageSaying("Recovery is"), [](QWidget* box) { ButtonOf(box, "OK")->click(); });
  ButtonOf(window, "Start")->click();
  if (!QTest::qWaitFor([&] { return !program.app.search.Running() && ButtonOf(window, "Start")->isEnabled(); }, 60000))
    return false;
  QTest::qWait(300);  // the end message closes
  const ResultTree& tree = program.app.results.tree;
  const ItemId dcim = ChildTitled(tree, tree.FirstItem(), "DCIM");
  const ItemId photos = ChildTitled(tree, dcim, "100PELLO");
  if (photos == kNoItem) return false;
  window->ResultView().expand(window->ResultModel().IndexOf(dcim));
  window->ResultView().setCurrentIndex(window->ResultModel().IndexOf(photos));
  if (!QTest::qWaitFor([&] { return window->FileModel().rowCount() > 0; }, 20000)) return false;
  QTest::qWait(200);
  const bool saved = Save(window, folder, "deep-search.png");
  window->CloseWithoutAsking();
  return saved;
}

// A carving mode's window on the sample card after a search into a fresh folder.
gui::CCarvingWindow* CarveSampleCard(GuiProgram& program, const QString& mode, const TempDir& destination) {
  gui::CMainWindow& main = *program.window;
  main.show();
  ButtonOf(&main, mode)->click();
  gui::CCarvingWindow* window = nullptr;
  if (!QTest::qWaitFor(
          [&] {
            window = main.CarvingWindow();
            return window != nullptr && window->Drives().Tree()->currentItem() != nullptr;
          },
          20000))
    return nullptr;
  ButtonOf(window, "Start")->click();
  window->Destination().setText(QString::fromStdString(destination.Path().string()));
  WhenModal(MessageSaying("Searching of files in specified disk sectors is"),
            [](QWidget* box) { ButtonOf(box, "OK")->click(); });
  ButtonOf(window, "Start")->click();
  if (!QTest::qWaitFor([&] { return !window->Searching() && QApplication::activeModalWidget() == window; }, 60000))
    return nullptr;
  return window;
}

bool PhotoSearchShot(const QString& folder) {
  GuiProgram program(SampleCard());
  TempDir destination;
  auto* window = qobject_cast<gui::CRawSearch*>(CarveSampleCard(program, "Photo", destination));
  if (window == nullptr) return false;
  gui::CThumbsModel& thumbs = window->Thumbnails().Model();
  const bool decoded = QTest::qWaitFor(
      [&] {
        for (int row = 0; row < thumbs.rowCount(); ++row)
          if (!thumbs.Decoded(row)) return false;
        return true;
      },
      20000);
  if (!decoded) return false;
  QTest::qWait(200);
  const bool saved = Save(window, folder, "photo-search.png");
  window->reject();
  return saved;
}

bool SignatureSearchShot(const QString& folder) {
  GuiProgram program(SampleCard());
  TempDir destination;
  gui::CCarvingWindow* window = CarveSampleCard(program, "Signature", destination);
  if (window == nullptr) return false;
  QTest::qWait(200);
  const bool saved = Save(window, folder, "signature-search.png");
  window->reject();
  return saved;
}

int Run(const QString& folder) {
  QDir().mkpath(folder);
  GuiProgram program(SampleCard());
  gui::CMainWindow& main = *program.window;
  main.show();
  QTest::qWait(200);
  if (!Save(&main, folder, "main-window.png")) return 1;

  ButtonOf(&main, "Basic")->click();
  gui::CBasicSearch* window = nullptr;
  if (!QTest::qWaitFor(
          [&] {
            window = qobject_cast<gui::CBasicSearch*>(main.ModeWindow());
            return window != nullptr && window->Drives().Tree()->currentItem() != nullptr;
          },
          20000))
    return 1;
  WhenModal(MessageSaying("Recovery is"), [](QWidget* box) { ButtonOf(box, "OK")->click(); });
  ButtonOf(window, "Start")->click();
  if (!QTest::qWaitFor([&] { return !program.app.search.Running() && ButtonOf(window, "Start")->isEnabled(); }, 60000))
    return 1;
  QTest::qWait(300);  // the end message closes

  const ResultTree& tree = program.app.results.tree;
  const ItemId dcim = ChildTitled(tree, tree.FirstItem(), "DCIM");
  const ItemId photos = ChildTitled(tree, dcim, "100PELLO");
  window->ResultView().expand(window->ResultModel().IndexOf(dcim));
  window->ResultView().setCurrentIndex(window->ResultModel().IndexOf(photos));
  window->ResultModel().setData(window->ResultModel().IndexOf(dcim), Qt::Checked, Qt::CheckStateRole);
  QTest::qWait(200);
  if (!Save(window, folder, "basic-search.png")) return 1;

  TempDir destination;
  bool saved = false;
  WhenModal(ModalNamed("Save As"), [&](QWidget* dialog) {
    dialog->findChild<QLineEdit*>("destination")->setText(QString::fromStdString((destination / "recovered").string()));
    WhenModal(MessageSaying("Recovered data has been saved successfully."), [&](QWidget* box) {
      if (auto* saving = window->findChild<gui::CSavingDlg*>()) saved = Save(saving, folder, "saving-files.png");
      ButtonOf(box, "OK")->click();
    });
    ButtonOf(dialog, "OK")->click();
  });
  ButtonOf(window, "Save Data")->click();
  if (!QTest::qWaitFor([&] { return !program.app.saving.Running(); }, 60000)) return 1;
  window->CloseWithoutAsking();
  if (!saved) return 1;
  return PhotoSearchShot(folder) && SignatureSearchShot(folder) ? 0 : 1;
}

}  // namespace
}  // namespace pellora::test

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
  QApplication application(argc, argv);
  if (argc != 2) {
    std::cerr << "usage: pellora-screenshots DIR\n";
    return 2;
  }
  const QString folder = QString::fromLocal8Bit(argv[1]);
  if (pellora::test::Run(folder) != 0) return 1;
  return pellora::test::DeepSearchShot(folder) ? 0 : 1;
}
