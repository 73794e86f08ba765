#include <fcntl.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <nlohmann/json.hpp>
#include <thread>

#include "support/cli_runner.hpp"
#include "support/temp_dir.hpp"

namespace pellora {
namespace {

using test::RunCli;
using ::testing::HasSubstr;

std::vector<std::filesystem::path> FilesUnder(const std::filesystem::path& folder) {
  std::vector<std::filesystem::path> files;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(folder))
    if (entry.is_regular_file()) files.push_back(entry.path());
  std::sort(files.begin(), files.end());
  return files;
}

bool IsJpeg(const std::filesystem::path& file) {
  std::string extension = file.extension().string();
  for (char& c : extension) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return extension == ".JPG";
}

// The carved file that begins with the original's bytes, if any.
std::optional<std::filesystem::path> CarvedCopyOf(const std::string& original,
                                                  const std::vector<std::filesystem::path>& carved) {
  for (const auto& file : carved) {
    const std::string bytes = test::ReadFile(file);
    if (bytes.size() >= original.size() && bytes.compare(0, original.size(), original) == 0) return file;
  }
  return std::nullopt;
}

TEST(PhotoCommand, EveryJpegOfTheSampleCardComesBackWhole) {
  test::TempDir dest;
  const auto result = RunCli(
      {"--json", "--image", test::SampleCard().string(), "photo", "--drive", "disk:0", "--dest", dest.Path().string()});
  ASSERT_EQ(result.exit_code, 0) << result.err;
  const auto document = nlohmann::json::parse(result.out);
  EXPECT_EQ(document["end_message"], "Searching of files in specified disk sectors is completed.");
  EXPECT_EQ(document["end_sector"], 327680);
  EXPECT_EQ(document["stopped"], false);

  const auto carved = FilesUnder(dest / "Pellora/Photo Search/General/JPG");
  std::size_t originals = 0;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(test::SampleCardFiles())) {
    if (!entry.is_regular_file() || !IsJpeg(entry.path())) continue;
    ++originals;
    SCOPED_TRACE(entry.path().string());
    // Every photo of the card is stored in one piece, so its carved copy holds it byte for byte.
    EXPECT_TRUE(CarvedCopyOf(test::ReadFile(entry.path()), carved));
  }
  EXPECT_EQ(originals, 13u);  // present, deleted, in the deleted folder and in the lost folder
  EXPECT_EQ(carved.size(), originals);
  EXPECT_EQ(document["types"][0]["type"], "JPG");
  EXPECT_EQ(document["types"][0]["files"], originals);
}

TEST(PhotoCommand, PrintsTheInformationRowsAndTheSummaryPerType) {
  test::TempDir dest;
  const auto result = RunCli({"--image", test::SampleCard().string(), "photo", "--drive", "disk:0", "--range",
                              "8192:20000", "--dest", dest.Path().string(), "--thorough"});
  ASSERT_EQ(result.exit_code, 0) << result.err;
  EXPECT_THAT(result.out, HasSubstr("1. Search Type : Photo Search\n2. Start Sector : 8192\n3. End Sector : 20000\n"
                                    "4. Drive : Disk - 0\n"));
  EXPECT_THAT(result.out, HasSubstr("Searching of files in specified disk sectors is completed.\n"));
  EXPECT_THAT(result.out, HasSubstr("Files found per type:"));
  EXPECT_THAT(result.out, ::testing::ContainsRegex("JPG +[0-9]+ +[0-9]+ +0\n"));
  EXPECT_TRUE(std::filesystem::is_directory(dest / "Pellora/Photo Search/Omitted"));
}

TEST(PhotoCommand, APartitionOfTheDriveTreeGivesTheRange) {
  test::TempDir dest;
  const auto result = RunCli({"--image", test::SampleCard().string(), "photo", "--drive", "disk:0", "--partition", "1",
                              "--dest", dest.Path().string()});
  ASSERT_EQ(result.exit_code, 0) << result.err;
  EXPECT_THAT(result.out, HasSubstr("1. Search Type : Photo Search\n2. Partition Type : FAT32\n3. Start Sector : 8192\n"
                                    "4. End Sector : 327680\n5. Drive : Disk - 0\n"));
  const auto missing = RunCli({"--image", test::SampleCard().string(), "photo", "--drive", "disk:0", "--partition", "2",
                               "--dest", dest.Path().string()});
  EXPECT_EQ(missing.exit_code, 1);
  EXPECT_THAT(missing.err, HasSubstr("has no item \"Partition - 2\""));
}

TEST(SignatureCommands, VideoFindsTheClipAndSignatureTheDocument) {
  struct Case {
    const char* command;
    const char* type;
    const char* original;
    const char* carved;
  };
  for (const Case& c : {Case{"video", "AVI", "DCIM/100PELLO/MVI_0007.AVI", "Video Search/General/AVI/AVI00001.AVI"},
                        Case{"signature", "pdf", "Documents/Packing list for the trip.pdf",
                             "Signature Search/General/PDF/PDF00001.PDF"}}) {
    SCOPED_TRACE(c.command);
    test::TempDir dest;
    const auto result = RunCli({"--image", test::SampleCard().string(), c.command, "--drive", "disk:0", "--types",
                                c.type, "--dest", dest.Path().string()});
    ASSERT_EQ(result.exit_code, 0) << result.err;
    const std::string original = test::ReadFile(test::SampleCardFiles() / c.original);
    EXPECT_EQ(test::ReadFile(dest / "Pellora" / c.carved).substr(0, original.size()), original);
    EXPECT_EQ(FilesUnder(dest / "Pellora").size(), 1u) << "only the ticked type";
  }
}

TEST(SignatureCommands, ListTypesShowsTheChecklistSorted) {
  const auto result = RunCli({"--json", "video", "--list-types"});
  ASSERT_EQ(result.exit_code, 0) << result.err;
  const auto types = nlohmann::json::parse(result.out)["types"];
  ASSERT_GE(types.size(), 2u);
  std::vector<std::string> extensions;
  for (const auto& type : types) extensions.push_back(type["extension"]);
  EXPECT_TRUE(std::is_sorted(extensions.begin(), extensions.end()));
  EXPECT_THAT(extensions, ::testing::Contains("MP4"));
  EXPECT_THAT(extensions, ::testing::Contains("OGV")) << "types of the advance file too";
}

TEST(CarvingCommands, RefusalsUseTheWindowsWordsAndExitStatuses) {
  test::TempDir dest;
  const std::string card = test::SampleCard().string();
  const std::string to = dest.Path().string();
  struct Case {
    std::vector<std::string> arguments;
    int exit_code;
    const char* message;
  };
  const std::vector<Case> cases = {
      {{"photo", "--dest", to},
       1,
       "First you need to select Physical or Logical Drive from the Tree, which you want to recover."},
      {{"photo", "--drive", "disk:0", "--range", ":100", "--dest", to},
       1,
       "Please enter the \u2018Start Sector\u2019 of the Drive."},
      {{"photo", "--drive", "disk:0", "--range", "100:100", "--dest", to},
       1,
       "The value of \u2018End Sector\u2019 cannot be less than or equal to the \u2018Start Sector\u2019 of the "
       "Drive."},
      {{"photo", "--drive", "disk:0", "--range", "100:", "--dest", to},
       1,
       "The value of \u2018End Sector\u2019 cannot be less than or equal to the \u2018Start Sector\u2019 of the "
       "Drive."},
      {{"photo", "--drive", "disk:0", "--range", "1x:5", "--dest", to}, 2, "sectors are decimal numbers"},
      {{"photo", "--drive", "disk:0", "--dest", (dest / "missing").string()},
       1,
       "Please specify the Destination path where the recovered data will be saved by clicking on 'Browse' "
       "button."},
      {{"video", "--drive", "disk:0", "--types", ",", "--dest", to},
       1,
       "Please select at least one Extension type to continue recovery process."},
      {{"signature", "--drive", "disk:0", "--types", "PDF,XYZ", "--dest", to}, 2, "\"XYZ\" is not a type"},
  };
  for (const Case& c : cases) {
    std::vector<std::string> arguments = {"--image", card};
    arguments.insert(arguments.end(), c.arguments.begin(), c.arguments.end());
    const auto result = RunCli(arguments);
    SCOPED_TRACE(c.message);
    EXPECT_EQ(result.exit_code, c.exit_code);
    EXPECT_THAT(result.err, HasSubstr(c.message));
  }
}

// A destination in which the mode's folder cannot be made ("Pellora" is a file there): the search
// does not start and does not claim to have recovered anything.
TEST(CarvingCommands, ADestinationThatTakesNoFolderIsAFailure) {
  test::TempDir dest;
  test::WriteFile(dest / "Pellora", "in the way");
  const auto result = RunCli({"--image", test::SampleCard().string(), "photo", "--drive", "disk:0", "--range", "0:2048",
                              "--dest", dest.Path().string()});
  EXPECT_EQ(result.exit_code, 1);
  EXPECT_THAT(result.err, HasSubstr("Unable to continue saving recovered data."));
  EXPECT_THAT(result.out, ::testing::Not(HasSubstr("Recovered into")));
}

TEST(CarvingCommands, InterruptWithoutATerminalStopsCleanly) {
  test::TempDir dir;
  const auto image = dir / "large.img";
  {
    std::filesystem::create_directories(dir / "dest");
    const int fd = ::open(image.c_str(), O_CREAT | O_WRONLY, 0644);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::ftruncate(fd, 64LL << 30), 0);  // sparse: reads as zeros for a long while
    ::close(fd);
  }
  const std::string out = (dir / "out").string();
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    const int null_in = ::open("/dev/null", O_RDONLY);
    const int out_fd = ::open(out.c_str(), O_CREAT | O_WRONLY | O_TRUNC, 0644);
    ::dup2(null_in, 0);
    ::dup2(out_fd, 1);
    ::dup2(out_fd, 2);
    const std::string dest = (dir / "dest").string();
    const char* cli = PELLORA_CLI;
    ::execl(cli, cli, "--no-system-drives", "--json", "--image", image.c_str(), "photo", "--drive", "disk:0", "--dest",
            dest.c_str(), static_cast<char*>(nullptr));
    ::_exit(127);
  }
  // The pass folder appears once the search, and so the watch for Ctrl-C, has begun.
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
  while (!std::filesystem::exists(dir / "dest/Pellora/Photo Search/General") &&
         std::chrono::steady_clock::now() < deadline)
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  ::kill(child, SIGINT);
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  const std::string output = test::ReadFile(out);
  ASSERT_TRUE(WIFEXITED(status)) << output;
  EXPECT_EQ(WEXITSTATUS(status), 0) << output;
  const auto document = nlohmann::json::parse(output.substr(output.find('{')));
  EXPECT_EQ(document["stopped"], true);
  EXPECT_EQ(document["end_message"], "Searching of files in specified disk sectors is stopped.");
}

}  // namespace
}  // namespace pellora
