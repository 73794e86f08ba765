#include "udisks_access.hpp"

#include <fcntl.h>
#include <unistd.h>

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusUnixFileDescriptor>
#include <QDBusVariant>
#include <QVariantMap>

#include <cerrno>
#include <map>
#include <memory>
#include <mutex>

namespace pellora::gui {

namespace {

constexpr const char* kService = "org.freedesktop.UDisks2";
// The person may take a while to answer the authentication window.
constexpr int kTimeoutMs = 120'000;

// The object path UDisks2 gives a block device: its name with every character but a letter or a
// digit written as "_" and two hex digits.
QString BlockObjectPath(const std::filesystem::path& node) {
  QString path = "/org/freedesktop/UDisks2/block_devices/";
  for (const unsigned char c : node.filename().string()) {
    if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'))
      path += QChar(c);
    else
      path += QString("_%1").arg(c, 2, 16, QChar('0'));
  }
  return path;
}

QString ResolvedObjectPath(QDBusConnection& bus, const std::filesystem::path& node) {
  QDBusMessage resolve = QDBusMessage::createMethodCall(kService, "/org/freedesktop/UDisks2/Manager",
                                                        "org.freedesktop.UDisks2.Manager", "ResolveDevice");
  resolve << QVariantMap{{"path", QString::fromStdString(node.string())}} << QVariantMap{};
  const QDBusMessage reply = bus.call(resolve, QDBus::Block, 5000);
  if (reply.type() == QDBusMessage::ReplyMessage && !reply.arguments().isEmpty()) {
    const auto objects = qdbus_cast<QList<QDBusObjectPath>>(reply.arguments().front());
    if (!objects.isEmpty()) return objects.front().path();
  }
  return BlockObjectPath(node);  // services older than ResolveDevice
}

int OpenDevice(const std::filesystem::path& node, int* error) {
  QDBusConnection bus = QDBusConnection::systemBus();
  if (!bus.isConnected()) {
    *error = EACCES;
    return -1;
  }
  QDBusMessage open = QDBusMessage::createMethodCall(kService, ResolvedObjectPath(bus, node),
                                                     "org.freedesktop.UDisks2.Block", "OpenDevice");
  open << QString("r") << QVariantMap{};
  const QDBusMessage reply = bus.call(open, QDBus::Block, kTimeoutMs);
  if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty()) {
    *error = EACCES;
    return -1;
  }
  const auto descriptor = qdbus_cast<QDBusUnixFileDescriptor>(reply.arguments().front());
  // The message's descriptor closes with the message: keep a copy of our own.
  const int fd = descriptor.isValid() ? ::fcntl(descriptor.fileDescriptor(), F_DUPFD_CLOEXEC, 0) : -1;
  if (fd < 0) *error = descriptor.isValid() ? errno : EACCES;
  return fd;
}

struct OpenedNodes {
  std::mutex mutex;
  std::map<std::filesystem::path, int> descriptors;
  ~OpenedNodes() {
    for (const auto& [node, fd] : descriptors) ::close(fd);
  }
};

}  // namespace

AccessBroker UdisksAccessBroker() {
  auto opened = std::make_shared<OpenedNodes>();
  return [opened](const std::filesystem::path& node, int* error) {
    const std::lock_guard lock(opened->mutex);
    auto found = opened->descriptors.find(node);
    if (found == opened->descriptors.end()) {
      const int fd = OpenDevice(node, error);
      if (fd < 0) return -1;
      found = opened->descriptors.emplace(node, fd).first;
    }
    // Every source reads at its own offsets (pread), so copies of one descriptor do not meet.
    const int copy = ::fcntl(found->second, F_DUPFD_CLOEXEC, 0);
    if (copy < 0) *error = errno;
    return copy;
  };
}

}  // namespace pellora::gui
