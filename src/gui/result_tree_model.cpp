#include "result_tree_model.hpp"

#include <QApplication>
#include <QHeaderView>
#include <QStyle>

namespace pellora::gui {

CResultTreeModel::CResultTreeModel(ResultTree& tree, QObject* parent) : QAbstractItemModel(parent), tree_(tree) {
  root_icon_ = QApplication::style()->standardIcon(QStyle::SP_DriveHDIcon);
  folder_icon_ = QApplication::style()->standardIcon(QStyle::SP_DirIcon);
  Reset();
}

void CResultTreeModel::Suspend() {
  beginResetModel();
  suspended_ = true;
  row_of_.clear();
  endResetModel();
}

void CResultTreeModel::Reset() {
  beginResetModel();
  suspended_ = false;
  row_of_.assign(tree_.Size() + 1, 0);
  const auto number = [this](const std::vector<ItemId>& items) {
    for (std::size_t row = 0; row < items.size(); ++row) row_of_[items[row]] = static_cast<int>(row);
  };
  number(tree_.TopLevel());
  for (ItemId item = 1; item <= tree_.Size(); ++item) number(tree_.Children(item));
  endResetModel();
}

const std::vector<ItemId>& CResultTreeModel::ChildrenOf(ItemId item) const {
  return item == kNoItem ? tree_.TopLevel() : tree_.Children(item);
}

QModelIndex CResultTreeModel::IndexOf(ItemId item) const {
  if (suspended_ || !tree_.Contains(item) || item >= row_of_.size()) return {};
  return createIndex(row_of_[item], 0, static_cast<quintptr>(item));
}

QModelIndex CResultTreeModel::index(int row, int column, const QModelIndex& parent) const {
  if (column != 0 || row < 0 || suspended_) return {};
  const std::vector<ItemId>& children = ChildrenOf(ItemOf(parent));
  if (static_cast<std::size_t>(row) >= children.size()) return {};
  return createIndex(row, 0, static_cast<quintptr>(children[static_cast<std::size_t>(row)]));
}

QModelIndex CResultTreeModel::parent(const QModelIndex& child) const {
  const ItemId item = ItemOf(child);
  if (!tree_.Contains(item)) return {};
  return IndexOf(tree_.Parent(item));
}

int CResultTreeModel::rowCount(const QModelIndex& parent) const {
  if (parent.column() > 0 || suspended_) return 0;
  const ItemId item = ItemOf(parent);
  if (item != kNoItem && !tree_.Contains(item)) return 0;
  return static_cast<int>(ChildrenOf(item).size());
}

int CResultTreeModel::columnCount(const QModelIndex&) const { return 1; }

QVariant CResultTreeModel::data(const QModelIndex& index, int role) const {
  const ItemId item = ItemOf(index);
  if (!tree_.Contains(item)) return {};
  switch (role) {
    case Qt::DisplayRole:
      return QString::fromStdString(tree_.Title(item));
    case Qt::DecorationRole:
      return tree_.Image(item) == kRootImage ? root_icon_ : folder_icon_;
    case Qt::CheckStateRole:
      switch (tree_.Check(item)) {
        case CheckState::kChecked:
          return Qt::Checked;
        case CheckState::kPartlyChecked:
          return Qt::PartiallyChecked;
        case CheckState::kUnchecked:
          return Qt::Unchecked;
      }
      return Qt::Unchecked;
    default:
      return {};
  }
}

bool CResultTreeModel::setData(const QModelIndex& index, const QVariant& value, int role) {
  const ItemId item = ItemOf(index);
  if (role != Qt::CheckStateRole || !tree_.Contains(item)) return false;
  tree_.SetChecked(item, value.value<Qt::CheckState>() != Qt::Unchecked);
  AnnounceSubtree(item);
  for (ItemId up = tree_.Parent(item); up != kNoItem; up = tree_.Parent(up)) {
    const QModelIndex at = IndexOf(up);
    emit dataChanged(at, at, {Qt::CheckStateRole});
  }
  emit CheckStatesChanged();
  return true;
}

void CResultTreeModel::AnnounceSubtree(ItemId item) {
  const QModelIndex at = IndexOf(item);
  emit dataChanged(at, at, {Qt::CheckStateRole});
  const std::vector<ItemId>& children = tree_.Children(item);
  if (children.empty()) return;
  emit dataChanged(IndexOf(children.front()), IndexOf(children.back()), {Qt::CheckStateRole});
  for (ItemId child : children)
    if (!tree_.Children(child).empty()) AnnounceSubtree(child);
}

void CResultTreeModel::TitlesChanged(ItemId parent) {
  const std::vector<ItemId>& children = ChildrenOf(parent);
  if (children.empty()) return;
  emit dataChanged(IndexOf(children.front()), IndexOf(children.back()), {Qt::DisplayRole});
}

Qt::ItemFlags CResultTreeModel::flags(const QModelIndex& index) const {
  if (!index.isValid()) return Qt::NoItemFlags;
  return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable;
}

QVariant CResultTreeModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (section == 0 && orientation == Qt::Horizontal && role == Qt::DisplayRole) return QString("Recovered Folders");
  return {};
}

CTreeClass::CTreeClass(QWidget* parent) : QTreeView(parent) {
  setObjectName("results");
  setHeaderHidden(true);
  setUniformRowHeights(true);  // no measuring of 100,000 rows
  setSelectionMode(QAbstractItemView::SingleSelection);
  setContextMenuPolicy(Qt::CustomContextMenu);
}

}  // namespace pellora::gui
