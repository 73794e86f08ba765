#include "carving/output_naming.hpp"

#include <gtest/gtest.h>

namespace pellora {
namespace {

TEST(CarvedFileName, FiveDigitsThenWider) {
  struct Case {
    std::uint64_t number;
    const char* name;
  };
  for (const Case& c : {Case{1, "GNDR00001.JPG"}, Case{9, "GNDR00009.JPG"}, Case{10, "GNDR00010.JPG"},
                        Case{99999, "GNDR99999.JPG"}, Case{100000, "GNDR100000.JPG"}})
    EXPECT_EQ(CarvedFileName("GNDR", c.number, "", "JPG"), c.name);
  EXPECT_EQ(CarvedFileName("MP4", 7, "_001", "MP4"), "MP400007_001.MP4");
}

TEST(FolderRollover, NextFolderAndTheSuffixItGivesItsFiles) {
  struct Case {
    const char* current;
    const char* next;
    const char* next_suffix;
  };
  for (const Case& c : {Case{"JPG", "JPG_001", "_001"}, Case{"JPG_001", "JPG_002", "_002"},
                        Case{"JPG_009", "JPG_010", "_010"}, Case{"JPG_099", "JPG_100", "_100"},
                        Case{"JPG_999", "JPG_1000", "_1000"}, Case{"JPG_1233", "JPG_1234", "_1234"}}) {
    EXPECT_EQ(NextFolderName("JPG", c.current), c.next);
    EXPECT_EQ(FolderSuffix(c.next), c.next_suffix);
  }
  EXPECT_EQ(FolderSuffix("JPG"), "");
  EXPECT_EQ(FolderSuffix("_JPG"), "");  // a name that begins with "_" adds nothing
}

}  // namespace
}  // namespace pellora
