#include "file_list_model.hpp"

#include <QApplication>
#include <QFileInfo>
#include <QMimeDatabase>
#include <QPalette>
#include <QStyle>

namespace pellora::gui {

CFileListModel::CFileListModel(QObject* parent) : QAbstractTableModel(parent) {
  folder_icon_ = QApplication::style()->standardIcon(QStyle::SP_DirIcon);
}

void CFileListModel::SetRows(std::vector<FileListRow> rows) {
  beginResetModel();
  rows_ = std::move(rows);
  endResetModel();
}

int CFileListModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int CFileListModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : kColumnCount; }

QIcon CFileListModel::IconFor(const FileListRow& row) const {
  if (row.IsFolder()) return folder_icon_;
  const QString extension = QFileInfo(QString::fromStdString(row.name)).suffix().toLower();
  auto found = icons_.find(extension);
  if (found != icons_.end()) return *found;
  static const QMimeDatabase mime_types;
  const QMimeType type = mime_types.mimeTypeForFile("x." + extension, QMimeDatabase::MatchExtension);
  QIcon icon = QIcon::fromTheme(type.iconName(), QIcon::fromTheme(type.genericIconName()));
  if (icon.isNull()) icon = QApplication::style()->standardIcon(QStyle::SP_FileIcon);
  return *icons_.insert(extension, icon);
}

QVariant CFileListModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= rowCount()) return {};
  const FileListRow& row = Row(index.row());
  const int column = index.column();
  if (role == Qt::DisplayRole || role == kSortRole) {
    const bool sorting = role == kSortRole;
    switch (column) {
      case kName:
        // Folders stay above files whichever way the names are sorted.
        return sorting ? QString(row.IsFolder() ? "0" : "1") + QString::fromStdString(row.name).toLower()
                       : QString::fromStdString(row.name);
      case kType:
        return QString::fromStdString(row.type);
      case kSize:
        return sorting ? QVariant(static_cast<qulonglong>(row.size)) : QVariant(QString::fromStdString(row.SizeText()));
      case kDate:
        return QString::fromStdString(row.date);
      case kTime:
        return QString::fromStdString(row.time);
      case kSelf:
        return static_cast<qulonglong>(row.self);
      case kParent:
        return static_cast<qulonglong>(row.parent);
      case kTreeItem:
        return static_cast<qulonglong>(row.tree_item);
      case kShortName:
        return QString::fromStdString(row.short_name);
      default:
        return {};
    }
  }
  if (role == Qt::DecorationRole && column == kName) return IconFor(row);
  if (role == Qt::TextAlignmentRole && column == kSize) return QVariant(Qt::AlignRight | Qt::AlignVCenter);
  if (role == Qt::ForegroundRole && row.deleted) return QApplication::palette().brush(QPalette::PlaceholderText);
  if (role == Qt::ToolTipRole && row.deleted) return QString("Deleted");
  return {};
}

QVariant CFileListModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
  static const char* const kTitles[kColumnCount] = {"Name",
                                                    "Type",
                                                    "Size",
                                                    "Date",
                                                    "Time",
                                                    "SelfCluster-Debug Info 1",
                                                    "ParentCluster-Debug Info 2",
                                                    "TreeItem-Debug Info 3",
                                                    "SFN"};
  return section >= 0 && section < kColumnCount ? QString(kTitles[section]) : QVariant();
}

}  // namespace pellora::gui
