#include "common/guard.hpp"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <new>
#include <stdexcept>
#include <system_error>

#include "common/text.hpp"
#include "support/scripted_ui.hpp"
#include "support/temp_dir.hpp"

namespace pellora {
namespace {

using ::testing::ElementsAre;

class GuardTest : public ::testing::Test {
 protected:
  void SetUp() override {
    reporter_.SetLogPath(dir_ / "Error_Log.txt");
    reporter_.SetClock([] { return std::time_t{1796855679}; });
  }
  test::TempDir dir_;
  test::ScriptedUi ui_;
  CurrentMode mode_;
  ErrorReporter reporter_{ui_, mode_};
};

TEST_F(GuardTest, AnyFailureBecomesOneReportWithTheModeAtTheTimeOfTheCall) {
  mode_.Set(SearchMode::kBasic);
  EXPECT_FALSE(reporter_.Guarded("Loading drives...", "LLD", "3th", [] { throw std::runtime_error("x"); }));
  mode_.Set(SearchMode::kNone);
  EXPECT_FALSE(reporter_.Guarded("Calculate partition value...", "LD", "1G", [] { throw 42; }));
  EXPECT_FALSE(reporter_.Guarded("Saving data...", "S", "8G", [] { throw std::bad_alloc(); }));
  EXPECT_TRUE(reporter_.Guarded("Saving data...", "S", "8G", [] {}));

  EXPECT_THAT(ui_.Events(), ElementsAre("report: 0x003TH_LLD_B", "report: 0x001G_LD_M", "report: 0x008G_S_M"));
  EXPECT_EQ(ui_.Reports()[1].headline, "Error while executing \" Calculate partition value \" command (0x001G_LD_M)");
  const std::string log = Utf16LeToUtf8(test::ReadFile(dir_ / "Error_Log.txt").substr(2));
  EXPECT_NE(log.find("Error Code\t:\t0x003TH_LLD_B\r\n"), std::string::npos);
  EXPECT_NE(log.find("Error Code\t:\t0x008G_S_M\r\n"), std::string::npos);
}

// What the failure said reaches the report and the log's message line; the entry keeps its four
// lines whatever the text holds.
TEST_F(GuardTest, TheFailuresOwnTextIsKept) {
  EXPECT_FALSE(reporter_.Guarded("Find LFN...", "R", "11A",
                                 [] { throw std::out_of_range("field beyond the end of the buffer"); }));
  EXPECT_FALSE(reporter_.Guarded("Saving data...", "S", "8G", [] {
    throw std::system_error(EIO, std::generic_category(), "read of sector 4096\nfailed");
  }));
  EXPECT_FALSE(reporter_.Guarded("Saving data...", "S", "8G", [] { throw 42; }));
  ASSERT_EQ(ui_.Reports().size(), 3u);
  EXPECT_EQ(ui_.Reports()[0].headline, "Error while executing \" Find LFN \" command (0x0011A_R_M)");
  EXPECT_NE(ui_.Reports()[0].body.find("(0x0011A_R_M): field beyond the end of the buffer\n"), std::string::npos);
  EXPECT_NE(ui_.Reports()[0].mail_link.find("field beyond the end of the buffer"), std::string::npos);
  const std::string log = Utf16LeToUtf8(test::ReadFile(dir_ / "Error_Log.txt").substr(2));
  EXPECT_NE(log.find("Error Message\t:\tError while executing \" Find LFN \" command (0x0011A_R_M): field beyond the "
                     "end of the buffer\r\n"),
            std::string::npos);
  const std::string io = std::system_error(EIO, std::generic_category()).code().message();
  EXPECT_NE(log.find("(0x008G_S_M): read of sector 4096 failed: " + io + "\r\n"), std::string::npos);
  EXPECT_NE(log.find("Error Message\t:\tError while executing \" Saving data \" command (0x008G_S_M)\r\n"),
            std::string::npos);
  EXPECT_EQ(std::count(log.begin(), log.end(), '\n'), 12);  // three entries of four lines
}

TEST_F(GuardTest, OnlyTheInnermostGuardSeesAFailure) {
  std::vector<std::string> steps;
  const bool outer = reporter_.Guarded("Drive Recovery proccess", "R", "2TH", [&] {
    steps.push_back("outer starts");
    reporter_.Guarded("Reading directory...", "R", "11E", [&] { throw std::logic_error("inner"); });
    steps.push_back("outer goes on");
  });
  EXPECT_TRUE(outer);
  EXPECT_THAT(steps, ElementsAre("outer starts", "outer goes on"));
  EXPECT_THAT(ui_.Events(), ElementsAre("report: 0x0011E_R_M"));
}

TEST_F(GuardTest, ReadOnlyLogDoesNotStopTheReport) {
  const auto log = dir_ / "Error_Log.txt";
  test::WriteFile(log, "");
  reporter_.SetLogPath("/proc/version");  // exists and can never be written, even by root
  reporter_.ReportFailure("Loading drives...", "LD", "1TH");
  EXPECT_THAT(ui_.Events(), ElementsAre("report: 0x001TH_LD_M"));
}

// A Ui whose report window itself fails.
class BrokenReportUi : public test::ScriptedUi {
 public:
  bool throw_std = true;
  void ShowErrorReport(const ErrorReport&) override {
    if (throw_std) throw std::runtime_error("The window could not be created.");
    throw 5;
  }
};

TEST(GuardWithBrokenUi, FailureToShowTheReportIsToldInAPlainMessage) {
  BrokenReportUi ui;
  CurrentMode mode;
  ErrorReporter reporter(ui, mode);
  reporter.ReportFailure("Loading drives...", "LD", "1TH");
  ui.throw_std = false;
  reporter.ReportFailure("Loading drives...", "LD", "1TH");
  EXPECT_THAT(ui.Messages(), ElementsAre("The window could not be created.", "Problem occur."));
}

}  // namespace
}  // namespace pellora
