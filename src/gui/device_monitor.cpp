#include "device_monitor.hpp"

#include <libudev.h>

#include <QSocketNotifier>

#include <cstring>

namespace pellora::gui {

namespace {
constexpr int kQuietMilliseconds = 700;
}

CDeviceMonitor::CDeviceMonitor(QObject* parent) : QObject(parent) {
  quiet_.setSingleShot(true);
  quiet_.setInterval(kQuietMilliseconds);
  connect(&quiet_, &QTimer::timeout, this, &CDeviceMonitor::Arrived);
  udev_ = udev_new();
  if (udev_ == nullptr) return;
  monitor_ = udev_monitor_new_from_netlink(udev_, "udev");
  if (monitor_ == nullptr || udev_monitor_filter_add_match_subsystem_devtype(monitor_, "block", nullptr) < 0 ||
      udev_monitor_enable_receiving(monitor_) < 0) {
    if (monitor_ != nullptr) udev_monitor_unref(monitor_);
    monitor_ = nullptr;
    return;
  }
  notifier_ = new QSocketNotifier(udev_monitor_get_fd(monitor_), QSocketNotifier::Read, this);
  connect(notifier_, &QSocketNotifier::activated, this, &CDeviceMonitor::Receive);
}

CDeviceMonitor::~CDeviceMonitor() {
  delete notifier_;
  if (monitor_ != nullptr) udev_monitor_unref(monitor_);
  if (udev_ != nullptr) udev_unref(udev_);
}

void CDeviceMonitor::Receive() {
  udev_device* device = udev_monitor_receive_device(monitor_);
  if (device == nullptr) return;
  const char* action = udev_device_get_action(device);
  const char* media_change = udev_device_get_property_value(device, "DISK_MEDIA_CHANGE");
  const bool arrival =
      action != nullptr &&
      (std::strcmp(action, "add") == 0 ||
       (std::strcmp(action, "change") == 0 && media_change != nullptr && std::strcmp(media_change, "1") == 0));
  udev_device_unref(device);
  if (arrival) quiet_.start();
}

}  // namespace pellora::gui
