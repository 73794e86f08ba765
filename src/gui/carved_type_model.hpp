#pragma once

#include <QAbstractTableModel>
#include <QList>
#include <QString>

#include <initializer_list>
#include <utility>
#include <vector>

#include "carving/carved_type_table.hpp"
#include "qt_ui.hpp"

class QTableView;
class QWidget;

namespace pellora::gui {

// The types of a carving search with what was found of each: Photo Search's type table
// ("Extension", "Count", "Folder Name") and the type list of Video and Signature Search ("File
// Types", "No. of files found"). The search's own table belongs to its worker; this copy follows
// the files the window is told of and takes the worker's table when the search ends.
class CCarvedTypeModel final : public QAbstractTableModel {
  Q_OBJECT

 public:
  enum class Field { kTypeName, kFolderCount, kFolderName, kFilesFound };
  using Columns = std::vector<std::pair<QString, Field>>;

  CCarvedTypeModel(Columns columns, CarvedTypeTable table, QObject* parent = nullptr);

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

  void SetTable(CarvedTypeTable table);
  const CarvedTypeTable& Table() const { return table_; }
  // Counts finished files into their types' rows as the engine counted them.
  void Count(const QList<CarvedFile>& files);

 private:
  Columns columns_;
  CarvedTypeTable table_;
  CarvingPass pass_ = CarvingPass::kGeneral;
};

// A read-only table of the model whose columns are at least these widths (pixels at 96 dpi).
QTableView* MakeTypeTable(CCarvedTypeModel& model, const QString& name, std::initializer_list<int> widths,
                          QWidget* parent);

}  // namespace pellora::gui
