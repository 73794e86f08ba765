#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "model/recovered_results.hpp"

namespace pellora {

// One line of the file list shown for a selected folder: its child folders first, then its files.
struct FileListRow {
  std::string name;
  std::string type;  // "FOLDER" or the description of the file's extension
  std::uint64_t size = 0;
  std::string date;  // display forms
  std::string time;
  std::uint64_t self = 0;      // first cluster (FAT) or FILE record sector (NTFS)
  std::uint64_t parent = 0;    // parent's first cluster / MFT record
  ItemId tree_item = kNoItem;  // folder lines: the folder's item
  std::string short_name;      // the 8.3 name (FAT)
  bool deleted = false;
  // Deep Search: the cluster-0 sector of the partition the file was listed from (a folder's list
  // may gather the root directories of several); saving a selected line reads it from there.
  std::optional<std::uint64_t> partition_start;

  bool IsFolder() const { return type == "FOLDER"; }
  // The "Size" column: decimal bytes for files, empty for folders.
  std::string SizeText() const { return IsFolder() ? std::string() : std::to_string(size); }
};

// The folder lines of a selected folder (its item and Self; the "Root" item has Self 0): every
// child folder placed under it whose parent it is.
std::vector<FileListRow> FolderLines(const RecoveredResults& results, ItemId item, std::uint64_t self);

}  // namespace pellora
