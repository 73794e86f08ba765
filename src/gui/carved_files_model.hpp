#pragma once

#include <QAbstractListModel>
#include <QString>

#include <vector>

#include "qt_ui.hpp"

class QAbstractItemView;
class QWidget;

namespace pellora::gui {

// The thumbnail list and the recovered-file list never hold more than this many files.
inline constexpr int kCarvedListLimit = 2000;

// The files a carving search finished, newest last, as the thumbnail list and the recovered-file
// list show them. A file that finds the list full empties it first (Cleared), so a long search
// keeps the window quick.
class CCarvedFilesModel : public QAbstractListModel {
  Q_OBJECT

 public:
  enum Role { kPathRole = Qt::UserRole + 1, kTypeRole };

  explicit CCarvedFilesModel(QObject* parent = nullptr);

  int rowCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;

  void Append(const QList<CarvedFile>& files);
  void Clear();
  const CarvedFile& File(int row) const { return files_[static_cast<std::size_t>(row)]; }

 signals:
  // The list was full and has been emptied to take the next file.
  void Cleared();

 protected:
  // The picture of a row: a thumbnail, or the icon of the file's type.
  virtual QVariant Decoration(int row) const = 0;
  // Rows [first, end) were appended; every row went (called before the views learn of either).
  virtual void Appended(int first, int end) = 0;
  virtual void Emptied() = 0;

 private:
  std::vector<CarvedFile> files_;
};

// A view of such a list: the newest files scrolled into view after every `every` appended, and the
// notice (title, text) when the full list is emptied.
void FollowCarvedList(QAbstractItemView& view, CCarvedFilesModel& model, int every, const QString& title,
                      const QString& text);

// The small notice shown while a full list is emptied; it goes by itself after a second.
void ShowClearingNotice(QWidget* parent, const QString& title, const QString& text);

}  // namespace pellora::gui
