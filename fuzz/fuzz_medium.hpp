#pragma once

// The process pieces a parser needs to read a medium, with the fuzz input as the medium. A report
// from a guard means a parser let an exception out of a missed bounds check: that is a finding.

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <vector>

#include "common/guard.hpp"
#include "common/ui.hpp"
#include "storage/device_map.hpp"
#include "storage/device_path.hpp"
#include "storage/read_guard.hpp"
#include "storage/sector_access.hpp"

namespace pellora::fuzz {

class SilentUi final : public Ui {
 public:
  void ShowMessage(std::string_view, std::string_view) override {}
  bool AskYesNo(std::string_view, bool default_yes) override { return default_yes; }
  void ShowErrorReport(const ErrorReport&) override { std::abort(); }
  void ShowEndMessage(std::string_view) override {}
  bool AskWholeDisk() override { return true; }
  void ShowProgress(std::int64_t, std::int64_t) override {}
  void ShowText(UiText, std::string_view) override {}
  MediaRemovedAnswer AskMediaRemoved() override { return {}; }
  void AddThumbnail(std::string_view, std::string_view) override {}
  void AddRecoveredFile(std::string_view, std::string_view, std::string_view) override {}
  SaveButton ShowSaveProgress(const SaveProgress&) override { return SaveButton::kNone; }
  ReplaceAnswer AskReplace(std::string_view, std::string_view) override { return {}; }
  LongPathAnswer AskLongPath(std::string_view) override { return {}; }
  SaveCompletedAnswer ShowSaveCompleted(std::string_view) override { return {}; }
};

struct FuzzMedium {
  FuzzMedium(const std::uint8_t* data, std::size_t size)
      : bytes(std::make_shared<const std::vector<std::byte>>(reinterpret_cast<const std::byte*>(data),
                                                             reinterpret_cast<const std::byte*>(data) + size)) {
    devices.AddSource(path, DeviceKind::kDisk, [shared = bytes](int*) -> std::unique_ptr<Source> {
      return std::make_unique<MemorySource>(shared);
    });
  }
  std::uint64_t Sectors() const { return bytes->size() / 512; }

  const std::string path = PhysicalDrivePath(0);
  std::shared_ptr<const std::vector<std::byte>> bytes;
  SilentUi ui;
  CurrentMode mode;
  ReadGuard guard{mode};
  DeviceMap devices;
  SectorAccess sectors{devices, guard, ui};
  ErrorReporter reporter{ui, mode};
};

}  // namespace pellora::fuzz
