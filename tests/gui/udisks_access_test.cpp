// The UDisks2 client of the desktop program against a stand-in for the service on a private bus:
// the calls it makes, the descriptor it hands back, the consent asked for once per device, and a
// refusal that leaves the drive unopened.

#include <fcntl.h>
#include <unistd.h>

#include <QDBusConnection>
#include <QDBusContext>
#include <QDBusObjectPath>
#include <QDBusUnixFileDescriptor>
#include <QProcess>
#include <QStandardPaths>
#include <QTest>

#include <atomic>
#include <thread>

#include "support/temp_dir.hpp"
#include "udisks_access.hpp"

namespace pellora::test {

class FakeManager final : public QObject {
  Q_OBJECT
  Q_CLASSINFO("D-Bus Interface", "org.freedesktop.UDisks2.Manager")

 public:
  QString asked_path;

 public slots:
  QList<QDBusObjectPath> ResolveDevice(const QVariantMap& devspec, const QVariantMap&) {
    asked_path = devspec.value("path").toString();
    if (asked_path.endsWith("/sdz")) return {QDBusObjectPath("/org/freedesktop/UDisks2/block_devices/sdz")};
    return {QDBusObjectPath("/org/freedesktop/UDisks2/block_devices/sdy")};
  }
};

// A block device; the person says no to the one named sdy.
class FakeBlock final : public QObject, protected QDBusContext {
  Q_OBJECT
  Q_CLASSINFO("D-Bus Interface", "org.freedesktop.UDisks2.Block")

 public:
  FakeBlock(std::filesystem::path file, bool refuse) : file_(std::move(file)), refuse_(refuse) {}
  int opened = 0;
  QString mode;

 public slots:
  QDBusUnixFileDescriptor OpenDevice(const QString& asked_mode, const QVariantMap&) {
    mode = asked_mode;
    if (refuse_) {
      sendErrorReply(QDBusError::AccessDenied, "Not authorized to perform operation");
      return {};
    }
    ++opened;
    const int fd = ::open(file_.c_str(), O_RDONLY | O_CLOEXEC);
    QDBusUnixFileDescriptor descriptor(fd);
    ::close(fd);
    return descriptor;
  }

 private:
  std::filesystem::path file_;
  bool refuse_;
};

class UdisksAccessTests : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() {
    const QString daemon = QStandardPaths::findExecutable("dbus-daemon");
    if (daemon.isEmpty()) QSKIP("dbus-daemon is not installed");
    bus_.start(daemon, {"--session", "--nofork", "--print-address"});
    QVERIFY(bus_.waitForReadyRead(10000));
    const QByteArray address = bus_.readLine().trimmed();
    // The client talks to "the system bus": here, this private one.
    qputenv("DBUS_SYSTEM_BUS_ADDRESS", address);
    service_ = std::make_unique<QDBusConnection>(QDBusConnection::connectToBus(QString(address), "fake-udisks"));
    QVERIFY(service_->isConnected());
    QVERIFY(service_->registerService("org.freedesktop.UDisks2"));
  }

  void cleanupTestCase() {
    if (service_) QDBusConnection::disconnectFromBus("fake-udisks");
    bus_.kill();
    bus_.waitForFinished();
  }

  void TheServiceOpensTheDeviceOnceAndARefusalLeavesItClosed() {
    TempDir dir;
    const auto card = dir / "card.img";
    WriteBytes(card, PatternBytes(8192));
    FakeManager manager;
    FakeBlock sdz(card, false);
    FakeBlock sdy(card, true);
    QVERIFY(service_->registerObject("/org/freedesktop/UDisks2/Manager", &manager, QDBusConnection::ExportAllSlots));
    QVERIFY(
        service_->registerObject("/org/freedesktop/UDisks2/block_devices/sdz", &sdz, QDBusConnection::ExportAllSlots));
    QVERIFY(
        service_->registerObject("/org/freedesktop/UDisks2/block_devices/sdy", &sdy, QDBusConnection::ExportAllSlots));

    const AccessBroker broker = gui::UdisksAccessBroker();
    // Searches open drives on their workers; the service answers on this thread meanwhile.
    const auto open_on_worker = [&broker](const std::filesystem::path& node, int& error) {
      std::atomic<bool> done = false;
      int fd = -1;
      std::thread worker([&] {
        fd = broker(node, &error);
        done = true;
      });
      const bool answered = QTest::qWaitFor([&] { return done.load(); }, 20000);
      worker.join();
      return answered ? fd : -2;
    };

    int error = 0;
    const int first = open_on_worker("/dev/sdz", error);
    QVERIFY(first >= 0);
    QCOMPARE(manager.asked_path, QString("/dev/sdz"));
    QCOMPARE(sdz.mode, QString("r"));
    std::vector<std::byte> read(512);
    QCOMPARE(::pread(first, read.data(), read.size(), 512), ssize_t{512});
    const std::vector<std::byte> expected = PatternBytes(8192);
    QVERIFY(std::equal(read.begin(), read.end(), expected.begin() + 512));
    const int second = open_on_worker("/dev/sdz", error);
    QVERIFY(second >= 0 && second != first);
    QCOMPARE(sdz.opened, 1);  // consent is asked for once
    ::close(first);
    ::close(second);

    error = 0;
    QCOMPARE(open_on_worker("/dev/sdy", error), -1);
    QCOMPARE(error, EACCES);
    QCOMPARE(sdy.mode, QString("r"));
  }

 private:
  QProcess bus_;
  std::unique_ptr<QDBusConnection> service_;
};

}  // namespace pellora::test

QTEST_MAIN(pellora::test::UdisksAccessTests)
#include "udisks_access_test.moc"
