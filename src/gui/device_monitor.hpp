#pragma once

#include <QObject>
#include <QTimer>

struct udev;
struct udev_monitor;
class QSocketNotifier;

namespace pellora::gui {

// Block devices arriving: a card pushed into a reader, a stick plugged in, new media in a reader
// that stays plugged. Events come in bursts (a disk, then each partition), so one Arrived follows
// a quiet moment after the last of them.
class CDeviceMonitor final : public QObject {
  Q_OBJECT

 public:
  explicit CDeviceMonitor(QObject* parent = nullptr);
  ~CDeviceMonitor() override;
  CDeviceMonitor(const CDeviceMonitor&) = delete;
  CDeviceMonitor& operator=(const CDeviceMonitor&) = delete;

  // False when udev could not be asked (no udev in a container); the program then only finds
  // drives on "Search for drive..." and "Refresh List".
  bool Watching() const { return monitor_ != nullptr; }

 signals:
  void Arrived();

 private:
  void Receive();

  udev* udev_ = nullptr;
  udev_monitor* monitor_ = nullptr;
  QSocketNotifier* notifier_ = nullptr;
  QTimer quiet_;
};

}  // namespace pellora::gui
