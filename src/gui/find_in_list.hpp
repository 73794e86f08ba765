#pragma once

#include <QDialog>

#include "model/result_tree.hpp"

class QLabel;
class QLineEdit;

namespace pellora::gui {

class CResultPanel;

// "Find in List": a name (or part of one) typed, "Find Next" selects the next match, first among
// the lines of the file list below the selected line, then among the folders of the result tree
// after the selected one (from the top again after the last). Letter case does not count.
class CFindInList final : public QDialog {
  Q_OBJECT

 public:
  CFindInList(CResultPanel& results, const ResultTree& tree, QWidget* parent = nullptr);
  // False when nothing matches.
  bool FindNext();

 private:
  bool FindInFileList(const QString& text);
  bool FindInTree(const QString& text);

  CResultPanel& results_;
  const ResultTree& tree_;
  QLineEdit* text_ = nullptr;
  QLabel* outcome_ = nullptr;
};

}  // namespace pellora::gui
