// Pictures of the main windows on the sample card for the README and the demo, made on the
// offscreen platform: the main window, the Basic Search window with the card's tree and a folder's
// files, and "Saving Files..." at the end of a save.
// usage: pellora-screenshots DIR

#include <QLineEdit>
#include <QTest>
#include <QTreeWidget>

#include <iostream>

#include "basic_search.hpp"
#include "drive_panel.hpp"
#include "gui_driver.hpp"
#include "result_tree_model.hpp"
#include "save_dialogs.hpp"
#include "support/temp_dir.hpp"

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
  return saved ? 0 : 1;
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
  return pellora::test::Run(QString::fromLocal8Bit(argv[1]));
}
