#include "dialogs.hpp"

#include <QPushButton>

#include "common/product.hpp"

namespace pellora::gui {

QPushButton* MakeButton(const QString& label, QWidget* parent, QBoxLayout* layout) {
  auto* button = new QPushButton(label, parent);
  button->setObjectName(label);
  button->setAutoDefault(false);
  if (layout != nullptr) layout->addWidget(button);
  return button;
}

QString ProductCaption() { return FromView(kProductName); }

void SetUpMessageBox(QMessageBox& box, QMessageBox::Icon icon, const QString& caption, const QString& text,
                     const QStringList& buttons, int default_index) {
  box.setIcon(icon);
  box.setWindowTitle(caption);
  box.setText(text);
  box.setTextFormat(Qt::PlainText);
  for (int index = 0; index < buttons.size(); ++index) {
    QPushButton* button = box.addButton(buttons[index], index == 0 ? QMessageBox::AcceptRole : QMessageBox::RejectRole);
    button->setObjectName(buttons[index]);
    button->setProperty("answer", index);
    if (index == default_index) box.setDefaultButton(button);
  }
  if (!buttons.isEmpty()) box.setEscapeButton(box.buttons().constLast());
}

int ClickedButton(const QMessageBox& box) {
  const QAbstractButton* clicked = box.clickedButton();
  return clicked == nullptr ? -1 : clicked->property("answer").toInt();
}

void Inform(QWidget* parent, const QString& text, const QString& caption) {
  QMessageBox box(parent);
  SetUpMessageBox(box, QMessageBox::Information, caption, text, {"OK"});
  box.exec();
}

QString EndMessageAdvice() {
  return QString(
             "Need help? Write to %1.\n\nSave the recovered data to a different drive, never to the card you "
             "are recovering from.")
      .arg(FromView(kSupportEmail));
}

}  // namespace pellora::gui
