// What pellora-cli prints for the sample card, and what it writes, held against committed outputs:
// a change in what a user sees shows up here as a diff. After a change meant to alter the output,
// run the test with PELLORA_UPDATE_GOLDEN=1 and review the diff of tests/cli/golden/.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "support/cli_runner.hpp"
#include "support/fat_image.hpp"
#include "support/temp_dir.hpp"

namespace pellora {
namespace {

namespace fs = std::filesystem;

std::string Replaced(std::string text, const std::string& from, const std::string& to) {
  for (std::size_t at = text.find(from); !from.empty() && at != std::string::npos; at = text.find(from, at + to.size()))
    text.replace(at, from.size(), to);
  return text;
}

// The miscellaneous folder is made when the search runs and carries that moment.
void MaskScanTime(nlohmann::json& folder) {
  if (!folder.is_object()) return;
  if (folder.value("name", "") == "ZYD_Miscellaneous" && folder.contains("time")) folder["time"] = "(time of the scan)";
  if (folder.contains("children"))
    for (nlohmann::json& child : folder["children"]) MaskScanTime(child);
}

// Every file below a folder with its size and checksum, sorted.
std::string TreeOf(const fs::path& folder) {
  std::vector<std::string> lines;
  if (!fs::exists(folder)) return "(nothing written)\n";
  for (const auto& entry : fs::recursive_directory_iterator(folder)) {
    const std::string relative = fs::relative(entry.path(), folder).string();
    if (entry.is_directory()) {
      lines.push_back(relative + "/");
    } else {
      const std::string sum = test::Shell("sha256sum '" + entry.path().string() + "'").substr(0, 64);
      lines.push_back(relative + "  " + std::to_string(entry.file_size()) + "  " + sum);
    }
  }
  std::sort(lines.begin(), lines.end());
  std::string text;
  for (const std::string& line : lines) text += line + "\n";
  return text;
}

struct Golden {
  const char* name;
  std::vector<std::string> arguments;  // after --image CARD; "DEST" is a fresh folder
  bool json = false;
  bool writes = false;  // the files written into DEST belong to the output
};

TEST(GoldenOutput, TheSampleCardPrintsAndSavesAsCommitted) {
  const std::vector<Golden> cases = {
      {"drives", {"drives"}},
      {"params", {"params", "--drive", "disk:0", "--partition", "1"}},
      {"partitions-advanced", {"partitions", "--drive", "disk:0", "--advanced"}},
      {"basic", {"basic", "--drive", "disk:0", "--partition", "1"}},
      {"basic-json", {"--json", "basic", "--drive", "disk:0", "--partition", "1"}, true},
      {"basic-save", {"basic", "--drive", "disk:0", "--partition", "1", "--save", "DEST/saved"}, false, true},
      {"photo", {"photo", "--drive", "disk:0", "--dest", "DEST"}, false, true},
      {"video", {"video", "--drive", "disk:0", "--dest", "DEST"}, false, true},
      {"signature", {"signature", "--drive", "disk:0", "--dest", "DEST"}, false, true},
  };
  const bool update = std::getenv("PELLORA_UPDATE_GOLDEN") != nullptr;
  const fs::path golden = fs::path(PELLORA_SOURCE_DIR) / "tests/cli/golden";
  for (const Golden& c : cases) {
    test::TempDir dest;
    std::vector<std::string> arguments = {"--image", test::SampleCard().string()};
    for (const std::string& argument : c.arguments)
      arguments.push_back(Replaced(argument, "DEST", dest.Path().string()));
    const test::CliResult result = test::RunCli(arguments);
    std::string out = result.out;
    if (c.json) {
      nlohmann::json document = nlohmann::json::parse(out);
      MaskScanTime(document["root"]);
      out = document.dump(2) + "\n";
    }
    std::string text = out + "-- stderr --\n" + result.err + "-- exit " + std::to_string(result.exit_code) + "\n";
    if (c.writes) text += "-- written --\n" + TreeOf(dest.Path());
    text = Replaced(text, dest.Path().string(), "DEST");
    text = Replaced(text, test::SampleCard().string(), "CARD");
    const fs::path file = golden / (std::string(c.name) + ".txt");
    if (update) {
      test::WriteFile(file, text);
      continue;
    }
    ASSERT_TRUE(fs::exists(file)) << file << " is missing; run with PELLORA_UPDATE_GOLDEN=1";
    EXPECT_EQ(text, test::ReadFile(file)) << c.name;
  }
}

}  // namespace
}  // namespace pellora
