#include "support/fls_oracle.hpp"

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <sstream>

#include "support/cli_runner.hpp"
#include "support/fat_image.hpp"

namespace pellora::test {

namespace {

void Collect(const nlohmann::json& folder, const std::string& prefix, FoundTree& out) {
  for (const auto& child : folder["children"]) {
    const std::string path = prefix + child["name"].get<std::string>();
    out[path] = {true, 0, child["deleted"].get<bool>()};
    Collect(child, path + "/", out);
  }
  for (const auto& file : folder["files"])
    out[prefix + file["name"].get<std::string>()] = {false, file["size"].get<std::uint64_t>(),
                                                     file["deleted"].get<bool>()};
}

}  // namespace

FoundTree BasicTree(const std::vector<std::string>& arguments, std::string* message) {
  const auto result = RunCli(arguments);
  EXPECT_EQ(result.exit_code, 0) << result.err;
  const auto document = nlohmann::json::parse(result.out);
  if (message != nullptr) *message = document["message"].get<std::string>();
  FoundTree found;
  Collect(document["root"], "", found);
  return found;
}

FoundTree FlsTree(const std::filesystem::path& image, std::uint64_t offset) {
  FoundTree entries;
  std::istringstream lines(Shell("fls -r -p -l -o " + std::to_string(offset) + " '" + image.string() + "'"));
  for (std::string line; std::getline(lines, line);) {
    std::vector<std::string> fields;
    std::istringstream split(line);
    for (std::string field; std::getline(split, field, '\t');) fields.push_back(field);
    if (fields.size() < 7) continue;
    const std::string& path = fields[1];
    if (path.starts_with("$") || path.find("(Volume Label Entry)") != std::string::npos) continue;
    // "d/d", or "-/d" for a deleted folder whose name entry is gone: the type after the slash is
    // the one the metadata gives.
    const bool folder = fields[0].size() > 2 && fields[0][2] == 'd';
    entries[path] = {folder, folder ? 0 : std::stoull(fields[6]), fields[0].find('*') != std::string::npos};
  }
  return entries;
}

void ExpectFlsTreeFound(const FoundTree& fls, const FoundTree& ours) {
  ASSERT_FALSE(fls.empty());
  for (const auto& [path, entry] : fls) {
    const auto hit = ours.find(path);
    if (hit == ours.end()) {
      ADD_FAILURE() << "missing: " << path;
      continue;
    }
    EXPECT_EQ(hit->second.folder, entry.folder) << path;
    if (!entry.folder) {
      EXPECT_EQ(hit->second.size, entry.size) << path;
    }
    EXPECT_EQ(hit->second.deleted, entry.deleted) << path;
  }
}

}  // namespace pellora::test
