#include "carving/type_checklist.hpp"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "support/temp_dir.hpp"

namespace pellora {
namespace {

using ::testing::ElementsAre;

std::string Entry(std::string_view extension, std::string_view signature, std::string_view position,
                  std::string_view description) {
  return "Extension:" + std::string(extension) + "\nMaximum Size:1000\nSignature:" + std::string(signature) +
         "\nPosition:" + std::string(position) + "\nReserved:0\nDescription: " + std::string(description) + " \n";
}

class ChecklistTest : public ::testing::Test {
 protected:
  void SetUp() override {
    test::WriteFile(general_, Entry(".mp4", "66747970", "5", "MPEG-4 video") +
                                  Entry(".MOV", "6D6F6F76", "5", "QuickTime movie") +
                                  Entry(".MP4", "6D703432", "5", "Second MP4 entry"));
    test::WriteFile(advance_, Entry(".MOV", "6D646174", "5", "QuickTime again") +
                                  Entry(".F4V", "66347620", "5", "Flash video") +
                                  Entry(".Mp4", "69736F35", "5", "Third MP4 entry"));
  }
  std::vector<std::string> Extensions() const {
    std::vector<std::string> names;
    for (const ChecklistRow& row : checklist_.Rows()) names.push_back(row.extension);
    return names;
  }
  test::TempDir dir_;
  std::filesystem::path general_ = dir_ / "QELVideo.dll";
  std::filesystem::path advance_ = dir_ / "QELVideoAdv.dll";
  TypeChecklist checklist_;
};

TEST_F(ChecklistTest, EachTypeOnceTickedWithItsFirstDescription) {
  const auto load = FillTypeChecklist(general_, advance_, 0, checklist_);
  ASSERT_TRUE(load.opened);
  EXPECT_THAT(Extensions(), ElementsAre("MP4", "MOV", "F4V"));
  EXPECT_EQ(checklist_.Rows()[0].description, "MPEG-4 video");
  EXPECT_TRUE(checklist_.Rows()[2].checked);
  checklist_.SortByExtension();
  EXPECT_THAT(Extensions(), ElementsAre("F4V", "MOV", "MP4"));
}

TEST_F(ChecklistTest, RowsAreInsertedFromTheFirstRowOnAndOnlyBeforeTheFirstSearch) {
  checklist_.Insert(0, {"AAA", "before", true});
  checklist_.Insert(1, {"ZZZ", "after", true});
  FillTypeChecklist(general_, advance_, 1, checklist_);
  EXPECT_THAT(Extensions(), ElementsAre("AAA", "MP4", "MOV", "F4V", "ZZZ"));

  TypeChecklist frozen;
  frozen.Freeze();
  const auto load = FillTypeChecklist(general_, advance_, 0, frozen);
  EXPECT_TRUE(load.opened);
  EXPECT_TRUE(frozen.Rows().empty());
}

TEST_F(ChecklistTest, OnlyTickedTypesBecomeCarvingRecords) {
  FillTypeChecklist(general_, advance_, 0, checklist_);
  checklist_.Find("mov")->checked = false;
  DefinitionSet carving;
  LoadSelectedDefinitions(checklist_, general_, carving);
  ASSERT_EQ(carving.records.size(), 2u);
  EXPECT_EQ(carving.records[0].extension, ".MP4");  // upper-cased before the value is taken
  EXPECT_EQ(carving.records[1].signatureHex, "6D703432");
  EXPECT_THAT(carving.positions, ElementsAre(5));

  // A type defined only in the advance file yields nothing in the general pass.
  checklist_.SetAll(false);
  checklist_.Find("F4V")->checked = true;
  DefinitionSet general_pass;
  LoadSelectedDefinitions(checklist_, general_, general_pass);
  EXPECT_TRUE(general_pass.Empty());
  DefinitionSet thorough_pass;
  LoadSelectedDefinitions(checklist_, advance_, thorough_pass);
  ASSERT_EQ(thorough_pass.records.size(), 1u);
  EXPECT_EQ(thorough_pass.records[0].TypeName(), "F4V");
}

TEST_F(ChecklistTest, MissingFileIsReported) {
  std::filesystem::remove(advance_);
  const auto load = FillTypeChecklist(general_, advance_, 0, checklist_);
  EXPECT_FALSE(load.opened);
  EXPECT_EQ(load.error, "Couldn't open source file: No such file or directory");
}

}  // namespace
}  // namespace pellora
