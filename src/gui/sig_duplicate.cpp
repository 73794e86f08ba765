#include "sig_duplicate.hpp"

#include <QApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListView>
#include <QMimeDatabase>
#include <QPainter>
#include <QPushButton>
#include <QStyle>
#include <QTableView>
#include <QVBoxLayout>

#include "carved_type_model.hpp"
#include "dialogs.hpp"

namespace pellora::gui {

namespace {

constexpr int kIconSize = 32;

// A page with a folded corner and the type's name on it, tinted by the name.
QIcon MarkedPage(const QString& type_name) {
  QPixmap page(kIconSize, kIconSize);
  page.fill(Qt::transparent);
  QPainter painter(&page);
  painter.setRenderHint(QPainter::Antialiasing);
  const QColor tint = QColor::fromHsv(static_cast<int>(qHash(type_name) % 360), 150, 200);
  QPolygonF outline({{5, 1}, {22, 1}, {28, 7}, {28, 31}, {5, 31}});
  painter.setPen(QPen(tint.darker(150), 1));
  painter.setBrush(Qt::white);
  painter.drawPolygon(outline);
  painter.setBrush(tint);
  painter.drawRect(QRectF(1, 15, 30, 11));
  QFont font = QApplication::font();
  font.setPixelSize(8);
  font.setBold(true);
  painter.setFont(font);
  painter.setPen(Qt::white);
  painter.drawText(QRectF(1, 15, 30, 11), Qt::AlignCenter, type_name.left(4));
  painter.end();
  return QIcon(page);
}

}  // namespace

CTypeChecklistModel::CTypeChecklistModel(std::shared_ptr<TypeChecklist> checklist, QObject* parent)
    : QAbstractTableModel(parent), checklist_(std::move(checklist)) {}

int CTypeChecklistModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(checklist_->Rows().size());
}

int CTypeChecklistModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : 2; }

QVariant CTypeChecklistModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= rowCount() || index.column() >= columnCount()) return {};
  const ChecklistRow& row = checklist_->Rows()[static_cast<std::size_t>(index.row())];
  if (role == Qt::DisplayRole) return QString::fromStdString(index.column() == 0 ? row.extension : row.description);
  if (role == Qt::CheckStateRole && index.column() == 0) return row.checked ? Qt::Checked : Qt::Unchecked;
  return {};
}

bool CTypeChecklistModel::setData(const QModelIndex& index, const QVariant& value, int role) {
  if (!index.isValid() || index.row() >= rowCount() || index.column() != 0 || role != Qt::CheckStateRole) return false;
  ChecklistRow* row = checklist_->Find(checklist_->Rows()[static_cast<std::size_t>(index.row())].extension);
  if (row == nullptr) return false;
  row->checked = value.toInt() == Qt::Checked;
  emit dataChanged(index, index, {Qt::CheckStateRole});
  return true;
}

Qt::ItemFlags CTypeChecklistModel::flags(const QModelIndex& index) const {
  if (!index.isValid()) return Qt::NoItemFlags;
  Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
  if (index.column() == 0) flags |= Qt::ItemIsUserCheckable;
  return flags;
}

QVariant CTypeChecklistModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
  if (section == 0) return QString("Extension");
  if (section == 1) return QString("Description");
  return {};
}

void CTypeChecklistModel::Refresh() {
  beginResetModel();
  endResetModel();
}

void CTypeChecklistModel::SetAll(bool checked) {
  checklist_->SetAll(checked);
  if (rowCount() > 0) emit dataChanged(index(0, 0), index(rowCount() - 1, 0), {Qt::CheckStateRole});
}

QIcon CFileTypeIcons::For(const QString& type_name) {
  const QString key = type_name.toUpper();
  if (const auto found = icons_.constFind(key); found != icons_.constEnd()) return *found;
  const QMimeType mime = QMimeDatabase().mimeTypeForFile("file." + key.toLower(), QMimeDatabase::MatchExtension);
  QIcon icon = QIcon::fromTheme(mime.iconName(), QIcon::fromTheme(mime.genericIconName()));
  if (icon.isNull()) icon = MarkedPage(key);
  icons_.insert(key, icon);
  return icon;
}

QVariant CRecoveredFilesModel::Decoration(int row) const { return icons_.For(File(row).type_name); }

CSigDuplicate::CSigDuplicate(Program& app, CQtUi& ui, bool system_drives, SearchMode mode, QWidget* parent)
    : CCarvingWindow(app, ui, system_drives, mode,
                     {{"File Types", CCarvedTypeModel::Field::kTypeName},
                      {"No. of files found", CCarvedTypeModel::Field::kFilesFound}},
                     parent),
      kind_(SignatureKindFor(app.definition_paths, mode)) {
  setObjectName("CSigDuplicate");
  auto* row = new QHBoxLayout;

  checklist_panel_ = new QWidget(this);
  auto* checklist_layout = new QVBoxLayout(checklist_panel_);
  checklist_layout->setContentsMargins(0, 0, 0, 0);
  checklist_model_ = new CTypeChecklistModel(checklist_, this);
  checklist_view_ = new QTableView(checklist_panel_);
  checklist_view_->setObjectName("extension checklist");
  checklist_view_->setModel(checklist_model_);
  checklist_view_->setSelectionMode(QAbstractItemView::NoSelection);
  checklist_view_->setShowGrid(false);
  checklist_view_->verticalHeader()->hide();
  checklist_view_->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
  const double dpi = logicalDpiX() / 96.0;
  checklist_view_->setColumnWidth(0, static_cast<int>(100 * dpi));
  checklist_view_->setColumnWidth(1, static_cast<int>(240 * dpi));
  checklist_view_->setMinimumWidth(static_cast<int>(360 * dpi));
  checklist_layout->addWidget(checklist_view_, 1);
  auto* ticks = new QHBoxLayout;
  QPushButton* all = MakeButton("Check All", checklist_panel_, ticks);
  QPushButton* none = MakeButton("Uncheck All", checklist_panel_, ticks);
  ticks->addStretch();
  checklist_layout->addLayout(ticks);
  // The checklist is shown once the drive and range are checked.
  checklist_panel_->hide();
  row->addWidget(checklist_panel_);

  type_list_ = MakeTypeTable(TypeModel(), "type list", {60, 100}, this);
  row->addWidget(type_list_);

  recovered_ = new CRecoveredFilesModel(this);
  recovered_view_ = new QListView(this);
  recovered_view_->setObjectName("recovered files");
  recovered_view_->setModel(recovered_);
  recovered_view_->setUniformItemSizes(true);
  recovered_view_->setLayoutMode(QListView::Batched);
  recovered_view_->setBatchSize(200);
  recovered_view_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  recovered_view_->setIconSize(QSize(24, 24));
  row->addWidget(recovered_view_, 1);
  FollowCarvedList(*recovered_view_, *recovered_, 10, "Clearing recovered file window...",
                   "To maintain the speed of recovery, recovered file window is cleared after every 2000 files.");
  ModeArea().addLayout(row, 1);

  connect(all, &QPushButton::clicked, this, [this] { checklist_model_->SetAll(true); });
  connect(none, &QPushButton::clicked, this, [this] { checklist_model_->SetAll(false); });
  connect(recovered_view_, &QAbstractItemView::doubleClicked, this, [this](const QModelIndex& index) {
    if (index.isValid()) OpenCarvedFile(index.data(CCarvedFilesModel::kPathRole).toString());
  });
}

void CSigDuplicate::SelectionChecked() {
  // Rows are only added before the first search; a frozen list just has its files read again.
  const DefinitionLoad load = FillTypeChecklist(kind_.general_file, kind_.advance_file, 0, *checklist_);
  if (!load.opened) {
    App().ui.ShowMessage(load.error);
    // A definition file gone from beside the program ends it, as at start-up.
    QMetaObject::invokeMethod(qApp, &QCoreApplication::quit, Qt::QueuedConnection);
    return;
  }
  checklist_->SortByExtension();
  checklist_model_->Refresh();
  // The descriptions are read whole: the column takes the longest.
  checklist_view_->resizeColumnToContents(1);
  checklist_view_->setMinimumWidth(checklist_view_->columnWidth(0) + checklist_view_->columnWidth(1) +
                                   style()->pixelMetric(QStyle::PM_ScrollBarExtent) +
                                   2 * checklist_view_->frameWidth() + 2);
  checklist_panel_->show();
}

CCarvingWindow::SearchRun CSigDuplicate::PrepareSearch(CarvingRequest&) {
  TypeModel().SetTable(CarvedTypeTable::ForChecklist(*checklist_));
  recovered_->Clear();
  Program& app = App();
  return [&app, kind = kind_, checklist = checklist_](const CarvingRequest& request, std::stop_token stop) {
    return RunSignatureSearch(app, kind, *checklist, request, std::move(stop));
  };
}

void CSigDuplicate::ListFiles(const QList<CarvedFile>& files) { recovered_->Append(files); }

void CSigDuplicate::SetModeControlsEnabled(bool enabled) { checklist_panel_->setEnabled(enabled); }

}  // namespace pellora::gui
