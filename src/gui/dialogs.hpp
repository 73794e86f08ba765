#pragma once

#include <QBoxLayout>
#include <QMessageBox>
#include <QPushButton>
#include <QString>
#include <QStringList>

#include <string_view>

namespace pellora::gui {

inline QString FromView(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}
// The caption of the product's own windows: "Pellora".
QString ProductCaption();

// A button whose objectName is its label (so tests find it), never a default by itself; added to
// layout when one is given.
QPushButton* MakeButton(const QString& label, QWidget* parent, QBoxLayout* layout = nullptr);

// A message box with buttons of these labels (each button's objectName is its label) and the
// button at default_index as the default one.
void SetUpMessageBox(QMessageBox& box, QMessageBox::Icon icon, const QString& caption, const QString& text,
                     const QStringList& buttons, int default_index = 0);
// The index of the button that closed the box; -1 when it was closed otherwise.
int ClickedButton(const QMessageBox& box);
// A message box on the GUI thread for the window's own messages.
void Inform(QWidget* parent, const QString& text, const QString& caption = "Message");

// The advice below every end-of-search message.
QString EndMessageAdvice();

}  // namespace pellora::gui
