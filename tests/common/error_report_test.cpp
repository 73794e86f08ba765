#include "common/error_report.hpp"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "common/error_log.hpp"
#include "common/text.hpp"
#include "support/temp_dir.hpp"

namespace pellora {
namespace {

TEST(ErrorReport, CodeIsSiteAreaAndModeInUpperCase) {
  struct Case {
    const char* site;
    const char* area;
    SearchMode mode;
    const char* code;
  };
  const std::vector<Case> cases = {
      {"3TH", "LLD", SearchMode::kBasic, "0x003TH_LLD_B"}, {"1A2", "LlD", SearchMode::kDeep, "0x001A2_LLD_D"},
      {"2a", "r", SearchMode::kPhoto, "0x002A_R_P"},       {"8A1", "S", SearchMode::kVideo, "0x008A1_S_S"},
      {"8A1", "S", SearchMode::kSignature, "0x008A1_S_S"}, {"1E_A_1", "LD", SearchMode::kNone, "0x001E_A_1_LD_M"},
  };
  for (const Case& c : cases) EXPECT_EQ(ErrorCode(c.site, c.area, ModeLetter(c.mode)), c.code);
}

TEST(ErrorReport, CommandNameDropsEveryDotAndTrims) {
  EXPECT_EQ(CommandName("Loading drives..."), "Loading drives");
  EXPECT_EQ(CommandName("Calculate partition value..."), "Calculate partition value");
  EXPECT_EQ(CommandName("Loading connected devices ..."), "Loading connected devices");
  EXPECT_EQ(CommandName("Arrange recoverd data for ntfs ..."), "Arrange recoverd data for ntfs");
  EXPECT_EQ(CommandName("a.b.c"), "abc");
  EXPECT_EQ(ErrorMessage("Loading drives", "0x003TH_LLD_B"),
            "Error while executing \" Loading drives \" command (0x003TH_LLD_B)");
}

TEST(ErrorReport, TimeStampUsesTheTwelveHourClockWithTwoBlanks) {
  const test::ScopedEnv utc("TZ", "UTC");
  EXPECT_EQ(FormatTimeStamp(1796855679), "09-Dec-2026  10:34:39 PM");
  EXPECT_EQ(FormatTimeStamp(1767225600), "01-Jan-2026  12:00:00 AM");
}

TEST(ErrorReport, BodyAndMailLink) {
  const std::string message = ErrorMessage("Loading drives", "0x001TH_LD_M");
  const std::string body = ReportBody(message);
  EXPECT_EQ(body,
            "Note: You should Send this information to support email: support@pellora.example\n"
            "=============================================\n\n"
            "Error while executing \" Loading drives \" command (0x001TH_LD_M)\n\n"
            "User encountered following error while using \n\"Pellora\"\n\n"
            "My Operating system is: \n\n"
            "I am using following security/Antivirus/Firewall Software in My Machine: \n\n"
            "The Hardware Configuration details of My Machine in which I am running the software are: \n\n\n"
            "The details of my Storage media (from which I am trying to recover data) are as follows: \n"
            "Media Type: \nStorage Capacity: \nManufacturer: \n");
  EXPECT_EQ(MailLink(body),
            "mailto:support@pellora.example?subject= Pellora Question&body="
            "Error while executing %22 Loading drives %22 command (0x001TH_LD_M)%0A%0A"
            "User encountered following error while using %0A%22Pellora%22%0A%0A"
            "My Operating system is: %0A%0A"
            "I am using following security/Antivirus/Firewall Software in My Machine: %0A%0A"
            "The Hardware Configuration details of My Machine in which I am running the software are: %0A%0A%0A"
            "The details of my Storage media (from which I am trying to recover data) are as follows: %0A"
            "Media Type: %0AStorage Capacity: %0AManufacturer:%0A%0A");
}

TEST(ErrorLog, EntriesAreUtf16WithOneByteOrderMarkAndFourLines) {
  test::TempDir dir;
  const auto log = dir / "Error_Log.txt";
  const std::string entry = ErrorLogEntry("09-Dec-2026  10:34:39 PM", "0x003TH_LLD_B",
                                          "Error while executing \" Loading drives \" command (0x003TH_LLD_B)");
  const std::string expected_text =
      "Date and Time\t:\t09-Dec-2026  10:34:39 PM\r\n"
      "Error Code\t:\t0x003TH_LLD_B\r\n"
      "Error Message\t:\tError while executing \" Loading drives \" command (0x003TH_LLD_B)\r\n" +
      std::string(92, '=') + "\r\n";
  ASSERT_EQ(entry, expected_text);

  ASSERT_TRUE(AppendToErrorLog(log, entry));
  ASSERT_TRUE(AppendToErrorLog(log, entry));
  const std::string bytes = test::ReadFile(log);
  const std::string one = Utf8ToUtf16Le(expected_text);
  EXPECT_EQ(bytes, "\xFF\xFE" + one + one);
  EXPECT_EQ(bytes.substr(2, 4), std::string("D\0a\0", 4));
}

TEST(ErrorLog, EmptyExistingFileGetsTheMarkAndEarlierEntriesStay) {
  test::TempDir dir;
  const auto log = dir / "Error_Log.txt";
  test::WriteFile(log, "");
  ASSERT_TRUE(AppendToErrorLog(log, "x"));
  EXPECT_EQ(test::ReadFile(log), std::string("\xFF\xFEx\0", 4));
  test::WriteFile(log, std::string("\xFF\xFE"
                                   "a\0",
                                   4));
  ASSERT_TRUE(AppendToErrorLog(log, "b"));
  EXPECT_EQ(test::ReadFile(log), std::string("\xFF\xFE"
                                             "a\0b\0",
                                             6));
}

TEST(ErrorLog, UnwritableLogFailsQuietly) {
  EXPECT_FALSE(AppendToErrorLog("/proc/pellora-no-such-dir/Error_Log.txt", "x"));
}

}  // namespace
}  // namespace pellora
