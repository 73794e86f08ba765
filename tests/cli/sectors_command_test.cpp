#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "app/definition_paths.hpp"
#include "support/cli_runner.hpp"
#include "support/temp_dir.hpp"

namespace pellora {
namespace {

using test::RunCli;
using ::testing::HasSubstr;

class SectorsCommand : public ::testing::Test {
 protected:
  void SetUp() override {
    bytes_ = test::PatternBytes(8 * 512);
    // A recognisable first sector: text, then the boot signature at the end.
    const std::string text = "PELLORA sector viewer";
    for (std::size_t i = 0; i < text.size(); ++i) bytes_[3 + i] = static_cast<std::byte>(text[i]);
    bytes_[510] = std::byte{0x55};
    bytes_[511] = std::byte{0xAA};
    test::WriteBytes(image_, bytes_);
  }
  std::string Bytes(std::size_t from, std::size_t count) const {
    return {reinterpret_cast<const char*>(bytes_.data()) + from, count};
  }
  test::TempDir dir_;
  std::filesystem::path image_ = dir_ / "card.img";
  std::vector<std::byte> bytes_;
};

TEST_F(SectorsCommand, DumpsHexAndText) {
  const auto result = RunCli({"--image", image_.string(), "sectors", "--drive", "disk:0", "--sector", "0"});
  ASSERT_EQ(result.exit_code, 0) << result.err;
  EXPECT_THAT(result.out, HasSubstr("Sector 0 of \\\\.\\PhysicalDrive0 (byte offset 0)\n"));
  EXPECT_THAT(result.out, HasSubstr("000  00 07 0e 50 45 4c 4c 4f  52 41 20 73 65 63 74 6f  |...PELLORA secto|\n"));
  EXPECT_THAT(result.out, HasSubstr("1f0  90 97 9e a5 ac b3 ba c1  c8 cf d6 dd e4 eb 55 aa  |..............U.|\n"));
  EXPECT_EQ(std::count(result.out.begin(), result.out.end(), '\n'), 33);
}

TEST_F(SectorsCommand, RawWritesTheBytesUnchangedAndTheImagePathNamesTheDrive) {
  const auto result = RunCli(
      {"--image", image_.string(), "sectors", "--drive", image_.string(), "--sector", "2", "--count", "3", "--raw"});
  ASSERT_EQ(result.exit_code, 0) << result.err;
  EXPECT_EQ(result.out, Bytes(2 * 512, 3 * 512));
}

TEST_F(SectorsCommand, JsonAndTheLastSectors) {
  const auto result = RunCli(
      {"--json", "--volume-image", image_.string(), "sectors", "--drive", "vol:D", "--sector", "6", "--count", "5"});
  ASSERT_EQ(result.exit_code, 0) << result.err;
  EXPECT_THAT(result.err, HasSubstr("Only 2 sectors remain from sector 6; showing those."));
  const auto document = nlohmann::json::parse(result.out);
  EXPECT_EQ(document["drive"], "\\\\.\\D:");
  EXPECT_EQ(document["count"], 2);
  ASSERT_EQ(document["sectors"].size(), 2u);
  EXPECT_EQ(document["sectors"][1]["sector"], 7);
  EXPECT_EQ(document["sectors"][1]["hex"].get<std::string>().size(), 1024u);
}

TEST_F(SectorsCommand, BadInputIsRefusedWithAReason) {
  struct Case {
    std::vector<std::string> args;
    int exit_code;
    const char* says;
  };
  const std::vector<Case> cases = {
      {{"--image", image_.string(), "sectors", "--drive", "disk:3", "--sector", "0"}, 1, "No drive answers"},
      {{"--image", image_.string(), "sectors", "--drive", "disk:0", "--sector", "8"},
       1,
       "Sector 8 lies beyond the end of \\\\.\\PhysicalDrive0, which has 8 sectors."},
      {{"--image", (dir_ / "none.img").string(), "sectors", "--drive", "disk:0", "--sector", "0"},
       1,
       "cannot be opened: No such file or directory"},
      {{"--image", image_.string(), "sectors", "--drive", "disk:0"}, 2, "--sector is required"},
      {{"--image", image_.string(), "sectors", "--drive", "disk:0", "--sector", "x"}, 2, "Run 'pellora-cli --help'"},
      {{"--image", image_.string(), "sectors", "--drive", "disk:0", "--sector", "0", "--count", "0"}, 2, "count"},
      {{}, 2, "A subcommand is required"},
  };
  for (const Case& c : cases) {
    const auto result = RunCli(c.args);
    EXPECT_EQ(result.exit_code, c.exit_code) << c.says << "\n" << result.err;
    EXPECT_THAT(result.err, HasSubstr(c.says));
  }
}

TEST(CliStartUp, MissingDefinitionFileEndsTheProgram) {
  // A copy of the program with only five of its six definition files beside it.
  test::TempDir dir;
  const std::filesystem::path program = dir / "pellora-cli";
  std::filesystem::copy_file(PELLORA_CLI, program);
  for (const auto& file : MakeDefinitionPaths(PELLORA_BIN_DIR).InOrder())
    if (file.filename() != "QELSig.dll") std::filesystem::copy_file(file, dir / file.filename().string());
  const auto result = test::RunProgram(program, {"sectors", "--drive", "disk:0", "--sector", "0"});
  EXPECT_EQ(result.exit_code, 1);
  EXPECT_EQ(result.err, "Couldn't open source file: No such file or directory\n");
}

}  // namespace
}  // namespace pellora
