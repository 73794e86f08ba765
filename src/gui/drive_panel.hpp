#pragma once

#include <QDialog>
#include <QPointer>
#include <QWidget>

#include <optional>

#include "app/program.hpp"

class QCheckBox;
class QTreeWidget;

namespace pellora::gui {

class CNoDeviceDlg;

// The drive tree of a mode window: the removable disks with their partitions and, with "Show
// Logical Drives" ticked, the volumes; the details rows of the selected item; "Refresh List" and
// "Open Disk Image..." (an image attached as a removable disk or volume, as a card in a reader).
class CDrivePanel final : public QWidget {
  Q_OBJECT

 public:
  CDrivePanel(Program& app, SearchMode mode, bool system_drives, QWidget* parent = nullptr);

  // Lists the drives again from the machine and the attached images.
  void Reload();
  // Shows what app.drive_listing holds (after a listing on a worker).
  void ShowListing();
  bool HasDrives() const;
  // Selects the first partition of the last disk listed, else the first drive.
  void SelectFirstDrive();
  void SetControlsEnabled(bool enabled);
  QTreeWidget* Tree() const { return tree_; }
  // Shows the listing with its first drive selected; when it holds none, the no-device window
  // (owned by owner) waits for one. False when the person gave up waiting.
  bool ShowDrivesOrWait(QWidget* owner);
  // A device arrived: the no-device window, when it is up, searches as its button does.
  void DeviceArrived();

 signals:
  void DrivesReloaded();

 private:
  void Selected();
  void OpenDiskImage();

  Program& app_;
  SearchMode mode_;
  bool system_drives_;
  QTreeWidget* tree_ = nullptr;
  QTreeWidget* details_ = nullptr;
  QCheckBox* logical_ = nullptr;
  QPointer<CNoDeviceDlg> no_device_;
};

// Shown when a mode window lists no drive: advice, "Search for drive..." (lists the drives again
// after 3 seconds and goes on when one is there) and "Back".
class CNoDeviceDlg final : public QDialog {
  Q_OBJECT

 public:
  explicit CNoDeviceDlg(CDrivePanel& drives, QWidget* parent = nullptr);
  // A device arrived: search as the button does.
  void Search();

 private:
  CDrivePanel& drives_;
  bool searching_ = false;
};

}  // namespace pellora::gui
