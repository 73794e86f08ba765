#pragma once

#include <cstdint>
#include <stop_token>
#include <string>
#include <string_view>
#include <utility>

#include "common/guard.hpp"
#include "recognition/partition_params.hpp"
#include "storage/sector_access.hpp"

namespace pellora {

// The NTFS partition the engine reads: the device, the working copy of its values (Cluster0Start
// is the partition's first sector, where cluster 0 begins), where the partition ends, and how far
// reads may go.
struct NtfsVolume {
  SectorAccess* sectors = nullptr;
  std::string device_path;
  FileSystemParams params;
  std::uint64_t end_sector = 0;        // no fragment of the $MFT is taken beyond it
  std::uint64_t read_limit_bytes = 0;  // no read starts beyond this byte offset
  std::stop_token cancel;              // stops filling a file list or a save, not a search
  ErrorReporter* reporter = nullptr;   // engine steps report their failures through it

  bool Cancelled() const { return cancel.stop_requested(); }

  // Runs one engine step under its own guard, so that a failure ends that step only. Without a
  // reporter the failure goes to the caller's guard.
  template <typename Fn>
  void Guarded(std::string_view label, std::string_view area, std::string_view site, Fn&& fn) const {
    if (reporter != nullptr)
      reporter->Guarded(label, area, site, std::forward<Fn>(fn));
    else
      std::forward<Fn>(fn)();
  }
};

}  // namespace pellora
