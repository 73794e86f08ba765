#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <string_view>

#include "save/start_save.hpp"
#include "search/basic_search.hpp"
#include "state/app_state.hpp"
#include "support/fat_image.hpp"
#include "support/scripted_ui.hpp"

namespace pellora::test {

inline std::string Sha256(const std::filesystem::path& file) {
  return Shell("sha256sum '" + file.string() + "'").substr(0, 64);
}

// What a Basic Search found on a FAT volume image (the whole file is the volume), ready to save.
// The image's checksum is taken before and must be the same when the test ends: saving reads.
struct Recovered {
  ScriptedUi ui;
  AppState app{ui};
  std::filesystem::path image;
  std::string checksum;

  Recovered(const std::filesystem::path& image_path, std::string_view file_system)
      : image(image_path), checksum(Sha256(image_path)) {
    app.current_device_path = app.devices.AttachDiskImage(image);
    app.mode.Set(SearchMode::kBasic);
    PartitionParams& p = app.partition_params;
    p.FileSystemName = std::string(file_system);
    p.EndSector = p.RangeEnd = std::filesystem::file_size(image) / 512;
    p.ReadLimitBytes = std::filesystem::file_size(image);
    RunBasicSearch(app, {});
  }
  ~Recovered() { EXPECT_EQ(Sha256(image), checksum) << "the source image changed"; }

  // The folder item at a path of titles below "Root" ("" is Root).
  ItemId Folder(std::string_view path) const {
    const ResultTree& tree = app.results.tree;
    ItemId item = tree.FirstItem();
    while (!path.empty()) {
      const std::size_t slash = path.find('/');
      const std::string_view title = path.substr(0, slash);
      ItemId found = kNoItem;
      for (ItemId child : tree.Children(item))
        if (tree.Title(child) == title) found = child;
      if (found == kNoItem) throw std::runtime_error("no folder " + std::string(title));
      item = found;
      path = slash == std::string_view::npos ? std::string_view() : path.substr(slash + 1);
    }
    return item;
  }

  // Starts the save and waits for the saving worker.
  bool Save(SaveRequest request) {
    if (!StartSave(app, std::move(request))) return false;
    app.saving.Join();
    return true;
  }
  bool SaveAll(const std::filesystem::path& destination) {
    app.results.tree.SetChecked(app.results.tree.FirstItem(), true);
    return Save({.source = SaveSource::kCheckedTree, .rows = {}, .destination = destination, .deep_partitions = {}});
  }
};

}  // namespace pellora::test
