#include "carving/type_checklist.hpp"

#include <algorithm>
#include <utility>

#include "common/text.hpp"

namespace pellora {

const ChecklistRow* TypeChecklist::Find(std::string_view type_name) const {
  for (const ChecklistRow& row : rows_)
    if (EqualsIgnoreCase(row.extension, type_name)) return &row;
  return nullptr;
}

ChecklistRow* TypeChecklist::Find(std::string_view type_name) {
  return const_cast<ChecklistRow*>(std::as_const(*this).Find(type_name));
}

void TypeChecklist::SetAll(bool checked) {
  for (ChecklistRow& row : rows_) row.checked = checked;
}

bool TypeChecklist::AnyChecked() const {
  return std::any_of(rows_.begin(), rows_.end(), [](const ChecklistRow& row) { return row.checked; });
}

void TypeChecklist::SortByExtension() {
  std::stable_sort(rows_.begin(), rows_.end(),
                   [](const ChecklistRow& a, const ChecklistRow& b) { return a.extension < b.extension; });
}

void TypeChecklist::Insert(std::size_t index, ChecklistRow row) {
  rows_.insert(rows_.begin() + static_cast<std::ptrdiff_t>(std::min(index, rows_.size())), std::move(row));
}

namespace {

// Type name as the checklist reads it: after the last colon, one character (the dot) dropped, then
// trimmed.
std::string ChecklistTypeName(std::string_view line1) {
  const std::size_t colon = line1.rfind(':');
  std::string_view value = colon == std::string_view::npos ? line1 : line1.substr(colon + 1);
  if (!value.empty()) value.remove_prefix(1);
  return std::string(Trim(value));
}

}  // namespace

void AddChecklistRows(const std::vector<std::string>& lines, std::size_t& next_row, TypeChecklist& checklist) {
  ForEachDefinitionEntry(lines, [&](std::size_t, std::size_t, const auto& entry_lines) {
    const std::string type_name = ChecklistTypeName(entry_lines[0]);
    if (checklist.Find(type_name) != nullptr) return;
    checklist.Insert(next_row++, {ToUpperAscii(type_name), std::string(LineValue(entry_lines[5])), true});
  });
}

DefinitionLoad FillTypeChecklist(const std::filesystem::path& general_file, const std::filesystem::path& advance_file,
                                 std::size_t first_row, TypeChecklist& checklist) {
  std::size_t next_row = first_row;
  DefinitionLoad load;
  for (const std::filesystem::path& file : {general_file, advance_file}) {
    load = LoadDefinitionFile(file, [&](const std::vector<std::string>& lines) {
      if (!checklist.Frozen()) AddChecklistRows(lines, next_row, checklist);
      return std::vector<std::string>{};
    });
    if (!load.opened) break;
  }
  return load;
}

std::vector<std::string> AddSelectedDefinitions(const TypeChecklist& checklist, const std::vector<std::string>& lines,
                                                const std::filesystem::path& file, DefinitionSet& carving) {
  std::vector<std::string> rejections;
  ForEachDefinitionEntry(lines, [&](std::size_t entry, std::size_t first, const auto& entry_lines) {
    const std::string line1 = ToUpperAscii(entry_lines[0]);
    const std::string_view value = LineValue(line1);
    const std::string_view type_name = value.empty() ? value : value.substr(1);
    const ChecklistRow* row = checklist.Find(type_name);
    if (row == nullptr || !row->checked) return;
    const FileType1 record = ParseDefinitionEntry(line1, entry_lines[1], entry_lines[2], entry_lines[3]);
    if (std::string rejection = CheckDefinitionEntry(file, entry, first, record); !rejection.empty()) {
      rejections.push_back(std::move(rejection));
      return;
    }
    carving.Add(record);
  });
  return rejections;
}

DefinitionLoad LoadSelectedDefinitions(const TypeChecklist& checklist, const std::filesystem::path& file,
                                       DefinitionSet& carving) {
  return LoadDefinitionFile(file, [&](const std::vector<std::string>& lines) {
    return AddSelectedDefinitions(checklist, lines, file, carving);
  });
}

}  // namespace pellora
