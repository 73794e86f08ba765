#include "storage/system_drives.hpp"

#include <sys/inotify.h>
#include <unistd.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "app/load_drives.hpp"
#include "storage/bus_type.hpp"
#include "storage/device_path.hpp"
#include "storage/drive_details.hpp"
#include "support/fake_sysfs.hpp"
#include "support/memory_disk.hpp"
#include "support/scripted_ui.hpp"
#include "support/temp_dir.hpp"

namespace pellora {
namespace {

using test::FakeSysfs;
using ::testing::ElementsAre;

// A machine with a SATA system disk, a fixed USB hard disk, an empty USB card reader slot, an SD
// card reader holding the sample card, and a loop device.
class SystemDrivesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    sysfs_.AddDisk({.name = "sda",
                    .device_path = "pci0000:00/0000:00:1f.2/ata1/host0/target0:0:0/0:0:0:0/block",
                    .sectors = 500118192,
                    .attributes = {{"vendor", "ATA     "}, {"model", "Samsung SSD 860 "}, {"rev", "RVT0"}},
                    .udev = {{"ID_BUS", "ata"}, {"ID_ATA_SATA", "1"}}});
    sysfs_.AddDisk({.name = "sdb",
                    .device_path = "pci0000:00/0000:00:14.0/usb2/2-1/2-1:1.0/host1/target1:0:0/1:0:0:0/block",
                    .sectors = 1953525168,
                    .attributes = {{"vendor", "WD"}, {"model", "Elements 25A2"}, {"rev", "1026"}},
                    .udev = {{"ID_BUS", "usb"}, {"ID_SERIAL_SHORT", "WX12345"}}});
    sysfs_.AddDisk({.name = "sdc",
                    .device_path = "pci0000:00/0000:00:14.0/usb2/2-2/2-2:1.0/host2/target2:0:0/2:0:0:0/block",
                    .sectors = 0,
                    .removable = true,
                    .udev = {{"ID_BUS", "usb"}}});
    sysfs_.AddDisk({.name = "mmcblk0",
                    .device_path = "platform/fe320000.mmc/mmc_host/mmc0/mmc0:aaaa/block",
                    .sectors = 327680,
                    .attributes = {{"name", "SD16G"}, {"fwrev", "0x3"}, {"serial", "0x1234abcd"}},
                    .node = test::SampleCard()});
    sysfs_.AddPartition({.disk = "mmcblk0",
                         .name = "mmcblk0p1",
                         .start = 8192,
                         .sectors = 319488,
                         .udev = {{"ID_FS_TYPE", "vfat"},
                                  {"ID_FS_VERSION", "FAT32"},
                                  {"ID_FS_LABEL", "SAMPLE"},
                                  {"ID_FS_UUID", "1234-ABCD"}},
                         .node = test::SampleCard()});
    sysfs_.AddVirtual("loop0", 2048);
    sysfs_.Mount("mmcblk0p1", dir_.Path());
  }

  test::TempDir dir_;
  FakeSysfs sysfs_{dir_ / "machine"};
};

// Fixed disks are never offered, so they are never opened either: only sysfs is read for them.
TEST(SystemDrivesOpening, OnlyOfferedDisksAreOpened) {
  test::TempDir dir;
  test::WriteFile(dir / "sda.node", std::string(4096, '\0'));
  test::WriteFile(dir / "sdb.node", std::string(4096, '\0'));
  FakeSysfs sysfs(dir / "machine");
  sysfs.AddDisk({.name = "sda",
                 .device_path = "pci0000:00/0000:00:1f.2/ata1/host0/target0:0:0/0:0:0:0/block",
                 .sectors = 8,
                 .udev = {{"ID_BUS", "ata"}},
                 .node = dir / "sda.node"});
  sysfs.AddDisk({.name = "sdb",
                 .device_path = "pci0000:00/0000:00:14.0/usb2/2-2/2-2:1.0/host2/target2:0:0/2:0:0:0/block",
                 .sectors = 8,
                 .removable = true,
                 .udev = {{"ID_BUS", "usb"}},
                 .node = dir / "sdb.node"});
  const int watcher = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
  ASSERT_GE(watcher, 0);
  ASSERT_GE(inotify_add_watch(watcher, dir.Path().c_str(), IN_OPEN), 0);
  SystemDrives drives(sysfs.Config());
  drives.Probe();
  std::vector<std::string> opened;
  alignas(inotify_event) char buffer[4096];
  for (ssize_t n; (n = read(watcher, buffer, sizeof buffer)) > 0;)
    for (char* at = buffer; at < buffer + n; at += sizeof(inotify_event) + reinterpret_cast<inotify_event*>(at)->len)
      if (const auto* event = reinterpret_cast<inotify_event*>(at); event->len > 0) opened.push_back(event->name);
  close(watcher);
  EXPECT_THAT(opened, ElementsAre("sdb.node"));
  ASSERT_EQ(drives.Disks().size(), 2u);
  EXPECT_FALSE(SystemDrives::Removable(drives.Disks()[0]));
  EXPECT_EQ(drives.Disks()[0].tracks_per_cylinder, 255u);
}

TEST_F(SystemDrivesTest, QueriesEveryDiskAndOffersOnlyRemovableMedia) {
  SystemDrives drives(sysfs_.Config());
  drives.Probe();
  std::vector<std::string> seen;
  for (const DiskFacts& disk : drives.Disks())
    seen.push_back(disk.device_path + " " + MediaTypeText(disk.media_type, disk.bus_type) + " " +
                   std::string(BusTypeName(disk.bus_type)) + (SystemDrives::Removable(disk) ? " offered" : ""));
  EXPECT_THAT(seen, ElementsAre("\\\\.\\PhysicalDrive0 Fixed hard disk media SATA",
                                "\\\\.\\PhysicalDrive1 External hard disk media USB", "\\\\.\\PhysicalDrive2  USB",
                                "\\\\.\\PhysicalDrive3 Removable Media SD offered"));
  const DiskFacts& card = drives.Disks()[3];
  EXPECT_EQ(card.Model(), "SD16G");
  EXPECT_EQ(card.revision, "0x3");
  EXPECT_EQ(card.serial, "0x1234abcd");
  EXPECT_EQ(card.total_sectors, 327680u);
  EXPECT_EQ(card.cylinders, 327680u / (255 * 63));  // no geometry from a file: 255 x 63
  EXPECT_EQ(drives.Disks()[1].Model(), "WD Elements 25A2");

  ASSERT_EQ(drives.Volumes().size(), 1u);
  const VolumeFacts& volume = drives.Volumes()[0];
  EXPECT_EQ(volume.device_path, VolumePath('D'));
  EXPECT_EQ(volume.file_system, "FAT32");
  EXPECT_EQ(volume.label, "SAMPLE");
  EXPECT_EQ(volume.disk_number, 3);
  EXPECT_EQ(volume.first_sector, 8192u);
  EXPECT_TRUE(volume.free_bytes.has_value());  // mounted: statvfs answered
}

TEST_F(SystemDrivesTest, ImagesTakeTheNumbersAndLettersAfterTheMachinesDrives) {
  test::ScriptedUi ui;
  AppState app(ui);
  app.system_drives = SystemDrives(sysfs_.Config());
  app.system_drives.Probe();
  app.system_drives.Register(app.devices);
  EXPECT_FALSE(app.devices.Find(PhysicalDrivePath(0)));  // fixed: never opened for recovery
  EXPECT_EQ(app.devices.AttachDiskImage(test::SampleCard()), PhysicalDrivePath(4));
  EXPECT_EQ(app.devices.AttachVolumeImage(test::PartitionFixture("fat16-volume.img")), VolumePath('E'));

  DriveListing& listing = LoadDrives(app, SearchMode::kBasic, true);
  const DriveTree& tree = listing.tree;
  std::vector<std::string> labels;
  for (const std::string_view group : {kPhysicalDrives, kLogicalDrives})
    for (int item : tree.Children(*tree.FindGroup(group))) {
      labels.push_back(tree.Item(item).label);
      for (int child : tree.Children(item)) labels.push_back("  " + tree.Item(child).label);
    }
  EXPECT_THAT(labels, ElementsAre("Disk3 ( Removable Media - 160.00 MB )", "  Partition - 1 ( FAT32 )",
                                  "Disk4 ( Removable Media - 160.00 MB )", "  Partition - 1 ( FAT32 )",
                                  "D:\\ (156.00 MB - SAMPLE - FAT32)", "E:\\ ( 32.00 MB - CARDVOL - FAT16)"));
  EXPECT_THAT(listing.volume_list, ElementsAre("\\\\.\\D:|319488", "\\\\.\\E:|65536"));

  SelectDriveItem(listing, *tree.FindDrive(PhysicalDrivePath(3)));
  EXPECT_EQ(DetailValue(tree.details, "1. Model :"), "SD16G");
  EXPECT_EQ(DetailValue(tree.details, "3. Interface Type :"), "SD");
  EXPECT_EQ(DetailValue(tree.details, "7. Sectors :"), "327680");
  EXPECT_EQ(DetailValue(tree.details, "12. System Name :"), (sysfs_.DevRoot() / "mmcblk0").string());
  SelectDriveItem(listing, *tree.FindDrive(VolumePath('E')));
  EXPECT_EQ(DetailValue(tree.details, "1. Start Sector :"), "0");
  EXPECT_EQ(DetailValue(tree.details, "2. End Sector : "), "65536");
  EXPECT_EQ(DetailValue(tree.details, "7. Free Space : "), "Unknown Size ");
  EXPECT_EQ(listing.current_total_sectors, 65536u);
}

TEST_F(SystemDrivesTest, AVolumeKeepsItsLetterWhenAnotherMediumArrives) {
  SystemDrives drives(sysfs_.Config());
  drives.Probe();
  ASSERT_EQ(drives.Volumes().at(0).device_path, VolumePath('D'));

  // A USB stick arrives; its kernel name sorts before the card reader's.
  sysfs_.AddDisk({.name = "sdd",
                  .device_path = "pci0000:00/0000:00:14.0/usb2/2-3/2-3:1.0/host3/target3:0:0/3:0:0:0/block",
                  .sectors = 65536,
                  .removable = true,
                  .udev = {{"ID_BUS", "usb"}, {"ID_FS_TYPE", "vfat"}, {"ID_FS_VERSION", "FAT16"}}});
  drives.Probe();
  ASSERT_EQ(drives.Volumes().size(), 2u);
  EXPECT_EQ(drives.Volumes()[0].system_name, (sysfs_.DevRoot() / "sdd").string());  // a card without a table
  EXPECT_EQ(drives.Volumes()[0].first_sector, 0u);
  EXPECT_EQ(drives.Volumes()[0].device_path, VolumePath('E'));
  EXPECT_EQ(drives.Volumes()[1].system_name, (sysfs_.DevRoot() / "mmcblk0p1").string());
  EXPECT_EQ(drives.Volumes()[1].device_path, VolumePath('D'));
}

TEST(DynamicDisk, AVolumeOnADynamicDiskIsMarked) {
  test::TempDir dir;
  test::MemoryDisk disk(100);
  disk.Entry(0, 0, 0x42, 32, 60);
  std::vector<std::byte> bytes(disk.Sector(0).begin(), disk.Sector(0).end());
  bytes.resize(100 * 512);
  test::WriteBytes(dir / "dynamic.img", bytes);
  FakeSysfs sysfs(dir / "machine");
  sysfs.AddDisk(
      {.name = "mmcblk0", .device_path = "mmc_host/mmc0/mmc0:0001/block", .sectors = 100, .node = dir / "dynamic.img"});
  sysfs.AddPartition({.disk = "mmcblk0",
                      .name = "mmcblk0p1",
                      .start = 32,
                      .sectors = 60,
                      .udev = {{"ID_FS_TYPE", "ntfs"}},
                      .node = dir / "dynamic.img"});
  test::ScriptedUi ui;
  AppState app(ui);
  app.system_drives = SystemDrives(sysfs.Config());
  app.system_drives.Probe();
  app.system_drives.Register(app.devices);
  DriveListing& listing = LoadDrives(app, SearchMode::kBasic, true);
  const int volume = *listing.tree.FindDrive(VolumePath('D'));
  EXPECT_TRUE(listing.tree.Item(volume).info->dynamic_disk);
  EXPECT_EQ(listing.tree.Item(volume).info->file_system, "NTFS");
  EXPECT_EQ(listing.tree.Item(volume).info->last_sector, 92u);  // first + length
}

}  // namespace
}  // namespace pellora
