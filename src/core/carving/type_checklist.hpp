#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "carving/definition_file.hpp"
#include "carving/file_type.hpp"

namespace pellora {

// The extension checklist of Video and Signature Search: one row per type with its description
// and a tick. The desktop window and the command line both show this model.
struct ChecklistRow {
  std::string extension;  // type name in upper case (MP4)
  std::string description;
  bool checked = true;
};

class TypeChecklist {
 public:
  const std::vector<ChecklistRow>& Rows() const { return rows_; }
  // The row of a type name, compared case-insensitively; nullptr when none.
  const ChecklistRow* Find(std::string_view type_name) const;
  ChecklistRow* Find(std::string_view type_name);
  void SetAll(bool checked);
  bool AnyChecked() const;
  void SortByExtension();

  // Rows are added only before the first search of a window; after that the list stays as it is.
  bool Frozen() const { return frozen_; }
  void Freeze() { frozen_ = true; }

  // Inserts a ticked row at index (clamped to the end).
  void Insert(std::size_t index, ChecklistRow row);

 private:
  std::vector<ChecklistRow> rows_;
  bool frozen_ = false;
};

// Reads the general file and then the advance file and inserts, from first_row on, a ticked row
// for every type not listed yet. A frozen checklist is left unchanged (the files are still read).
DefinitionLoad FillTypeChecklist(const std::filesystem::path& general_file, const std::filesystem::path& advance_file,
                                 std::size_t first_row, TypeChecklist& checklist);

// The checklist rows of one file's lines, inserted from next_row on (advanced past each insert).
void AddChecklistRows(const std::vector<std::string>& lines, std::size_t& next_row, TypeChecklist& checklist);
// The records of ticked types among lines (file names the file in messages); returns the rejections.
std::vector<std::string> AddSelectedDefinitions(const TypeChecklist& checklist, const std::vector<std::string>& lines,
                                                const std::filesystem::path& file, DefinitionSet& carving);

// Appends to the carving set the records of file whose type is ticked in the checklist.
DefinitionLoad LoadSelectedDefinitions(const TypeChecklist& checklist, const std::filesystem::path& file,
                                       DefinitionSet& carving);

}  // namespace pellora
