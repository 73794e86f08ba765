#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "carving/definition_file.hpp"
#include "carving/type_checklist.hpp"

namespace pellora {

// The two passes of a carving search.
enum class CarvingPass { kGeneral = 0, kThorough = 1 };

// One type of a carving search: Photo Search's type table row ("Extension", "Count", "Folder
// Name") and Video and Signature Search's type list row ("File Types", "No. of files found",
// "Name of file", "Path of file saved", "LastfileNo", "Count", "FolderName") in one record.
struct CarvedTypeRow {
  std::string type_name;
  std::uint64_t folder_count = 0;      // files in the current output folder in this pass
  std::string folder_name;             // TYPE, then TYPE_001, ...
  std::uint64_t last_file_number = 0;  // per-type numbering: the next file takes this + 1
  std::uint64_t files_found = 0;       // finished files, both passes
  std::array<std::uint64_t, 2> files_per_pass{};
  std::string last_file_name;
  std::string last_file_path;
};

// How a definition's type name finds its row: Photo Search takes the first row whose name starts
// with it, Video and Signature Search the row of exactly that name; both ignore case.
enum class TypeRowMatch { kPrefix, kExact };

class CarvedTypeTable {
 public:
  explicit CarvedTypeTable(TypeRowMatch match) : match_(match) {}

  // Photo Search: one row per type name of the General and then the Advance set, a name left out
  // when a row already starts with it.
  static CarvedTypeTable ForPhoto(const PhotoDefinitions& photo);
  // Video and Signature Search: one row per ticked checklist row, in checklist order.
  static CarvedTypeTable ForChecklist(const TypeChecklist& checklist);

  const std::vector<CarvedTypeRow>& Rows() const { return rows_; }
  CarvedTypeRow& Row(std::size_t index) { return rows_[index]; }
  // The index of the row of a type name; a type without one gets a row of its own.
  std::size_t RowFor(std::string_view type_name);
  // Start of a pass: every count to 0 and every folder back to the type's own name.
  void ResetFolders();

 private:
  CarvedTypeRow* Find(std::string_view type_name);
  void Append(std::string type_name);

  TypeRowMatch match_;
  std::vector<CarvedTypeRow> rows_;
};

}  // namespace pellora
