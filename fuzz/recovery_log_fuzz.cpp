// A recovery log is a file anyone can hand over: no bytes may crash the loader, make it read past
// the end, recurse or allocate beyond what the file could describe. The drives offered are the
// ones the seed logs were made of, so that the loader gets past the drive checks into the tree.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "common/null_ui.hpp"
#include "recoverylog/log_loader.hpp"

namespace {

// Says Yes, so a log of another mode or of a moved drive is followed as far as it goes.
class YesUi final : public pellora::NullUi {
 public:
  bool AskYesNo(std::string_view, bool) override { return true; }
};

pellora::PresentDrives SeedDrives(bool) {
  pellora::PresentDrives present;
  present.disks.push_back({"Disk image card.img||FILEBACKEDVIRTUAL||1048576||0", 0, "\\\\.\\PhysicalDrive0"});
  present.disks.push_back({"Disk image card.img||FILEBACKEDVIRTUAL||1048576||3", 3, "\\\\.\\PhysicalDrive3"});
  present.volumes.push_back({"\\\\.\\E:|2048", "\\\\.\\E:"});
  present.volumes.push_back({"\\\\.\\F:|4096", "\\\\.\\F:"});
  return present;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::span<const std::byte> bytes(reinterpret_cast<const std::byte*>(data), size);
  YesUi ui;
  for (const pellora::SearchMode mode : {pellora::SearchMode::kBasic, pellora::SearchMode::kDeep}) {
    const pellora::LogLoad load = pellora::ReadRecoveryLog(bytes, mode, SeedDrives, ui);
    if (load.end != pellora::LogLoadEnd::kLoaded) continue;
    const pellora::RecoveredResults& results = load.log->results;
    // Every record is bound to an item of the tree, and the tree holds no more than the file could.
    if (!results.tree.Empty() && results.tree.Size() != results.nodes.Size() + 1) std::abort();
    for (const pellora::FolderNode& node : results.nodes)
      if (!results.tree.Contains(node.tree_item)) std::abort();
    if (results.tree.Size() > size) std::abort();
  }
  return 0;
}
