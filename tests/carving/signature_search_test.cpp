#include "carving/signature_search.hpp"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "carving_fixture.hpp"

namespace pellora {
namespace {

using ::testing::ElementsAre;

// MP4 in both files, MOV only in the general file, OGV only in the advance file, MKV in both but
// left unticked.
class SignatureSearchTest : public test::CarvingFixture {
 protected:
  void SetUp() override {
    kind_ = {"Video", dir_ / "QELVideo.dll", dir_ / "QELVideoAdv.dll"};
    test::WriteFile(kind_.general_file, test::DefinitionEntry("MP4", 1048576, "6674797069736F6D", 5) +
                                            test::DefinitionEntry("MOV", 1048576, "6674797071742020", 5) +
                                            test::DefinitionEntry("MKV", 1048576, "1A45DFA3"));
    test::WriteFile(kind_.advance_file, test::DefinitionEntry("mp4", 1048576, "667479706D703431", 5) +
                                            test::DefinitionEntry("OGV", 1048576, "4F67675300", 1) +
                                            test::DefinitionEntry("MKV", 1048576, "1A45DFA3"));
    ASSERT_TRUE(FillTypeChecklist(kind_.general_file, kind_.advance_file, 0, checklist_).opened);
    checklist_.SortByExtension();
    checklist_.Find("MKV")->checked = false;
    MakeMedium(256);
  }
  std::filesystem::path VideoFolder() const { return root_ / "Pellora" / "Video Search"; }
  std::vector<std::string> Files() const {
    std::vector<std::string> files;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(VideoFolder()))
      if (entry.is_regular_file()) files.push_back(std::filesystem::relative(entry.path(), VideoFolder()).string());
    std::sort(files.begin(), files.end());
    return files;
  }
  void Run(std::uint64_t files_per_folder = kFilesPerFolder) {
    types_ = CarvedTypeTable::ForChecklist(checklist_);
    DefinitionSet general;
    ASSERT_TRUE(LoadSelectedDefinitions(checklist_, kind_.general_file, general).opened);
    const DefinitionLoad advance = RunSignaturePasses(Services(), Range(0, 256), VideoFolder(), kind_, checklist_,
                                                      general, types_, files_per_folder);
    EXPECT_TRUE(advance.opened);
  }
  const CarvedTypeRow& Row(std::string_view type) const {
    for (const CarvedTypeRow& row : types_.Rows())
      if (row.type_name == type) return row;
    throw std::runtime_error("no row " + std::string(type));
  }

  SignatureSearchKind kind_;
  TypeChecklist checklist_;
  CarvedTypeTable types_{TypeRowMatch::kExact};
};

TEST_F(SignatureSearchTest, NumbersOfATypeCarryOnIntoTheThoroughPassAndUntickedTypesGiveNothing) {
  for (std::uint64_t sector : {10, 20, 30}) Put(sector, "6674797069736F6D", 5);  // MP4, general
  Put(40, "6674797071742020", 5);                                                // MOV, general
  Put(50, "1A45DFA3");                                                           // MKV, unticked
  for (std::uint64_t sector : {60, 70}) Put(sector, "667479706D703431", 5);      // MP4, advance
  Put(80, "4F67675300");                                                         // OGV, advance only
  Run(/*files_per_folder=*/2);
  EXPECT_THAT(Files(), ElementsAre("General/MOV/MOV00001.MOV", "General/MP4/MP400001.MP4", "General/MP4/MP400002.MP4",
                                   "General/MP4_001/MP400003_001.MP4", "Omitted/MP4/MP400004.MP4",
                                   "Omitted/MP4/MP400005.MP4", "Omitted/OGV/OGV00001.OGV"));
  EXPECT_EQ(test::ReadFile(VideoFolder() / "General/MOV/MOV00001.MOV"), Sectors(40, 256)) << "MKV does not end it";
  EXPECT_EQ(Row("MP4").files_found, 5u);
  EXPECT_EQ(Row("MP4").last_file_number, 5u);
  EXPECT_EQ(Row("MP4").last_file_name, "MP400005.MP4");
  EXPECT_EQ(Row("OGV").files_per_pass[1], 1u);
  EXPECT_EQ(ui_.Events().front(), "recovered: MP4 MP400001.MP4");
  EXPECT_EQ(ui_.LastText(UiText::kStatus), "(Searching files based on:  Thorough Video Scanning Algorithm)");
}

TEST_F(SignatureSearchTest, NoThoroughPassWhenTheAdvanceFileDefinesNoTickedType) {
  checklist_.Find("MP4")->checked = false;
  checklist_.Find("OGV")->checked = false;
  Put(10, "6674797071742020", 5);
  Put(60, "667479706D703431", 5);
  Run();
  EXPECT_THAT(Files(), ElementsAre("General/MOV/MOV00001.MOV"));
  EXPECT_FALSE(std::filesystem::exists(VideoFolder() / "Omitted"));
  EXPECT_EQ(ui_.LastText(UiText::kStatus), "(Searching files based on:  General Video Recovery Procedure)");
}

}  // namespace
}  // namespace pellora
