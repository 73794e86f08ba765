#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

#include "model/result_tree.hpp"

namespace pellora {

// A full destination path is too long when it has more than this many characters.
inline constexpr std::size_t kMaxPathCharacters = 259;

// True when the path has more than 259 characters, or a component longer than this platform's
// file systems take (255 bytes): either way the file or folder cannot be made under that name.
bool PathTooLong(const std::filesystem::path& path);

// The first free name beside an existing file: folder + base name + "_zy_" + N + "." + extension,
// N counting from 0 (report.doc -> report_zy_0.doc, report_zy_1.doc ...); a name without "." gets
// no dot (name -> name_zy_0).
std::filesystem::path NewNamePath(const std::filesystem::path& path);
// The same, probing from N = `from` on (every number below it is known to be taken); `number` gets
// the N of the name returned.
std::filesystem::path NewNamePath(const std::filesystem::path& path, std::uint64_t from, std::uint64_t& number);

// The name a file is saved under when its long name makes the path too long: its 8.3 name, or when
// it has none, the first 6 characters of the long name + "~(1)" + the long name's extension, upper
// case (Holiday pictures 2019.jpeg -> HOLIDA~(1).JPEG).
std::string ShortNameForLongPath(std::string_view long_name, std::string_view short_name);

// Where a recovered file goes in a destination folder: under its own name, made safe as a path
// component, or under its short name when the full path would be too long.
std::filesystem::path FileDestination(const std::filesystem::path& folder, std::string_view name,
                                      std::string_view short_name);

// The destination folder of a folder of the result tree: the base + the titles from below the top
// item down to it, each made safe as a path component.
std::filesystem::path TreeFolderDestination(const ResultTree& tree, ItemId item, const std::filesystem::path& base);

// A path as the saving window shows it: longer than 70 characters, a blank goes before every
// separator so that the line can wrap.
std::string PathDisplayText(std::string_view path);

}  // namespace pellora
