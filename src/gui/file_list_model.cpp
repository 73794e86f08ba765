#include "file_list_model.hpp"

#include <QApplication>
#include <QFileInfo>
#include <QMimeDatabase>
#include <QPalette>
#include <QStyle>

#include <algorithm>

#include "model/date_time_format.hpp"

namespace pellora::gui {

CFileListModel::CFileListModel(QObject* parent) : QAbstractTableModel(parent) {
  folder_icon_ = QApplication::style()->standardIcon(QStyle::SP_DirIcon);
}

void CFileListModel::SetRows(std::vector<FileListRow> rows) {
  beginResetModel();
  rows_ = std::move(rows);
  SortRows();
  endResetModel();
}

void CFileListModel::sort(int column, Qt::SortOrder order) {
  if (column < 0 || column >= kColumnCount) return;
  sort_column_ = column;
  sort_order_ = order;
  emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
  SortRows();
  emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

void CFileListModel::SortRows() {
  // Text columns compare case-insensitively; the keys are folded once, not at every comparison.
  std::vector<QString> keys(rows_.size());
  const bool text = sort_column_ == kName || sort_column_ == kType || sort_column_ == kShortName;
  if (text) {
    for (std::size_t i = 0; i < rows_.size(); ++i) {
      const FileListRow& row = rows_[i];
      const std::string& value = sort_column_ == kName ? row.name : sort_column_ == kType ? row.type : row.short_name;
      keys[i] = QString::fromStdString(value).toCaseFolded();
    }
  }
  const auto number = [this](const FileListRow& row) -> std::uint64_t {
    switch (sort_column_) {
      case kDate:
        return DateOrder(row.date);
      case kSize:
        return row.size;
      case kSelf:
        return row.self;
      case kParent:
        return row.parent;
      case kTreeItem:
        return row.tree_item;
      default:
        return 0;
    }
  };
  std::vector<std::size_t> order(rows_.size());
  for (std::size_t i = 0; i < order.size(); ++i) order[i] = i;
  const bool descending = sort_order_ == Qt::DescendingOrder;
  std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
    const FileListRow& x = rows_[a];
    const FileListRow& y = rows_[b];
    if (x.IsFolder() != y.IsFolder()) return x.IsFolder();
    int compared = 0;
    if (text) {
      compared = keys[a].compare(keys[b]);
    } else if (sort_column_ == kTime) {
      compared = x.time.compare(y.time);
    } else {
      const std::uint64_t u = number(x);
      const std::uint64_t v = number(y);
      compared = u < v ? -1 : u > v ? 1 : 0;
    }
    return descending ? compared > 0 : compared < 0;
  });
  std::vector<FileListRow> sorted;
  sorted.reserve(rows_.size());
  for (std::size_t i : order) sorted.push_back(std::move(rows_[i]));
  rows_ = std::move(sorted);
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
  if (role == Qt::DisplayRole) {
    switch (column) {
      case kName:
        return QString::fromStdString(row.name);
      case kType:
        return QString::fromStdString(row.type);
      case kSize:
        return QString::fromStdString(row.SizeText());
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
