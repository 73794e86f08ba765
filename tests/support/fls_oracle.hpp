#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace pellora::test {

// A folder or file at a path below the root, as one of the two sides lists it.
struct Found {
  bool folder = false;
  std::uint64_t size = 0;
  bool deleted = false;
};
using FoundTree = std::map<std::string, Found>;

// Every folder and file of a `pellora-cli --json ... basic` tree by its path below "Root"; the
// command must succeed. message, when given, receives the end message.
FoundTree BasicTree(const std::vector<std::string>& arguments, std::string* message = nullptr);

// What The Sleuth Kit's fls -r lists of the file system at a sector offset of an image: files and
// folders, allocated and deleted, system entries ($...) and volume labels aside.
FoundTree FlsTree(const std::filesystem::path& image, std::uint64_t offset = 0);

// Every entry of fls is found at the same path, as a folder or a file alike, with the same size
// (files) and the same deleted mark.
void ExpectFlsTreeFound(const FoundTree& fls, const FoundTree& ours);

}  // namespace pellora::test
