#include "thumbs_list.hpp"

#include <sys/resource.h>
#include <unistd.h>

#include <QApplication>
#include <QImageReader>
#include <QPainter>
#include <QStyle>

#include <algorithm>
#include <cmath>

namespace pellora::gui {

namespace {

// The decoding thread takes the time the search leaves: thumbnails may come late, the search must
// not. The lowest nice value still lets it go on when every core is busy.
void LowerThisThread() {
  static thread_local const bool lowered = ::setpriority(PRIO_PROCESS, static_cast<id_t>(::gettid()), 19) == 0;
  static_cast<void>(lowered);
}

// A thumbnail needs a few hundred kilobytes; a carved file that claims a picture needing more than
// this to decode is damaged or hostile, and gets the placeholder.
constexpr int kDecodeLimitMiB = 96;

QImage WhiteCanvas() {
  QImage canvas(kThumbnailWidth, kThumbnailHeight, QImage::Format_RGB32);
  canvas.fill(Qt::white);
  return canvas;
}

}  // namespace

QImage DecodeThumbnail(const QString& path) {
  QImageReader reader(path);
  reader.setAllocationLimit(kDecodeLimitMiB);
  const QSize size = reader.size();
  if (!size.isValid() || size.isEmpty()) return {};
  const double scale = std::min(static_cast<double>(kThumbnailWidth) / size.width(),
                                static_cast<double>(kThumbnailHeight) / size.height());
  const QSize fitted(std::max(1, static_cast<int>(std::lround(size.width() * scale))),
                     std::max(1, static_cast<int>(std::lround(size.height() * scale))));
  // The JPEG reader decodes at 1/2, 1/4 or 1/8 of the size when asked for a smaller picture.
  reader.setScaledSize(fitted);
  const QImage picture = reader.read();
  if (picture.isNull() || picture.width() <= 0 || picture.height() <= 0) return {};
  QImage canvas = WhiteCanvas();
  QPainter painter(&canvas);
  painter.setRenderHint(QPainter::SmoothPixmapTransform);
  const QRect target((kThumbnailWidth - fitted.width()) / 2, (kThumbnailHeight - fitted.height()) / 2, fitted.width(),
                     fitted.height());
  painter.drawImage(target, picture);
  return canvas;
}

CThumbsModel::CThumbsModel(QObject* parent) : CCarvedFilesModel(parent) {
  // One decoding thread: the search keeps the other core.
  decoder_.setMaxThreadCount(1);
  QImage canvas = WhiteCanvas();
  QPainter painter(&canvas);
  painter.setPen(QColor(190, 190, 190));
  painter.drawRect(0, 0, kThumbnailWidth - 1, kThumbnailHeight - 1);
  const QPixmap icon = QApplication::style()->standardIcon(QStyle::SP_FileIcon).pixmap(32, 32);
  painter.drawPixmap((kThumbnailWidth - icon.width()) / 2, (kThumbnailHeight - icon.height()) / 2, icon);
  painter.end();
  placeholder_ = QPixmap::fromImage(canvas);
}

CThumbsModel::~CThumbsModel() {
  ++generation_;
  decoder_.clear();
  decoder_.waitForDone();
}

bool CThumbsModel::Decoded(int row) const {
  return row >= 0 && row < static_cast<int>(thumbs_.size()) && thumbs_[row].state == State::kDone;
}

bool CThumbsModel::HasThumbnail(int row) const { return Decoded(row) && !thumbs_[row].pixmap.isNull(); }

QVariant CThumbsModel::Decoration(int row) const {
  const Thumb& thumb = thumbs_[static_cast<std::size_t>(row)];
  if (thumb.state == State::kWaiting) Request(row);
  return thumb.pixmap.isNull() ? placeholder_ : thumb.pixmap;
}

void CThumbsModel::Request(int row) const {
  thumbs_[static_cast<std::size_t>(row)].state = State::kDecoding;
  const QString path = File(row).path;
  const std::uint64_t generation = generation_.load();
  auto* self = const_cast<CThumbsModel*>(this);
  decoder_.start([self, path, row, generation] {
    // A list emptied meanwhile no longer shows this photo.
    if (self->generation_.load() != generation) return;
    LowerThisThread();
    const QImage image = DecodeThumbnail(path);
    QMetaObject::invokeMethod(
        self, [self, row, generation, image] { self->Finished(row, generation, image); }, Qt::QueuedConnection);
  });
}

void CThumbsModel::Finished(int row, std::uint64_t generation, const QImage& image) {
  if (generation != generation_.load() || row >= static_cast<int>(thumbs_.size())) return;
  Thumb& thumb = thumbs_[static_cast<std::size_t>(row)];
  thumb.state = State::kDone;
  // Pixmaps belong to the GUI thread.
  if (!image.isNull()) thumb.pixmap = QPixmap::fromImage(image);
  const QModelIndex changed = index(row);
  emit dataChanged(changed, changed, {Qt::DecorationRole});
}

void CThumbsModel::Appended(int first, int end) {
  thumbs_.resize(static_cast<std::size_t>(end));
  for (int row = first; row < end; ++row) thumbs_[static_cast<std::size_t>(row)] = {};
}

void CThumbsModel::Emptied() {
  ++generation_;
  decoder_.clear();
  thumbs_.clear();
}

CThumbsListCtrl::CThumbsListCtrl(QWidget* parent) : QListView(parent) {
  setObjectName("thumbnails");
  model_ = new CThumbsModel(this);
  setModel(model_);
  setViewMode(QListView::IconMode);
  setMovement(QListView::Static);
  setResizeMode(QListView::Adjust);
  setWrapping(true);
  setUniformItemSizes(true);
  setLayoutMode(QListView::Batched);
  setBatchSize(200);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setIconSize(QSize(kThumbnailWidth, kThumbnailHeight));
  const double dpi = logicalDpiX() / 96.0;
  const int cell = static_cast<int>(150 * dpi);
  setGridSize(QSize(cell, kThumbnailHeight + 2 * fontMetrics().height() + 12));
  setTextElideMode(Qt::ElideMiddle);
  // Five photos to a row.
  setMinimumWidth(5 * cell + style()->pixelMetric(QStyle::PM_ScrollBarExtent) + 2 * frameWidth() + 4);
  FollowCarvedList(*this, *model_, 4, "Clearing current preview window...",
                   "To maintain the speed of recovery, thumbnails preview window is cleared after every 2000 "
                   "thumbnails.");
  connect(this, &QAbstractItemView::doubleClicked, this, [this](const QModelIndex& index) {
    if (index.isValid()) emit OpenRequested(index.data(CCarvedFilesModel::kPathRole).toString());
  });
}

void CThumbsListCtrl::AddThumbnails(const QList<CarvedFile>& files) { model_->Append(files); }

void CThumbsListCtrl::Clear() { model_->Clear(); }

}  // namespace pellora::gui
