#include "storage/device_map.hpp"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "storage/device_path.hpp"
#include "support/temp_dir.hpp"

namespace pellora {
namespace {

TEST(DevicePath, FormsAndParsing) {
  EXPECT_EQ(PhysicalDrivePath(3), "\\\\.\\PhysicalDrive3");
  EXPECT_EQ(VolumePath('E'), "\\\\.\\E:");
  EXPECT_EQ(ParsePhysicalDrivePath("\\\\.\\PhysicalDrive12"), 12);
  EXPECT_EQ(ParsePhysicalDrivePath("\\\\.\\PhysicalDrive"), std::nullopt);
  EXPECT_EQ(ParsePhysicalDrivePath("\\\\.\\PhysicalDrive1x"), std::nullopt);
  EXPECT_EQ(ParseVolumePath("\\\\.\\e:"), 'E');
  EXPECT_EQ(ParseVolumePath("\\\\.\\E:\\"), std::nullopt);
}

TEST(DeviceMap, ImagesTakeTheNextFreeNumberOrLetter) {
  test::TempDir dir;
  test::WriteFile(dir / "a.img", "a");
  test::WriteFile(dir / "b.img", "b");
  DeviceMap devices;
  devices.AddBlockDevice(PhysicalDrivePath(0), DeviceKind::kDisk, "/dev/null");
  EXPECT_EQ(devices.AttachDiskImage(dir / "a.img"), PhysicalDrivePath(1));
  EXPECT_EQ(devices.AttachDiskImage(dir / "b.img"), PhysicalDrivePath(2));
  EXPECT_EQ(devices.AttachVolumeImage(dir / "a.img"), VolumePath('D'));
  EXPECT_EQ(devices.AttachVolumeImage(dir / "b.img"), VolumePath('E'));

  devices.RemoveBlockDevices();
  EXPECT_FALSE(devices.Find(PhysicalDrivePath(0)));
  EXPECT_TRUE(devices.Find(PhysicalDrivePath(1)));
  EXPECT_TRUE(devices.Find(VolumePath('E')));
}

TEST(DeviceMap, ResolvesTheNamesPeopleUse) {
  test::TempDir dir;
  test::WriteFile(dir / "card.img", "x");
  test::WriteFile(dir / "volume.img", "y");
  DeviceMap devices;
  const std::string disk = devices.AttachDiskImage(dir / "card.img");
  const std::string volume = devices.AttachVolumeImage(dir / "volume.img");

  EXPECT_EQ(devices.ResolveName("disk:0"), disk);
  EXPECT_EQ(devices.ResolveName("vol:D"), volume);
  EXPECT_EQ(devices.ResolveName("vol:d"), volume);
  EXPECT_EQ(devices.ResolveName(disk), disk);
  EXPECT_EQ(devices.ResolveName((dir / "card.img").string()), disk);
  EXPECT_EQ(devices.ResolveName((dir / "." / "volume.img").string()), volume);
  for (const char* unknown : {"disk:1", "disk:", "disk:x", "vol:E", "vol:", "vol:1", "/no/such.img", ""})
    EXPECT_EQ(devices.ResolveName(unknown), std::nullopt) << unknown;
}

// A block device this user may not read: without a broker the open fails with the advice; with one
// (here standing in for the system service: it opens the node with the saved root rights) the
// drive reads. Run in a child that gives up root, since root may open anything.
TEST(DeviceMap, ABrokerOpensWhatThePersonMayNot) {
  if (::geteuid() != 0) GTEST_SKIP() << "needs root, to become another user in the child";
  test::TempDir dir;
  const auto node = dir / "sdz";
  const std::vector<std::byte> bytes = test::PatternBytes(4096);
  test::WriteBytes(node, bytes);
  ::chmod(node.c_str(), 0600);
  const auto child = [&] {
    if (::setegid(65534) != 0 || ::seteuid(65534) != 0) std::_Exit(2);
    DeviceMap plain;
    plain.AddBlockDevice(PhysicalDrivePath(1), DeviceKind::kDisk, node);
    int error = 0;
    if (plain.Open(PhysicalDrivePath(1), &error) || error != EACCES) std::_Exit(3);
    if (NoAccessAdvice(*plain.Find(PhysicalDrivePath(1)), error).find("disk group") == std::string::npos) std::_Exit(4);

    DeviceMap brokered;
    brokered.SetAccessBroker([](const std::filesystem::path& file, int* broker_error) {
      if (::seteuid(0) != 0) return -1;
      const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
      *broker_error = errno;
      if (::seteuid(65534) != 0) std::_Exit(5);
      return fd;
    });
    brokered.AddBlockDevice(PhysicalDrivePath(1), DeviceKind::kDisk, node);
    const std::unique_ptr<Source> source = brokered.Open(PhysicalDrivePath(1), &error);
    if (!source || source->SizeBytes() != bytes.size()) std::_Exit(6);
    std::vector<std::byte> read(512);
    if (!source->ReadAt(512, read).ok || !std::equal(read.begin(), read.end(), bytes.begin() + 512)) std::_Exit(7);
    std::_Exit(0);
  };
  EXPECT_EXIT(child(), ::testing::ExitedWithCode(0), "");
}

}  // namespace
}  // namespace pellora
