#include "carved_files_model.hpp"

#include <QAbstractItemView>
#include <QDialog>
#include <QLabel>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>

namespace pellora::gui {

CCarvedFilesModel::CCarvedFilesModel(QObject* parent) : QAbstractListModel(parent) {}

int CCarvedFilesModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(files_.size());
}

QVariant CCarvedFilesModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= rowCount()) return {};
  const CarvedFile& file = File(index.row());
  switch (role) {
    case Qt::DisplayRole:
    case Qt::ToolTipRole:
      return file.name;
    case Qt::DecorationRole:
      return Decoration(index.row());
    case kPathRole:
      return file.path;
    case kTypeRole:
      return file.type_name;
    default:
      return {};
  }
}

void CCarvedFilesModel::Append(const QList<CarvedFile>& files) {
  qsizetype at = 0;
  while (at < files.size()) {
    if (files_.size() >= static_cast<std::size_t>(kCarvedListLimit)) {
      Clear();
      emit Cleared();
    }
    const int first = rowCount();
    const auto take = static_cast<int>(std::min<qsizetype>(files.size() - at, kCarvedListLimit - first));
    beginInsertRows({}, first, first + take - 1);
    files_.insert(files_.end(), files.begin() + at, files.begin() + at + take);
    Appended(first, first + take);
    endInsertRows();
    at += take;
  }
}

void CCarvedFilesModel::Clear() {
  beginResetModel();
  files_.clear();
  Emptied();
  endResetModel();
}

void FollowCarvedList(QAbstractItemView& view, CCarvedFilesModel& model, int every, const QString& title,
                      const QString& text) {
  QObject::connect(&model, &QAbstractItemModel::rowsInserted, &view,
                   [&view, every](const QModelIndex&, int first, int last) {
                     if ((last + 1) / every > first / every) view.scrollToBottom();
                   });
  QObject::connect(&model, &CCarvedFilesModel::Cleared, &view,
                   [&view, title, text] { ShowClearingNotice(view.window(), title, text); });
}

void ShowClearingNotice(QWidget* parent, const QString& title, const QString& text) {
  auto* notice = new QDialog(parent);
  notice->setAttribute(Qt::WA_DeleteOnClose);
  notice->setObjectName("clearing notice");
  notice->setWindowTitle(title);
  auto* layout = new QVBoxLayout(notice);
  auto* heading = new QLabel(title, notice);
  QFont bold = heading->font();
  bold.setBold(true);
  heading->setFont(bold);
  layout->addWidget(heading);
  auto* why = new QLabel(text, notice);
  why->setWordWrap(true);
  layout->addWidget(why);
  notice->show();
  // The search goes on meanwhile: the notice only tells why the pictures went.
  QTimer::singleShot(1000, notice, &QDialog::close);
}

}  // namespace pellora::gui
