// A log saved after a search and loaded in another run of the program gives the same tree and
// saves the same bytes as the search itself: the person never has to scan the card again.
#include <gtest/gtest.h>

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

// Every file below two folders, byte for byte.
bool SameFiles(const fs::path& a, const fs::path& b) {
  return test::Shell("diff -r '" + a.string() + "' '" + b.string() + "' && echo same") == "same\n";
}

struct RoundTrip {
  const char* name;
  std::vector<std::string> drives;  // --image / --volume-image arguments
  std::vector<std::string> search;  // the command and its drive
};

TEST(RecoveryLogRoundTrip, LoadedLogPrintsAndSavesAsTheSearchDid) {
  const std::string card = test::SampleCard().string();
  const std::string ntfs_disk = test::NtfsFixture("ntfs-features-disk.img").string();
  const std::string ntfs_volume = test::NtfsFixture("ntfs-fragmented-mft.img").string();
  const std::vector<RoundTrip> cases = {
      {"basic FAT", {"--image", card}, {"basic", "--drive", "disk:0", "--partition", "1"}},
      {"basic NTFS", {"--image", ntfs_disk}, {"basic", "--drive", "disk:0", "--partition", "1"}},
      {"basic NTFS volume", {"--volume-image", ntfs_volume}, {"basic", "--drive", "vol:D"}},
      {"deep FAT", {"--image", card}, {"deep", "--drive", "disk:0", "--partition", "1"}},
      {"deep NTFS", {"--image", ntfs_disk}, {"deep", "--drive", "disk:0", "--partition", "1"}},
  };
  for (const RoundTrip& c : cases) {
    SCOPED_TRACE(c.name);
    test::TempDir dir;
    const std::string log = (dir / "scan.DMC").string();

    std::vector<std::string> scan = c.drives;
    scan.push_back("--json");
    scan.insert(scan.end(), c.search.begin(), c.search.end());
    scan.insert(scan.end(), {"--log-out", log, "--save", (dir / "from-scan").string()});
    const test::CliResult scanned = test::RunCli(scan);
    ASSERT_EQ(scanned.exit_code, 0) << scanned.err;
    EXPECT_NE(scanned.err.find("has been saved successfully."), std::string::npos) << scanned.err;

    std::vector<std::string> load = c.drives;
    load.insert(load.end(), {"--json", "load-log", log, "--save", (dir / "from-log").string()});
    const test::CliResult loaded = test::RunCli(load);
    ASSERT_EQ(loaded.exit_code, 0) << loaded.err;
    EXPECT_NE(loaded.err.find("has been loaded successfully."), std::string::npos) << loaded.err;

    const nlohmann::json from_scan = nlohmann::json::parse(scanned.out);
    const nlohmann::json from_log = nlohmann::json::parse(loaded.out);
    ASSERT_TRUE(from_scan["root"].is_object());
    EXPECT_EQ(from_log["root"], from_scan["root"]);
    EXPECT_EQ(from_log["file_system"], from_scan["file_system"]);
    EXPECT_EQ(from_log.value("partitions", nlohmann::json()), from_scan.value("partitions", nlohmann::json()));
    nlohmann::json scan_save = from_scan["save"];
    nlohmann::json log_save = from_log["save"];
    scan_save.erase("destination");
    log_save.erase("destination");
    EXPECT_EQ(log_save, scan_save);
    EXPECT_TRUE(SameFiles(dir / "from-scan", dir / "from-log"));
  }
}

TEST(RecoveryLogRoundTrip, LoadedLogPrintsTheTreeAsTheSearchDid) {
  test::TempDir dir;
  const std::string log = (dir / "card.DMC").string();
  const std::string card = test::SampleCard().string();
  const test::CliResult scanned =
      test::RunCli({"--image", card, "basic", "--drive", "disk:0", "--partition", "1", "--log-out", log});
  ASSERT_EQ(scanned.exit_code, 0) << scanned.err;
  const test::CliResult loaded = test::RunCli({"--image", card, "load-log", log});
  ASSERT_EQ(loaded.exit_code, 0) << loaded.err;
  // The search printed its end message first.
  EXPECT_EQ("Recovery is completed in Basic Search Mode, use other search mode to recover your data.\n" + loaded.out,
            scanned.out);
}

// The card is now the second disk: the question names both numbers; Yes reads the card where it
// is now, No (the default) loads nothing. Without the card the log cannot be used.
TEST(RecoveryLogRoundTrip, DiskMovedOrMissing) {
  test::TempDir dir;
  const std::string log = (dir / "card.DMC").string();
  const std::string card = test::SampleCard().string();
  const std::string other = test::PartitionFixture("gpt.img").string();
  ASSERT_EQ(test::RunCli({"--image", card, "basic", "--drive", "disk:0", "--partition", "1", "--log-out", log, "--save",
                          (dir / "scan").string()})
                .exit_code,
            0);
  const std::string question =
      "Original Media connection order on Disk number '0' has been replaced with media of disk number '1' since you "
      "saved the selected recovery Log.";

  const test::CliResult declined = test::RunCli({"--image", other, "--image", card, "load-log", log});
  EXPECT_EQ(declined.exit_code, 1);
  EXPECT_NE(declined.err.find(question), std::string::npos) << declined.err;
  EXPECT_EQ(declined.out, "");

  const test::CliResult moved =
      test::RunCli({"--image", other, "--image", card, "--yes", "load-log", log, "--save", (dir / "out").string()});
  EXPECT_EQ(moved.exit_code, 0) << moved.err;
  EXPECT_TRUE(SameFiles(dir / "scan", dir / "out"));

  const test::CliResult missing = test::RunCli({"--image", other, "load-log", log});
  EXPECT_EQ(missing.exit_code, 1);
  EXPECT_NE(missing.err.find("Original Media has been moved or removed."), std::string::npos) << missing.err;
}

TEST(RecoveryLogRoundTrip, NotALogIsRefused) {
  test::TempDir dir;
  test::WriteFile(dir / "photo.DMC", std::string("\xFF\xD8\xFF\xE0 not a log", 14));
  const test::CliResult result = test::RunCli({"load-log", (dir / "photo.DMC").string()});
  EXPECT_EQ(result.exit_code, 1);
  EXPECT_NE(result.err.find("The selected recovery Log (index of recovered files and folders) file is invalid or "
                            "corrupted."),
            std::string::npos)
      << result.err;
  EXPECT_EQ(test::RunCli({"load-log", (dir / "none.DMC").string()}).exit_code, 1);
}

}  // namespace
}  // namespace pellora
