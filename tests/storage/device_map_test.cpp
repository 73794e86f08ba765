#include "storage/device_map.hpp"

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

}  // namespace
}  // namespace pellora
