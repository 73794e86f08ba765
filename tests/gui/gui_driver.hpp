#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QString>
#include <QWidget>

#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <string>

#include "app/program.hpp"
#include "main_window.hpp"
#include "qt_ui.hpp"
#include "support/faulty_source.hpp"

namespace pellora::test {

// The program as main() puts it together, without the machine's drives: with a disk image attached,
// or with no drive at all.
struct GuiProgram {
  explicit GuiProgram(const std::filesystem::path& card = {});
  ~GuiProgram();

  gui::CQtUi ui;
  Program app{ui};
  std::unique_ptr<gui::CMainWindow> window;
};

// Clicks the mode button with this label in the main window and waits for its window to show its
// drives with one selected; nullptr when it did not within 20 s.
gui::CSearchWindow* OpenModeWindow(GuiProgram& program, const QString& button);

// Runs act on the first modal window that match accepts, from a timer, so that it also runs
// while another window waits in exec(). Checks every 20 ms until timeout_ms.
void WhenModal(std::function<bool(QWidget*)> match, std::function<void(QWidget*)> act, int timeout_ms = 60000);
// A modal window of this class (by metaObject()->className() or objectName()).
std::function<bool(QWidget*)> ModalNamed(const QString& name);
// A message box whose text contains this.
std::function<bool(QWidget*)> MessageSaying(const QString& text);

// Answers the next message box saying text with OK; true once it was seen.
std::shared_ptr<bool> ExpectMessage(const QString& text);

// The button with this label (objectName) inside window; fails the test when there is none.
QAbstractButton* ButtonOf(QWidget* window, const QString& label);
// Clicks it later, from the event loop: for buttons whose click opens a modal window.
void ClickLater(QWidget* window, const QString& label);

// With the medium of window's drive read through held: arms it, clicks "Start" and waits for the
// search to be held at a read (where while_held, when given, must hold too); then "stop" is asked
// first, No leaves the search running and Yes stops it, and the read is released. False (with the
// reason in a test warning) when a step went otherwise.
bool StopIsAskedFirst(GuiProgram& program, QWidget* window, const QString& stop, HeldReads& held,
                      const std::function<bool()>& while_held = {});

// The child of a result tree item with this title; kNoItem when there is none.
ItemId ChildTitled(const ResultTree& tree, ItemId item, const std::string& title);

// Files below a folder and their bytes: "DCIM/100PELLO/IMG_0001.JPG" -> content.
std::map<std::string, std::string> FolderContents(const std::filesystem::path& folder);

}  // namespace pellora::test
