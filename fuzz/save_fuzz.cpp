// Saving what a Basic Search found on a damaged volume: every name, size and cluster comes from the
// input. The save goes into a fresh temporary folder; anything written beside it (a name that
// climbs out, a link followed) is a finding, and so is a crash or a report.

#include <stdlib.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "fuzz_volume.hpp"
#include "save/save_run.hpp"
#include "save/save_worker.hpp"
#include "save/selection_count.hpp"

namespace {

namespace fs = std::filesystem;

// Every file saved may be as large as the volume: a small volume and a bounded number of files keep
// one run within megabytes of writing.
constexpr std::uint64_t kVolumeSectors = 2048;  // 1 MiB
constexpr std::uint64_t kMaxFiles = 256;

// Every entry below root must lie inside root/inner/out (the destination) or be one of the two
// folders on the way to it.
bool OnlyInsideTheDestination(const fs::path& root) {
  const fs::path inner = root / "inner";
  const fs::path out = inner / "out";
  std::error_code error;
  for (auto it = fs::recursive_directory_iterator(root, fs::directory_options::none, error);
       it != fs::recursive_directory_iterator(); it.increment(error)) {
    if (error) return false;
    const fs::path path = it->path();
    if (path == inner || path == out) continue;
    const auto relative = path.lexically_relative(out);
    if (relative.empty() || *relative.begin() == "..") return false;
    if (it->is_symlink()) return false;  // the save never makes links
  }
  return !error;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  pellora::fuzz::FuzzApp fuzz(data, size, kVolumeSectors);
  const auto outcome = fuzz.BasicSearch(size % 2 == 0 ? "FAT32" : "NTFS");
  if (outcome.results_empty) return 0;
  pellora::AppState& app = fuzz.app;
  app.results.tree.SetChecked(app.results.tree.FirstItem(), true);
  {
    pellora::SaveState counted;
    pellora::SaveRun run(app, counted, nullptr, false);
    pellora::CountSelection(run, pellora::SaveSource::kCheckedTree, {});
    if (counted.counters.files_selected > kMaxFiles) return 0;
  }
  const fs::path temp = fs::temp_directory_path() / "pellora-save-fuzz-XXXXXX";
  std::string pattern = temp.string();
  if (::mkdtemp(pattern.data()) == nullptr) return 0;
  const fs::path root = pattern;
  fs::create_directories(root / "inner" / "out");
  app.save.destination_base = root / "inner" / "out";
  pellora::RunSave(app, {.source = pellora::SaveSource::kCheckedTree,
                         .rows = {},
                         .destination = root / "inner" / "out",
                         .deep_partitions = nullptr});
  const bool contained = OnlyInsideTheDestination(root);
  std::error_code ignored;
  fs::remove_all(root, ignored);
  if (!contained) std::abort();
  return 0;
}
