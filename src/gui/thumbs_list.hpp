#pragma once

#include <QImage>
#include <QListView>
#include <QPixmap>
#include <QThreadPool>

#include <atomic>
#include <cstdint>
#include <vector>

#include "carved_files_model.hpp"

namespace pellora::gui {

// The size of a thumbnail.
inline constexpr int kThumbnailWidth = 115;
inline constexpr int kThumbnailHeight = 80;

// A photo as its thumbnail: scaled to fit 115 x 80 and centred on white. A file that does not
// decode, or would need more memory than a thumbnail deserves, gives a null image. JPEG files are
// decoded at a reduced size straight away. Safe on any thread.
QImage DecodeThumbnail(const QString& path);

// The photos of the thumbnail list. A row's picture is decoded when a view first asks for it, on
// a thread of its own; the placeholder stands in until then and for a file that does not decode.
class CThumbsModel final : public CCarvedFilesModel {
  Q_OBJECT

 public:
  explicit CThumbsModel(QObject* parent = nullptr);
  ~CThumbsModel() override;

  // The row's thumbnail has been decoded (true for a damaged file too, which keeps the placeholder).
  bool Decoded(int row) const;
  bool HasThumbnail(int row) const;
  const QPixmap& Placeholder() const { return placeholder_; }

 protected:
  QVariant Decoration(int row) const override;
  void Appended(int first, int end) override;
  void Emptied() override;

 private:
  enum class State : std::uint8_t { kWaiting, kDecoding, kDone };
  struct Thumb {
    State state = State::kWaiting;
    QPixmap pixmap;  // null: the placeholder
  };

  void Request(int row) const;
  void Finished(int row, std::uint64_t generation, const QImage& image);

  mutable std::vector<Thumb> thumbs_;
  QPixmap placeholder_;
  // Which filling of the list a decoded picture belongs to; an emptied list takes none of before.
  std::atomic<std::uint64_t> generation_{0};
  mutable QThreadPool decoder_;
};

// The thumbnail list of Photo Search: the photos as 115 x 80 pictures with their names, five to a
// row, the newest scrolled into view. A double-click asks to open the photo.
class CThumbsListCtrl final : public QListView {
  Q_OBJECT

 public:
  explicit CThumbsListCtrl(QWidget* parent = nullptr);

  CThumbsModel& Model() const { return *model_; }
  // Appends what the search finished; a full list is emptied first, with its notice.
  void AddThumbnails(const QList<CarvedFile>& files);
  void Clear();

 signals:
  void OpenRequested(const QString& path);

 private:
  CThumbsModel* model_ = nullptr;
};

}  // namespace pellora::gui
