#pragma once

#include <QAbstractTableModel>
#include <QHash>
#include <QIcon>

#include <vector>

#include "model/file_list.hpp"

namespace pellora::gui {

// The file list of the selected folder: the rows the core listed, in its columns. The last four
// columns are kept for support and for the folder lines' tree items; the view hides them.
class CFileListModel final : public QAbstractTableModel {
  Q_OBJECT

 public:
  enum Column { kName, kType, kSize, kDate, kTime, kSelf, kParent, kTreeItem, kShortName, kColumnCount };
  static constexpr int kFirstHiddenColumn = kSelf;

  explicit CFileListModel(QObject* parent = nullptr);

  void SetRows(std::vector<FileListRow> rows);
  const std::vector<FileListRow>& Rows() const { return rows_; }
  const FileListRow& Row(int row) const { return rows_.at(static_cast<std::size_t>(row)); }

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
  // Sorts the rows themselves (no proxy: 100,000 rows sort on typed fields, not on QVariants);
  // folders stay above files. The order is kept for the next folder's rows.
  void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;

 private:
  QIcon IconFor(const FileListRow& row) const;

  void SortRows();

  std::vector<FileListRow> rows_;
  int sort_column_ = kName;
  Qt::SortOrder sort_order_ = Qt::AscendingOrder;
  QIcon folder_icon_;
  mutable QHash<QString, QIcon> icons_;  // one icon per extension
};

}  // namespace pellora::gui
