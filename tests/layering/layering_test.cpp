// The order of the source folders: an #include may point down this table, never up, and sideways
// only where the table of sideways arrows allows it. A wrong include fails here, not in review.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "support/temp_dir.hpp"

namespace pellora {
namespace {

namespace fs = std::filesystem;

// Higher layers may include lower ones.
const std::map<std::string, int> kLayer = {
    {"gui", 7},    {"cli", 7},                                              //
    {"app", 6},                                                             //
    {"search", 5}, {"save", 5},    {"carving", 5},     {"recoverylog", 5},  //
    {"state", 4},                                                           //
    {"fat", 3},    {"ntfs", 3},    {"recognition", 3},                      //
    {"model", 2},  {"storage", 2},                                          //
    {"common", 1},
};

// Arrows between folders of one layer, each with its reason.
const std::set<std::pair<std::string, std::string>> kSideways = {
    {"search", "save"},      // a file opened for viewing is copied by the save engine's writers
    {"fat", "recognition"},  // the engines read the partition's parameters
    {"ntfs", "recognition"},
};

// The folder of src/ a file lies in: "cli", "gui", or the subsystem of src/core.
std::string FolderOf(const fs::path& src, const fs::path& file) {
  const fs::path relative = fs::relative(file, src);
  auto part = relative.begin();
  if (part == relative.end()) return {};
  if (*part == "core") ++part;
  return part == relative.end() ? std::string() : part->string();
}

// Every include of a file of src/ that breaks the order, as "file: #include line".
std::vector<std::string> LayeringViolations(const fs::path& src) {
  std::vector<std::string> violations;
  for (const auto& entry : fs::recursive_directory_iterator(src)) {
    const fs::path& file = entry.path();
    if (!entry.is_regular_file() || (file.extension() != ".cpp" && file.extension() != ".hpp")) continue;
    const std::string from = FolderOf(src, file);
    const bool in_core = fs::relative(file, src).begin()->string() == "core";
    std::ifstream in(file);
    for (std::string line; std::getline(in, line);) {
      if (line.rfind("#include", 0) != 0) continue;
      const auto report = [&] { violations.push_back(fs::relative(file, src).string() + ": " + line); };
      if (in_core && line.find("<Q") != std::string::npos) report();  // the core never includes Qt
      const std::size_t open = line.find('"');
      const std::size_t slash = line.find('/', open + 1);
      if (open == std::string::npos || slash == std::string::npos) continue;
      const std::string to = line.substr(open + 1, slash - open - 1);
      if (to == from) continue;
      const auto from_layer = kLayer.find(from);
      const auto to_layer = kLayer.find(to);
      if (from_layer == kLayer.end() || to_layer == kLayer.end()) {
        report();  // a folder the table does not know must be placed in it first
      } else if (to_layer->second > from_layer->second ||
                 (to_layer->second == from_layer->second && !kSideways.contains({from, to}))) {
        report();
      }
    }
  }
  return violations;
}

TEST(Layering, EveryIncludeOfTheSourcesPointsDown) {
  EXPECT_EQ(LayeringViolations(fs::path(PELLORA_SOURCE_DIR) / "src"), std::vector<std::string>{});
}

TEST(Layering, TheCheckCatchesWrongArrows) {
  struct Case {
    const char* file;
    const char* include;
    bool wrong;
  };
  const Case cases[] = {
      {"core/save/a.cpp", "#include \"state/app_state.hpp\"", false},
      {"core/save/a.cpp", "#include \"app/program.hpp\"", true},         // up
      {"core/storage/a.cpp", "#include \"model/file_list.hpp\"", true},  // sideways, not allowed
      {"core/search/a.cpp", "#include \"save/save_run.hpp\"", false},    // sideways, allowed
      {"core/fat/a.hpp", "#include \"search/basic_search.hpp\"", true},
      {"core/model/a.hpp", "#include <QString>", true},
      {"core/newthing/a.cpp", "#include \"common/ui.hpp\"", true},  // unknown folder
      {"cli/a.cpp", "#include \"app/program.hpp\"", false},
      {"cli/a.cpp", "#include \"terminal_ui.hpp\"", false},
  };
  for (const Case& c : cases) {
    test::TempDir dir;
    const fs::path file = dir / c.file;
    fs::create_directories(file.parent_path());
    std::ofstream(file) << c.include << "\n";
    EXPECT_EQ(LayeringViolations(dir.Path()).size(), c.wrong ? 1u : 0u) << c.file << " " << c.include;
  }
}

}  // namespace
}  // namespace pellora
