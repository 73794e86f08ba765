#include "find_in_list.hpp"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

#include <vector>

#include "dialogs.hpp"
#include "file_list_model.hpp"
#include "result_panel.hpp"
#include "result_tree_model.hpp"

namespace pellora::gui {

CFindInList::CFindInList(CResultPanel& results, const ResultTree& tree, QWidget* parent)
    : QDialog(parent), results_(results), tree_(tree) {
  setWindowTitle("Find in List");
  setObjectName("CFindInList");
  auto* layout = new QVBoxLayout(this);
  auto* row = new QHBoxLayout;
  auto* label = new QLabel("Find what:", this);
  text_ = new QLineEdit(this);
  text_->setObjectName("find what");
  text_->setMinimumWidth(260);
  label->setBuddy(text_);
  row->addWidget(label);
  row->addWidget(text_, 1);
  layout->addLayout(row);
  outcome_ = new QLabel(this);
  outcome_->setObjectName("find outcome");
  layout->addWidget(outcome_);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  QPushButton* next = MakeButton("Find Next", this, buttons);
  next->setDefault(true);
  QPushButton* close = MakeButton("Close", this, buttons);
  layout->addLayout(buttons);
  connect(next, &QPushButton::clicked, this, &CFindInList::FindNext);
  connect(text_, &QLineEdit::returnPressed, this, &CFindInList::FindNext);
  connect(close, &QPushButton::clicked, this, &QDialog::close);
}

bool CFindInList::FindNext() {
  const QString text = text_->text().trimmed();
  if (text.isEmpty()) return false;
  const bool found = FindInFileList(text) || FindInTree(text);
  outcome_->setText(found ? QString() : QString("\u201c%1\u201d was not found.").arg(text));
  return found;
}

bool CFindInList::FindInFileList(const QString& text) {
  QTableView& view = results_.Files();
  const int rows = view.model()->rowCount();
  for (int row = view.currentIndex().isValid() ? view.currentIndex().row() + 1 : 0; row < rows; ++row) {
    const QModelIndex name = view.model()->index(row, CFileListModel::kName);
    if (!name.data().toString().contains(text, Qt::CaseInsensitive)) continue;
    view.setCurrentIndex(name);
    view.selectRow(row);
    view.scrollTo(name);
    return true;
  }
  return false;
}

bool CFindInList::FindInTree(const QString& text) {
  // The folders in the order the tree shows them; no recursion, a recovered tree may be deep.
  std::vector<ItemId> order;
  std::vector<ItemId> pending(tree_.TopLevel().rbegin(), tree_.TopLevel().rend());
  while (!pending.empty()) {
    const ItemId item = pending.back();
    pending.pop_back();
    order.push_back(item);
    const std::vector<ItemId>& children = tree_.Children(item);
    pending.insert(pending.end(), children.rbegin(), children.rend());
  }
  if (order.empty()) return false;
  const ItemId current = CResultTreeModel::ItemOf(results_.Tree().currentIndex());
  std::size_t start = 0;
  for (std::size_t at = 0; at < order.size(); ++at)
    if (order[at] == current) start = at + 1;
  for (std::size_t step = 0; step < order.size(); ++step) {
    const ItemId item = order[(start + step) % order.size()];
    if (item == current || !QString::fromStdString(tree_.Title(item)).contains(text, Qt::CaseInsensitive)) continue;
    const QModelIndex index = results_.TreeModel().IndexOf(item);
    for (QModelIndex up = index.parent(); up.isValid(); up = up.parent()) results_.Tree().expand(up);
    results_.Tree().setCurrentIndex(index);
    results_.Tree().scrollTo(index);
    return true;
  }
  return false;
}

}  // namespace pellora::gui
