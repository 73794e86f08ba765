#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <optional>
#include <sstream>

#include "support/cli_runner.hpp"
#include "support/temp_dir.hpp"

namespace pellora {
namespace {

using nlohmann::json;
using test::PartitionFixture;
using test::RunCli;

json Json(const test::CliResult& result) {
  EXPECT_EQ(result.exit_code, 0) << result.err;
  return json::parse(result.out);
}

TEST(DrivesCommand, TheSampleCardWithItsDetailsAndPartition) {
  const auto card = test::SampleCard().string();
  const json drives = Json(RunCli({"--json", "--image", card, "drives"}));
  ASSERT_EQ(drives["physical_drives"].size(), 1u);
  const json& disk = drives["physical_drives"][0];
  EXPECT_EQ(disk["path"], "\\\\.\\PhysicalDrive0");
  EXPECT_EQ(disk["disk_number"], 0);
  EXPECT_EQ(disk["label"], "Disk0 ( Removable Media - 160.00 MB )");
  EXPECT_EQ(disk["total_sectors"], 327680);
  EXPECT_EQ(disk["details"]["3. Interface Type :"], "FILEBACKEDVIRTUAL");
  EXPECT_EQ(disk["details"]["6. Heads :"], "255");
  EXPECT_EQ(disk["details"]["9. Sector per Track :"], "63");
  EXPECT_EQ(disk["details"]["5. Cylinders :"], "20");
  EXPECT_EQ(disk["partitions"], json::parse(R"j([{"number": 1, "label": "Partition - 1 ( FAT32 )",
      "file_system": "FAT32", "start_sector": 8192, "end_sector": 327680}])j"));
  EXPECT_TRUE(drives["logical_drives"].empty());

  const auto text = RunCli({"--image", card, "drives"});
  ASSERT_EQ(text.exit_code, 0) << text.err;
  EXPECT_THAT(text.out, ::testing::HasSubstr("Physical Drives\n  Disk0 ( Removable Media - 160.00 MB )"));
  EXPECT_THAT(text.out, ::testing::HasSubstr("    Partition - 1 ( FAT32 )  start 8192  end 327680\n"));
  EXPECT_THAT(text.out, ::testing::HasSubstr("      7. Sectors : 327680\n"));
}

TEST(DrivesCommand, AVolumeImageTellsItsFileSystemFromItsBootSector) {
  const json drives =
      Json(RunCli({"--json", "--volume-image", PartitionFixture("fat16-volume.img").string(), "drives"}));
  ASSERT_EQ(drives["logical_drives"].size(), 1u);
  const json& volume = drives["logical_drives"][0];
  EXPECT_EQ(volume["path"], "\\\\.\\D:");
  EXPECT_EQ(volume["label"], "D:\\ ( 32.00 MB - CARDVOL - FAT16)");
  EXPECT_EQ(volume["file_system"], "FAT16");
  EXPECT_EQ(volume["total_sectors"], 65536);
  EXPECT_EQ(volume["details"]["2. End Sector : "], "65536");
  EXPECT_EQ(volume["details"]["8. Search Mode : "], "Basic Search");
}

struct Extent {
  std::uint64_t start;
  std::uint64_t last;  // the partition's own last sector
  bool operator==(const Extent&) const = default;
};

std::string Run(const std::string& command) {
  std::string output;
  FILE* pipe = ::popen(command.c_str(), "r");
  char buffer[4096];
  while (pipe != nullptr && std::fgets(buffer, sizeof buffer, pipe) != nullptr) output += buffer;
  if (pipe != nullptr) ::pclose(pipe);
  return output;
}

// The extents a tool prints; extent turns one line into one, or into none.
template <typename Extract>
std::vector<Extent> Extents(const std::string& command, Extract extent) {
  std::vector<Extent> extents;
  std::istringstream lines(Run(command));
  for (std::string line; std::getline(lines, line);)
    if (const std::optional<Extent> found = extent(line)) extents.push_back(*found);
  return extents;
}

bool AllDigits(const std::string& text) {
  return !text.empty() && text.find_first_not_of("0123456789:") == std::string::npos;
}

// The allocated slots of The Sleuth Kit's mmls: "004:  000  0000002048  0000104447  ...".
std::vector<Extent> Mmls(const std::filesystem::path& image) {
  return Extents("mmls '" + image.string() + "' 2>/dev/null", [](const std::string& line) -> std::optional<Extent> {
    std::istringstream fields(line);
    std::string slot, table, start, end;
    if (!(fields >> slot >> table >> start >> end) || !slot.ends_with(':') || !AllDigits(table)) return std::nullopt;
    return Extent{std::stoull(start), std::stoull(end)};
  });
}

// The partitions of sfdisk --dump, less the stubs of extended partitions.
std::vector<Extent> Sfdisk(const std::filesystem::path& image) {
  return Extents("PATH=$PATH:/usr/sbin:/sbin sfdisk --dump '" + image.string() + "' 2>/dev/null",
                 [](const std::string& line) -> std::optional<Extent> {
                   const auto start_at = line.find("start=");
                   const auto size_at = line.find("size=");
                   if (start_at == std::string::npos || size_at == std::string::npos) return std::nullopt;
                   const std::uint64_t start = std::stoull(line.substr(start_at + 6));
                   const std::uint64_t size = std::stoull(line.substr(size_at + 5));
                   return size > 2 ? std::optional(Extent{start, start + size - 1}) : std::nullopt;
                 });
}

TEST(DrivesCommand, PartitionStartsAndEndsAgreeWithSfdiskAndTheSleuthKit) {
  for (const char* name : {"mbr-extended.img", "gpt.img", "type07-fat32.img", "too-close.img", "ebr-loop.img"}) {
    const auto image = PartitionFixture(name);
    const json drives = Json(RunCli({"--json", "--image", image.string(), "drives"}));
    const auto mmls = Mmls(image);
    const auto sfdisk = Sfdisk(image);
    ASSERT_FALSE(mmls.empty()) << name;
    const json& partitions = drives["physical_drives"][0]["partitions"];
    ASSERT_FALSE(partitions.empty()) << name;
    const bool gpt = std::string(name) == "gpt.img";
    for (const json& p : partitions) {
      // MBR and EBR ends are the first sector after the partition, GPT ends its last sector.
      const std::uint64_t start = p["start_sector"];
      const std::uint64_t end = p["end_sector"];
      const Extent extent{start, gpt ? end : end - 1};
      EXPECT_THAT(mmls, ::testing::Contains(extent)) << name << " " << p.dump();
      EXPECT_THAT(sfdisk, ::testing::Contains(extent)) << name << " " << p.dump();
    }
  }
}

TEST(ParamsCommand, FieldsOneToTwentyTwoOfAPartition) {
  const json params = Json(
      RunCli({"--json", "--image", test::SampleCard().string(), "params", "--drive", "disk:0", "--partition", "1"}));
  EXPECT_EQ(params["method"], "boot sector");
  EXPECT_EQ(params["drive"], "\\\\.\\PhysicalDrive0");
  const json& p = params["params"];
  ASSERT_EQ(p.size(), 22u);
  EXPECT_EQ(p["FileSystemName"], "FAT32");
  EXPECT_EQ(p["StartSector"], 8192);
  EXPECT_EQ(p["EndSector"], 327680);
  EXPECT_EQ(p["ReadLimitBytes"], 327680ull * 512);
  EXPECT_EQ(p["ReserveSecStart"], 32);
  EXPECT_EQ(p["firstFAT"], 8192 + 32);
  EXPECT_EQ(p["ParamsFileSystemName"], "FAT32");

  const auto text = RunCli({"--image", test::SampleCard().string(), "params", "--drive", "disk:0", "--partition", "1"});
  ASSERT_EQ(text.exit_code, 0) << text.err;
  EXPECT_THAT(text.out, ::testing::StartsWith(" 1. DiskNumber             0\n"));
  EXPECT_THAT(text.out, ::testing::HasSubstr("22. ParamsFileSystemName   FAT32\n"));
}

TEST(ParamsCommand, RebuiltValuesAndRefusals) {
  const json rebuilt = Json(RunCli({"--json", "--image", PartitionFixture("fat32-wiped.img").string(), "params",
                                    "--drive", "disk:0", "--partition", "1"}));
  EXPECT_EQ(rebuilt["method"], "rebuilt");
  EXPECT_EQ(rebuilt["params"]["SectorsPerCluster"], 2);

  const auto card = test::SampleCard().string();
  const auto whole = RunCli({"--image", card, "params", "--drive", "disk:0"});
  EXPECT_EQ(whole.exit_code, 1);
  EXPECT_THAT(whole.err, ::testing::HasSubstr("OK, Go Back"));
  const json accepted = Json(RunCli({"--json", "--yes", "--image", card, "params", "--drive", "disk:0"}));
  EXPECT_EQ(accepted["params"]["StartSector"], 63);

  const auto missing = RunCli({"--image", card, "params", "--drive", "disk:0", "--partition", "2"});
  EXPECT_EQ(missing.exit_code, 1);
  EXPECT_THAT(missing.err, ::testing::HasSubstr("has no item \"Partition - 2\""));
}

TEST(PartitionsCommand, FindsWhatTheTableLost) {
  const auto lost = PartitionFixture("lost-8192.img").string();
  const json standard = Json(RunCli({"--json", "--image", lost, "partitions", "--drive", "disk:0"}));
  EXPECT_EQ(standard["message"], "No more partitions found in selected Disk ( Removable Media - 0 )");
  EXPECT_TRUE(standard["partitions"].empty());
  const json advanced = Json(RunCli({"--json", "--image", lost, "partitions", "--drive", "disk:0", "--advanced"}));
  EXPECT_EQ(advanced["message"], "Found 1 more partitions in selected Disk ( Removable Media - 0 )");
  EXPECT_EQ(advanced["partitions"], json::parse(R"j([{"number": 1, "file_system": "FAT32", "start_sector": 8192,
      "end_sector": 172032, "found": true}])j"));

  const auto card = RunCli({"--json", "--image", test::SampleCard().string(), "partitions", "--drive", "disk:0"});
  EXPECT_EQ(Json(card)["partitions"][0]["found"], false);

  const auto text = RunCli({"--image", PartitionFixture("lost-63.img").string(), "partitions", "--drive", "disk:0"});
  ASSERT_EQ(text.exit_code, 0);
  EXPECT_EQ(text.out, "Partition - 1 ( FAT32 )  start 63  end 163903\n");
  EXPECT_THAT(text.err, ::testing::HasSubstr("Found 1 more partitions in selected Disk ( Removable Media - 0 )"));
}

}  // namespace
}  // namespace pellora
