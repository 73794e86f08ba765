#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace pellora {

// Names of carved files and of the folders they go to.

// prefix + number padded with zeros to five digits (wider numbers unpadded) + suffix + "." +
// extension: ("GNDR", 9, "", "JPG") gives GNDR00009.JPG, ("MP4", 100000, "_001", "MP4")
// MP4100000_001.MP4.
std::string CarvedFileName(std::string_view prefix, std::uint64_t number, std::string_view suffix,
                           std::string_view extension);

// The folder after `current` once it holds its limit of files: TYPE_001 after TYPE, then TYPE_002,
// ..., written with at least three digits (TYPE_1234 after TYPE_1233).
std::string NextFolderName(std::string_view type_name, std::string_view current);

// What a folder's name adds to the names of its files: from its first "_" on (TYPE_001 gives
// "_001"); nothing when there is no "_" or the name begins with one.
std::string FolderSuffix(std::string_view folder_name);

}  // namespace pellora
