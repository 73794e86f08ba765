#include "carved_type_model.hpp"

#include <QHeaderView>
#include <QStyle>
#include <QTableView>

#include <algorithm>
#include <filesystem>

namespace pellora::gui {

CCarvedTypeModel::CCarvedTypeModel(Columns columns, CarvedTypeTable table, QObject* parent)
    : QAbstractTableModel(parent), columns_(std::move(columns)), table_(std::move(table)) {}

int CCarvedTypeModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(table_.Rows().size());
}

int CCarvedTypeModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(columns_.size());
}

QVariant CCarvedTypeModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= rowCount() || index.column() >= columnCount()) return {};
  if (role != Qt::DisplayRole) return {};
  const CarvedTypeRow& row = table_.Rows()[static_cast<std::size_t>(index.row())];
  switch (columns_[static_cast<std::size_t>(index.column())].second) {
    case Field::kTypeName:
      return QString::fromStdString(row.type_name);
    case Field::kFolderCount:
      return QString::number(row.folder_count);
    case Field::kFolderName:
      return QString::fromStdString(row.folder_name);
    case Field::kFilesFound:
      return QString::number(row.files_found);
  }
  return {};
}

QVariant CCarvedTypeModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section >= columnCount()) return {};
  return columns_[static_cast<std::size_t>(section)].first;
}

void CCarvedTypeModel::SetTable(CarvedTypeTable table) {
  beginResetModel();
  table_ = std::move(table);
  pass_ = CarvingPass::kGeneral;
  endResetModel();
}

void CCarvedTypeModel::Count(const QList<CarvedFile>& files) {
  if (files.isEmpty()) return;
  // Counted into a copy: a type the table did not know yet adds a row, which the views learn of
  // as a reset.
  CarvedTypeTable counted = table_;
  for (const CarvedFile& file : files) {
    // A carved file lies in <mode folder>/<General or Omitted>/<its type's folder>/.
    const std::filesystem::path folder = std::filesystem::path(file.path.toStdString()).parent_path();
    const CarvingPass pass =
        folder.parent_path().filename() == "Omitted" ? CarvingPass::kThorough : CarvingPass::kGeneral;
    if (pass != pass_) {
      pass_ = pass;
      counted.ResetFolders();
    }
    CarvedTypeRow& row = counted.Row(counted.RowFor(file.type_name.toStdString()));
    const std::string folder_name = folder.filename().string();
    if (row.folder_name != folder_name) {
      row.folder_name = folder_name;
      row.folder_count = 1;
    } else {
      ++row.folder_count;
    }
    ++row.files_found;
    ++row.files_per_pass[static_cast<std::size_t>(pass)];
    row.last_file_name = file.name.toStdString();
    row.last_file_path = file.path.toStdString();
  }
  if (counted.Rows().size() != table_.Rows().size()) {
    beginResetModel();
    table_ = std::move(counted);
    endResetModel();
    return;
  }
  table_ = std::move(counted);
  emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1), {Qt::DisplayRole});
}

QTableView* MakeTypeTable(CCarvedTypeModel& model, const QString& name, std::initializer_list<int> widths,
                          QWidget* parent) {
  auto* table = new QTableView(parent);
  table->setObjectName(name);
  table->setModel(&model);
  table->setSelectionMode(QAbstractItemView::NoSelection);
  table->setEditTriggers(QAbstractItemView::NoEditTriggers);
  table->setShowGrid(false);
  table->verticalHeader()->hide();
  table->verticalHeader()->setDefaultSectionSize(table->fontMetrics().height() + 6);
  const double dpi = table->logicalDpiX() / 96.0;
  int total = 0;
  int column = 0;
  for (const int width : widths) {
    const int wanted = std::max(static_cast<int>(width * dpi), table->horizontalHeader()->sectionSizeHint(column));
    table->setColumnWidth(column++, wanted);
    total += wanted;
  }
  table->horizontalHeader()->setStretchLastSection(true);
  table->setMinimumWidth(total + 2 * table->frameWidth() + table->style()->pixelMetric(QStyle::PM_ScrollBarExtent));
  return table;
}

}  // namespace pellora::gui
