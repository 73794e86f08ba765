#pragma once

#include <QDialog>
#include <QString>

#include <functional>

#include "common/ui.hpp"

class QCheckBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QStackedWidget;

namespace pellora::gui {

class CQtUi;

// "Save As": the destination folder of a save, with "Browse", "OK" and "Cancel". OK runs check
// (which says why a folder is refused) and closes only when it passes.
class CDestinationDlg final : public QDialog {
  Q_OBJECT

 public:
  using Check = std::function<bool(const QString& folder)>;
  CDestinationDlg(const QString& initial, Check check, QWidget* parent = nullptr);
  QString Folder() const;

 private:
  void Browse();
  Check check_;
  QLineEdit* folder_ = nullptr;
};

// "Replace File Confirmation": a file to save exists already.
class CReplaceDlg final : public QDialog {
  Q_OBJECT

 public:
  CReplaceDlg(const QString& existing, const QString& proposed, QWidget* parent = nullptr);
  ReplaceAnswer Answer() const { return answer_; }

 private:
  ReplaceAnswer answer_{.choice = ReplaceChoice::kCancel, .apply_to_all = false, .new_path = {}};
};

// "Destination Path too long": ignore the item, move it to the miscellaneous folder or save it
// under another folder.
class CDest_Path_Too_Long final : public QDialog {
  Q_OBJECT

 public:
  explicit CDest_Path_Too_Long(const QString& path, QWidget* parent = nullptr);
  LongPathAnswer Answer() const { return answer_; }

 private:
  LongPathAnswer answer_;
};

// The count window and then "Saving Files...": what the save worker reports, "Skip" and "Stop".
// It closes itself when the saving worker has ended (running tells).
class CSavingDlg final : public QDialog {
  Q_OBJECT

 public:
  CSavingDlg(CQtUi& ui, std::function<bool()> running, QWidget* parent = nullptr);

  void reject() override;  // the close box asks as "Stop" does; Escape does nothing

 signals:
  void Finished();

 private:
  void Show(const SaveProgress& progress);
  void AskStop();

  CQtUi& ui_;
  std::function<bool()> running_;
  QStackedWidget* pages_ = nullptr;
  QLabel* count_files_ = nullptr;
  QLabel* count_folders_ = nullptr;
  QLabel* file_name_ = nullptr;
  QLabel* file_path_ = nullptr;
  QLabel* file_bytes_ = nullptr;
  QLabel* files_ = nullptr;
  QLabel* folders_ = nullptr;
  QLabel* invalid_ = nullptr;
  QLabel* totals_ = nullptr;
  QProgressBar* file_bar_ = nullptr;
  QProgressBar* files_bar_ = nullptr;
  QProgressBar* folders_bar_ = nullptr;
  bool asking_ = false;
};

}  // namespace pellora::gui
