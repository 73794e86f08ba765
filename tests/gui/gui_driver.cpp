#include "gui_driver.hpp"

#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include <fstream>
#include <sstream>

#include "app/attached_drives.hpp"
#include "app/startup.hpp"
#include "drive_panel.hpp"
#include "support/recording_launcher.hpp"

namespace pellora::test {

GuiProgram::GuiProgram(const std::filesystem::path& card) {
  app.launcher = std::make_shared<RecordingLauncher>();
  if (!StartUp(app, PELLORA_BIN_DIR, {})) throw std::runtime_error("the definition files are missing");
  if (card.empty()) {
    window = std::make_unique<gui::CMainWindow>(app, ui, false);
    return;
  }
  if (const std::string why = AttachImages(app, {{card.string()}, {}}); !why.empty()) throw std::runtime_error(why);
  window = std::make_unique<gui::CMainWindow>(app, ui, false);
}

GuiProgram::~GuiProgram() {
  if (window) window->CloseWithoutAsking();
  window.reset();
  app.EndWorkers();
}

gui::CSearchWindow* OpenModeWindow(GuiProgram& program, const QString& button) {
  program.window->show();
  if (!button.isEmpty()) ButtonOf(program.window.get(), button)->click();
  gui::CSearchWindow* window = nullptr;
  const bool opened = QTest::qWaitFor(
      [&] {
        window = program.window->ModeWindow();
        return window != nullptr && window->isVisible() && window->Drives().Tree()->currentItem() != nullptr;
      },
      20000);
  return opened ? window : nullptr;
}

void WhenModal(std::function<bool(QWidget*)> match, std::function<void(QWidget*)> act, int timeout_ms) {
  auto* timer = new QTimer(qApp);
  auto waited = std::make_shared<int>(0);
  QObject::connect(timer, &QTimer::timeout, timer, [timer, waited, timeout_ms, match, act] {
    *waited += timer->interval();
    QWidget* modal = QApplication::activeModalWidget();
    if (modal != nullptr && modal->isVisible() && match(modal)) {
      timer->stop();
      timer->deleteLater();
      act(modal);
    } else if (*waited > timeout_ms) {
      timer->stop();
      timer->deleteLater();
    }
  });
  timer->start(20);
}

std::function<bool(QWidget*)> ModalNamed(const QString& name) {
  return [name](QWidget* modal) { return modal->objectName() == name || name == modal->metaObject()->className(); };
}

std::function<bool(QWidget*)> MessageSaying(const QString& text) {
  return [text](QWidget* modal) {
    auto* box = qobject_cast<QMessageBox*>(modal);
    return box != nullptr && box->text().contains(text);
  };
}

std::shared_ptr<bool> ExpectMessage(const QString& text) {
  auto seen = std::make_shared<bool>(false);
  WhenModal(MessageSaying(text), [seen](QWidget* box) {
    *seen = true;
    ButtonOf(box, "OK")->click();
  });
  return seen;
}

QAbstractButton* ButtonOf(QWidget* window, const QString& label) {
  auto* button = window->findChild<QAbstractButton*>(label);
  if (button == nullptr) throw std::runtime_error("no button \"" + label.toStdString() + "\"");
  return button;
}

void ClickLater(QWidget* window, const QString& label) {
  QAbstractButton* button = ButtonOf(window, label);
  QTimer::singleShot(0, button, &QAbstractButton::click);
}

bool StopIsAskedFirst(GuiProgram& program, QWidget* window, const QString& stop, HeldReads& held,
                      const std::function<bool()>& while_held) {
  const auto failed = [](const char* step) {
    QWARN(step);
    return false;
  };
  held.Arm();
  ButtonOf(window, "Start")->click();
  if (!QTest::qWaitFor([&] { return held.Holding(); }, 20000)) return failed("the search never came to the held read");
  if (!program.app.search.Running()) return failed("the search is not running while held");
  if (while_held && !while_held()) return failed("the window is not as it should be while searching");
  WhenModal(MessageSaying("Do you want to stop searching?"), [](QWidget* box) { ButtonOf(box, "No")->click(); });
  ButtonOf(window, stop)->click();
  if (!program.app.search.Running() || !ButtonOf(window, stop)->isEnabled()) return failed("No stopped the search");
  WhenModal(MessageSaying("Do you want to stop searching?"), [](QWidget* box) { ButtonOf(box, "Yes")->click(); });
  ButtonOf(window, stop)->click();
  held.Release();
  return true;
}

ItemId ChildTitled(const ResultTree& tree, ItemId item, const std::string& title) {
  for (ItemId child : tree.Children(item))
    if (tree.Title(child) == title) return child;
  return kNoItem;
}

std::map<std::string, std::string> FolderContents(const std::filesystem::path& folder) {
  std::map<std::string, std::string> contents;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
    const std::string name = std::filesystem::relative(entry.path(), folder).string();
    if (entry.is_directory()) {
      contents[name + "/"] = {};
      continue;
    }
    std::ifstream in(entry.path(), std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    contents[name] = bytes.str();
  }
  return contents;
}

}  // namespace pellora::test
