#include "save/destination_naming.hpp"

#include <vector>

#include "common/path_component.hpp"
#include "common/text.hpp"

namespace pellora {

namespace {

constexpr std::size_t kMaxComponentBytes = 255;
constexpr std::size_t kShortBaseCharacters = 6;

std::size_t Characters(std::string_view utf8) { return Utf8CodePoints(utf8).size(); }

// The first n characters (not bytes) of UTF-8 text.
std::string_view FirstCharacters(std::string_view utf8, std::size_t n) {
  std::size_t at = 0;
  for (std::size_t taken = 0; at < utf8.size() && taken < n; ++taken) {
    ++at;
    while (at < utf8.size() && (static_cast<unsigned char>(utf8[at]) & 0xC0) == 0x80) ++at;
  }
  return utf8.substr(0, at);
}

}  // namespace

bool PathTooLong(const std::filesystem::path& path) {
  if (Characters(path.native()) > kMaxPathCharacters) return true;
  for (const auto& component : path)
    if (component.native().size() > kMaxComponentBytes) return true;
  return false;
}

std::filesystem::path NewNamePath(const std::filesystem::path& path) {
  std::uint64_t number = 0;
  return NewNamePath(path, 0, number);
}

std::filesystem::path NewNamePath(const std::filesystem::path& path, std::uint64_t from, std::uint64_t& number) {
  const std::string name = path.filename().native();
  const std::size_t dot = name.rfind('.');
  const std::string base = dot == std::string::npos ? name : name.substr(0, dot);
  const std::string extension = dot == std::string::npos ? std::string() : name.substr(dot);
  auto candidate = [&](std::uint64_t n) {
    return path.parent_path() / (base + "_zy_" + std::to_string(n) + extension);
  };
  auto taken = [&](std::uint64_t n) {
    std::error_code error;
    return std::filesystem::exists(std::filesystem::symlink_status(candidate(n), error));
  };
  // A start whose number below is free again (the destination changed since) probes from 0.
  if (from > 0 && !taken(from - 1)) from = 0;
  for (std::uint64_t n = from;; ++n) {
    if (!taken(n)) {
      number = n;
      return candidate(n);
    }
  }
}

std::string ShortNameForLongPath(std::string_view long_name, std::string_view short_name) {
  if (!Trim(short_name).empty()) return std::string(short_name);
  const std::size_t dot = long_name.rfind('.');
  const std::string_view extension = dot == std::string_view::npos ? std::string_view() : long_name.substr(dot);
  return ToUpperAscii(std::string(FirstCharacters(long_name, kShortBaseCharacters)) + "~(1)" + std::string(extension));
}

std::filesystem::path FileDestination(const std::filesystem::path& folder, std::string_view name,
                                      std::string_view short_name) {
  std::filesystem::path path = folder / SafePathComponent(name);
  if (PathTooLong(path)) path = folder / SafePathComponent(ShortNameForLongPath(name, short_name));
  return path;
}

std::filesystem::path TreeFolderDestination(const ResultTree& tree, ItemId item, const std::filesystem::path& base) {
  std::vector<ItemId> items;
  for (ItemId at = item; at != kNoItem && tree.Parent(at) != kNoItem; at = tree.Parent(at)) items.push_back(at);
  std::filesystem::path path = base;
  for (auto it = items.rbegin(); it != items.rend(); ++it) path /= SafePathComponent(tree.Title(*it));
  return path;
}

std::string PathDisplayText(std::string_view path) {
  constexpr std::size_t kWrapAfter = 70;
  if (Characters(path) <= kWrapAfter) return std::string(path);
  return ReplaceAll(path, "/", " /");
}

}  // namespace pellora
