#include "drive_panel.hpp"

#include <functional>

#include <QCheckBox>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QStyle>
#include <QTimer>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>
#include <QVBoxLayout>

#include "app/attached_drives.hpp"
#include "app/load_drives.hpp"
#include "common/product.hpp"
#include "dialogs.hpp"
#include "storage/drive_details.hpp"

namespace pellora::gui {

namespace {
constexpr int kItemRole = Qt::UserRole + 1;

}  // namespace

CDrivePanel::CDrivePanel(Program& app, SearchMode mode, bool system_drives, QWidget* parent)
    : QWidget(parent), app_(app), mode_(mode), system_drives_(system_drives) {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  tree_ = new QTreeWidget(this);
  tree_->setObjectName("drives");
  tree_->setHeaderHidden(true);
  layout->addWidget(tree_, 3);
  details_ = new QTreeWidget(this);
  details_->setObjectName("details");
  details_->setColumnCount(2);
  details_->setHeaderLabels({"Details", ""});
  details_->setRootIsDecorated(false);
  details_->header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
  layout->addWidget(details_, 2);
  auto* row = new QHBoxLayout;
  logical_ = new QCheckBox("Show Logical Drives", this);
  logical_->setObjectName(logical_->text());
  logical_->setChecked(true);
  row->addWidget(logical_);
  row->addStretch();
  QPushButton* refresh = MakeButton("Refresh List", this);
  QPushButton* image = MakeButton("Open Disk Image...", this);
  row->addWidget(refresh);
  row->addWidget(image);
  layout->addLayout(row);

  connect(tree_, &QTreeWidget::itemSelectionChanged, this, &CDrivePanel::Selected);
  connect(refresh, &QPushButton::clicked, this, &CDrivePanel::Reload);
  connect(logical_, &QCheckBox::toggled, this, &CDrivePanel::Reload);
  connect(image, &QPushButton::clicked, this, &CDrivePanel::OpenDiskImage);
}

void CDrivePanel::Reload() {
  app_.reporter.Guarded("Reload disk...", "LD", "1F5",
                        [&] { LoadDrives(app_, mode_, system_drives_, logical_->isChecked()); });
  ShowListing();
  emit DrivesReloaded();
}

void CDrivePanel::ShowListing() {
  const QSignalBlocker quiet(tree_);
  tree_->clear();
  details_->clear();
  const DriveTree& drives = app_.drive_listing.tree;
  const std::function<void(int, QTreeWidgetItem*)> add = [&](int id, QTreeWidgetItem* parent) {
    auto* item = parent == nullptr ? new QTreeWidgetItem(tree_) : new QTreeWidgetItem(parent);
    const DriveItem& drive = drives.Item(id);
    item->setText(0, QString::fromStdString(drive.label));
    item->setData(0, kItemRole, id);
    const QStyle::StandardPixmap icon = drive.kind == DriveItemKind::kDisk        ? QStyle::SP_DriveHDIcon
                                        : drive.kind == DriveItemKind::kPartition ? QStyle::SP_DriveFDIcon
                                        : drive.kind == DriveItemKind::kVolume    ? QStyle::SP_DriveFDIcon
                                                                                  : QStyle::SP_ComputerIcon;
    item->setIcon(0, style()->standardIcon(icon));
    for (int child : drives.Children(id)) add(child, item);
  };
  add(drives.Top(), nullptr);
  tree_->expandAll();
}

bool CDrivePanel::HasDrives() const {
  const DriveTree& drives = app_.drive_listing.tree;
  for (int group : drives.Children(drives.Top()))
    if (!drives.Children(group).empty()) return true;
  return false;
}

bool CDrivePanel::ShowDrivesOrWait(QWidget* owner) {
  ShowListing();
  SelectFirstDrive();
  if (HasDrives()) return true;
  CNoDeviceDlg no_device(*this, owner);
  no_device_ = &no_device;
  const int answer = no_device.exec();
  no_device_ = nullptr;
  return answer == QDialog::Accepted;
}

void CDrivePanel::DeviceArrived() {
  if (no_device_) no_device_->Search();
}

void CDrivePanel::SelectFirstDrive() {
  const DriveListing& listing = app_.drive_listing;
  int wanted = listing.first_partition_item;
  if (!listing.tree.Valid(wanted)) {
    wanted = -1;
    for (int group : listing.tree.Children(listing.tree.Top()))
      for (int drive : listing.tree.Children(group))
        if (wanted < 0) wanted = drive;
  }
  if (wanted < 0) return;
  for (QTreeWidgetItemIterator it(tree_); *it; ++it)
    if ((*it)->data(0, kItemRole).toInt() == wanted) tree_->setCurrentItem(*it);
}

void CDrivePanel::SetControlsEnabled(bool enabled) {
  for (QWidget* control : findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly))
    if (control != details_) control->setEnabled(enabled);
}

void CDrivePanel::Selected() {
  details_->clear();
  const QList<QTreeWidgetItem*> selected = tree_->selectedItems();
  if (selected.isEmpty()) return;
  DriveListing& listing = app_.drive_listing;
  const int id = selected.front()->data(0, kItemRole).toInt();
  if (!listing.tree.Valid(id)) return;
  SelectDriveItem(listing, id);
  if (!listing.tree.details_notice.empty()) {
    auto* notice = new QTreeWidgetItem(details_);
    notice->setText(0, QString::fromStdString(listing.tree.details_notice).trimmed());
    notice->setFirstColumnSpanned(true);
  }
  for (const DetailRow& row : listing.tree.details) {
    auto* line = new QTreeWidgetItem(details_);
    line->setText(0, QString::fromStdString(row.label));
    line->setText(1, QString::fromStdString(row.value));
  }
}

void CDrivePanel::OpenDiskImage() {
  const QString file = QFileDialog::getOpenFileName(
      this, "Open Disk Image...", QString(), "Disk and volume images (*.img *.dd *.raw *.bin *.iso);;All files (*)");
  if (file.isEmpty()) return;
  QMessageBox kind(this);
  SetUpMessageBox(kind, QMessageBox::Question, ProductCaption(),
                  "Attach \"" + file +
                      "\" as a whole removable disk (with its partition table) or as one logical "
                      "volume?",
                  {"Removable Disk", "Logical Volume", "Cancel"}, 0);
  kind.exec();
  const int answer = ClickedButton(kind);
  if (answer != 0 && answer != 1) return;
  ImageArguments images;
  (answer == 0 ? images.disk_images : images.volume_images).push_back(file.toStdString());
  if (const std::string why = AttachImages(app_, images); !why.empty()) {
    Inform(this, QString::fromStdString(why));
    return;
  }
  Reload();
}

CNoDeviceDlg::CNoDeviceDlg(CDrivePanel& drives, QWidget* parent) : QDialog(parent), drives_(drives) {
  setWindowTitle(ProductCaption());
  setObjectName("CNoDeviceDlg");
  auto* layout = new QVBoxLayout(this);
  auto* text = new QLabel(
      QString("No removable drive was found.\n\nConnect your camera's memory card through a card reader, or plug in "
              "the USB stick, then click \u201cSearch for drive...\u201d. A disk image can be opened with \u201cOpen "
              "Disk Image...\u201d in the search window.\n\nPlease be adviced that Hard Disk Drives are NOT Removable "
              "storage media even if you connect them using USB port. If you have to recover data from your Hard Disk "
              "Drive, Please download any other relevant Data recovery software from our website: %1\n\nSupport: %2")
          .arg(FromView(kWebsite), FromView(kSupportEmail)),
      this);
  text->setWordWrap(true);
  text->setMinimumWidth(460);
  layout->addWidget(text);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  QPushButton* search = MakeButton("Search for drive...", this);
  QPushButton* back = MakeButton("Back", this);
  buttons->addWidget(search);
  buttons->addWidget(back);
  layout->addLayout(buttons);
  connect(search, &QPushButton::clicked, this, &CNoDeviceDlg::Search);
  connect(back, &QPushButton::clicked, this, &QDialog::reject);
}

void CNoDeviceDlg::Search() {
  if (searching_) return;
  searching_ = true;
  setCursor(Qt::BusyCursor);
  // A card just pushed in needs a moment before its partitions can be read.
  QTimer::singleShot(3000, this, [this] {
    drives_.Reload();
    searching_ = false;
    unsetCursor();
    if (drives_.HasDrives()) {
      drives_.SelectFirstDrive();
      accept();
    }
  });
}

}  // namespace pellora::gui
