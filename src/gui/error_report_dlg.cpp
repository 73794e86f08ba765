#include "error_report_dlg.hpp"

#include <QClipboard>
#include <QDesktopServices>
#include <QDialogButtonBox>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QTextEdit>
#include <QUrl>
#include <QVBoxLayout>

#include "dialogs.hpp"

namespace pellora::gui {

CErrorReportDlg::CErrorReportDlg(const ErrorReport& report, QWidget* parent) : QDialog(parent), report_(report) {
  setWindowTitle(ProductCaption());
  setObjectName("CErrorReportDlg");
  auto* layout = new QVBoxLayout(this);
  auto* headline = new QLabel(QString::fromStdString(report.headline), this);
  headline->setObjectName("headline");
  headline->setWordWrap(true);
  QFont bold = headline->font();
  bold.setBold(true);
  headline->setFont(bold);
  layout->addWidget(headline);

  body_ = new QTextEdit(this);
  body_->setObjectName("body");
  body_->setPlainText(QString::fromStdString(report.body));
  layout->addWidget(body_);

  auto* hint = new QPushButton("Click here to know how to get Hardware and Software details", this);
  hint->setObjectName(hint->text());
  hint->setFlat(true);
  connect(hint, &QPushButton::clicked, this, [this] {
    Inform(this,
           "Open Disks, select your Storage Media and take screenshot.\n\n\nOpen Settings > About and take "
           "screenshot.");
  });
  layout->addWidget(hint, 0, Qt::AlignLeft);

  auto* buttons = new QDialogButtonBox(this);
  for (const char* label : {"Copy Information", "Contact Support", "OK"}) {
    QPushButton* button = buttons->addButton(label, QDialogButtonBox::ActionRole);
    button->setObjectName(label);
    button->setAutoDefault(false);
  }
  auto* ok = buttons->findChild<QPushButton*>("OK");
  ok->setDefault(true);
  connect(buttons->findChild<QPushButton*>("Copy Information"), &QPushButton::clicked, this,
          &CErrorReportDlg::CopyInformation);
  connect(buttons->findChild<QPushButton*>("Contact Support"), &QPushButton::clicked, this,
          &CErrorReportDlg::ContactSupport);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
  layout->addWidget(buttons);
  resize(640, 480);
}

void CErrorReportDlg::CopyInformation() {
  QClipboard* clipboard = QGuiApplication::clipboard();
  if (clipboard == nullptr) {
    Inform(this, "Set clipboard data.");
    return;
  }
  clipboard->setText(body_->toPlainText());
  Inform(this, "Information has been copied successfully.");
}

void CErrorReportDlg::ContactSupport() {
  QDesktopServices::openUrl(QUrl(QString::fromStdString(report_.mail_link), QUrl::TolerantMode));
}

}  // namespace pellora::gui
