#include "save/destination_check.hpp"

#include <sys/sysmacros.h>

#include <gtest/gtest.h>

#include "support/temp_dir.hpp"

namespace pellora {
namespace {

namespace fs = std::filesystem;

// A sysfs with a card (sdb: two partitions, an encrypted volume mapped onto the second) and the
// machine's own disk (sda).
struct StackedSysfs {
  test::TempDir dir;
  StackedSysfs() {
    const fs::path card = dir / "devices/pci0000:00/usb1/block/sdb";
    const fs::path own = dir / "devices/pci0000:00/ata1/block/sda";
    const fs::path mapped = dir / "devices/virtual/block/dm-0";
    for (const fs::path& folder : {card / "sdb1", card / "sdb2", own / "sda1", mapped / "slaves"})
      fs::create_directories(folder);
    for (const fs::path& partition : {card / "sdb1", card / "sdb2", own / "sda1"})
      test::WriteFile(partition / "partition", "1\n");
    test::WriteFile(mapped / "slaves" / "sdb2", "");
    fs::create_directories(dir / "dev/block");
    fs::create_directories(dir / "class/block");
    fs::create_directory_symlink("../../devices/pci0000:00/usb1/block/sdb", dir / "dev/block/8:16");
    fs::create_directory_symlink("../../devices/pci0000:00/usb1/block/sdb/sdb1", dir / "dev/block/8:17");
    fs::create_directory_symlink("../../devices/pci0000:00/usb1/block/sdb/sdb2", dir / "dev/block/8:18");
    fs::create_directory_symlink("../../devices/pci0000:00/ata1/block/sda/sda1", dir / "dev/block/8:1");
    fs::create_directory_symlink("../../devices/virtual/block/dm-0", dir / "dev/block/253:0");
    fs::create_directory_symlink("../../devices/pci0000:00/usb1/block/sdb/sdb2", dir / "class/block/sdb2");
  }
};

TEST(DestinationCheck, AFolderOnTheMediumBeingRecoveredIsFound) {
  StackedSysfs sysfs;
  struct Case {
    dev_t destination;
    dev_t source;
    bool same;
  };
  for (const Case& c : {Case{makedev(8, 16), makedev(8, 16), true},   // the card itself
                        Case{makedev(8, 17), makedev(8, 16), true},   // one of its partitions
                        Case{makedev(8, 18), makedev(8, 17), true},   // a neighbouring partition
                        Case{makedev(253, 0), makedev(8, 17), true},  // mapped onto the card
                        Case{makedev(8, 1), makedev(8, 16), false},   // the machine's own disk
                        Case{makedev(8, 1), makedev(253, 0), false},
                        Case{makedev(0, 50), makedev(8, 16), false}})  // no block device (tmpfs, overlay)
    EXPECT_EQ(OnSameMedium(c.destination, c.source, sysfs.dir.Path()), c.same)
        << major(c.destination) << ":" << minor(c.destination) << " on " << major(c.source) << ":" << minor(c.source);
}

}  // namespace
}  // namespace pellora
