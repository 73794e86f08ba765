#include "carving/carved_type_table.hpp"

#include "common/text.hpp"

namespace pellora {

CarvedTypeTable CarvedTypeTable::ForPhoto(const PhotoDefinitions& photo) {
  CarvedTypeTable table(TypeRowMatch::kPrefix);
  for (const DefinitionSet* set : {&photo.general, &photo.advance})
    for (const FileType1& record : set->records)
      if (table.Find(record.TypeName()) == nullptr) table.Append(record.TypeName());
  return table;
}

CarvedTypeTable CarvedTypeTable::ForChecklist(const TypeChecklist& checklist) {
  CarvedTypeTable table(TypeRowMatch::kExact);
  for (const ChecklistRow& row : checklist.Rows())
    if (row.checked) table.Append(ToUpperAscii(row.extension));
  return table;
}

CarvedTypeRow* CarvedTypeTable::Find(std::string_view type_name) {
  for (CarvedTypeRow& row : rows_) {
    const bool same = match_ == TypeRowMatch::kPrefix ? StartsWithIgnoreCase(row.type_name, type_name)
                                                      : EqualsIgnoreCase(row.type_name, type_name);
    if (same) return &row;
  }
  return nullptr;
}

std::size_t CarvedTypeTable::RowFor(std::string_view type_name) {
  if (const CarvedTypeRow* row = Find(type_name)) return static_cast<std::size_t>(row - rows_.data());
  Append(std::string(type_name));
  return rows_.size() - 1;
}

void CarvedTypeTable::ResetFolders() {
  for (CarvedTypeRow& row : rows_) {
    row.folder_count = 0;
    row.folder_name = row.type_name;
  }
}

void CarvedTypeTable::Append(std::string type_name) {
  CarvedTypeRow row;
  row.folder_name = type_name;
  row.type_name = std::move(type_name);
  rows_.push_back(std::move(row));
}

}  // namespace pellora
