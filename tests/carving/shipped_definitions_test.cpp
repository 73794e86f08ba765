// The six definition files that ship beside the executables are product data; these tests hold
// them to the rules the carving engine relies on.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <map>
#include <set>

#include "app/definition_paths.hpp"
#include "carving/definition_file.hpp"
#include "carving/type_checklist.hpp"

namespace pellora {
namespace {

const DefinitionPaths kShipped = MakeDefinitionPaths(PELLORA_BIN_DIR);

DefinitionSet LoadAll(const std::filesystem::path& file) {
  PhotoDefinitions sets;
  const DefinitionLoad load = LoadPhotoDefinitions(file, "General", sets);
  EXPECT_TRUE(load.opened) << file;
  EXPECT_THAT(load.rejections, ::testing::IsEmpty()) << file;
  return sets.general;
}

std::set<std::string> TypeNames(const DefinitionSet& set) {
  std::set<std::string> names;
  for (const FileType1& record : set.records) names.insert(record.TypeName());
  return names;
}

// The type a sector holding exactly this record's signature is carved as: positions in list order,
// candidates in file order, the first full match wins.
std::string CarvedAs(const DefinitionSet& set, const FileType1& record) {
  std::array<std::uint8_t, 512> sector{};
  std::copy(record.signature.begin(), record.signature.begin() + record.signatureLength,
            sector.begin() + (record.position - 1));
  for (std::int32_t position : set.positions) {
    for (auto at = FindNextDefinition(set, position, sector[position - 1], std::nullopt); at;
         at = FindNextDefinition(set, position, sector[position - 1], at)) {
      if (set.records[*at].Matches(sector.data())) return set.records[*at].TypeName();
    }
  }
  return "(nothing)";
}

TEST(ShippedDefinitions, EveryFileParsesCleanlyWithUsableSizes) {
  for (const auto& file : kShipped.InOrder()) {
    const DefinitionSet set = LoadAll(file);
    EXPECT_GE(set.records.size(), 10u) << file;
    for (const FileType1& record : set.records) {
      EXPECT_EQ(record.extension, "." + record.TypeName()) << file;
      EXPECT_GE(record.signatureLength, 3) << file << " " << record.extension;
      EXPECT_GE(record.MaxSizeBytes(), 1 << 20) << file << " " << record.extension;
      EXPECT_EQ(record.maxSize, std::to_string(record.MaxSizeBytes())) << file << " " << record.extension;
    }
  }
}

TEST(ShippedDefinitions, TheGeneralSetsHoldTheCommonTypes) {
  using ::testing::IsSupersetOf;
  EXPECT_THAT(TypeNames(LoadAll(kShipped.photo_general)),
              IsSupersetOf({"JPG", "PNG", "GIF", "BMP", "TIF", "PSD", "CR2", "NEF", "ARW", "ORF", "RAF", "RW2", "DNG",
                            "HEIC", "WEBP"}));
  EXPECT_THAT(TypeNames(LoadAll(kShipped.video_general)),
              IsSupersetOf({"MP4", "MOV", "M4V", "3GP", "AVI", "MKV", "WEBM", "FLV", "WMV", "MPG", "MTS"}));
  EXPECT_THAT(TypeNames(LoadAll(kShipped.signature_general)),
              IsSupersetOf({"PDF", "ZIP", "DOCX", "XLSX", "PPTX", "DOC", "RAR", "7Z", "GZ", "MP3", "WAV", "FLAC", "OGG",
                            "M4A", "RTF", "SQLITE", "XML"}));
  EXPECT_THAT(TypeNames(LoadAll(kShipped.photo_advance)), ::testing::Contains("JPG"));
}

TEST(ShippedDefinitions, EverySignatureIsCarvedAsItsOwnType) {
  // An entry shadowed by an earlier one of another type would never produce a file of its type.
  for (const auto& file : kShipped.InOrder()) {
    const DefinitionSet set = LoadAll(file);
    for (const FileType1& record : set.records)
      EXPECT_EQ(CarvedAs(set, record), record.TypeName()) << file << " " << record.signatureHex;
  }
}

TEST(ShippedDefinitions, NoPhotoTypeNameStartsAnother) {
  // The photo type table finds a type's row by prefix, so JP would land in the JPG folder.
  std::set<std::string> names = TypeNames(LoadAll(kShipped.photo_general));
  names.merge(TypeNames(LoadAll(kShipped.photo_advance)));
  for (const std::string& a : names)
    for (const std::string& b : names) EXPECT_TRUE(a == b || !b.starts_with(a)) << a << " is a prefix of " << b;
}

TEST(ShippedDefinitions, ChecklistsListEveryTypeOfBothFilesOnce) {
  for (const auto& [general, advance] : {std::pair{kShipped.video_general, kShipped.video_advance},
                                         std::pair{kShipped.signature_general, kShipped.signature_advance}}) {
    TypeChecklist checklist;
    ASSERT_TRUE(FillTypeChecklist(general, advance, 0, checklist).opened);
    std::set<std::string> expected = TypeNames(LoadAll(general));
    expected.merge(TypeNames(LoadAll(advance)));
    std::set<std::string> listed;
    for (const ChecklistRow& row : checklist.Rows()) {
      EXPECT_TRUE(listed.insert(row.extension).second) << row.extension;
      EXPECT_FALSE(row.description.empty()) << row.extension;
    }
    EXPECT_EQ(listed, expected);
  }
}

}  // namespace
}  // namespace pellora
