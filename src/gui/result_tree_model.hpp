#pragma once

#include <QAbstractItemModel>
#include <QIcon>
#include <QTreeView>

#include <vector>

#include "model/result_tree.hpp"

namespace pellora::gui {

// The result tree of a search as a Qt model: tree item numbers are the internal ids, check boxes
// are the tree's own (ticking a folder ticks everything below it and updates its ancestors).
class CResultTreeModel final : public QAbstractItemModel {
  Q_OBJECT

 public:
  // tree is read again on every Reset(); it must not change behind the model's back otherwise.
  explicit CResultTreeModel(ResultTree& tree, QObject* parent = nullptr);

  // The tree was replaced or rebuilt (a search began or ended).
  void Reset();
  // Shows nothing and reads nothing of the tree until the next Reset(): a worker replaces it.
  void Suspend();
  QModelIndex IndexOf(ItemId item) const;
  static ItemId ItemOf(const QModelIndex& index) { return index.isValid() ? index.internalId() : kNoItem; }
  // A title changed below parent (folders named when their directory was read).
  void TitlesChanged(ItemId parent);

  QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
  QModelIndex parent(const QModelIndex& child) const override;
  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  bool setData(const QModelIndex& index, const QVariant& value, int role) override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

 signals:
  void CheckStatesChanged();

 private:
  const std::vector<ItemId>& ChildrenOf(ItemId item) const;
  void AnnounceSubtree(ItemId item);

  ResultTree& tree_;
  bool suspended_ = false;
  std::vector<int> row_of_;  // item n's row among its siblings at index n
  QIcon root_icon_;
  QIcon folder_icon_;
};

// The tree control of the search windows.
class CTreeClass final : public QTreeView {
  Q_OBJECT

 public:
  explicit CTreeClass(QWidget* parent = nullptr);
};

}  // namespace pellora::gui
