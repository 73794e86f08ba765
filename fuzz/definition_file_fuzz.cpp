// Definition files are plain text a person may edit; no content may crash the readers or leave a
// record that claims bytes outside its sector.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "carving/definition_file.hpp"
#include "carving/type_checklist.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const auto lines = pellora::SplitDefinitionLines(std::string_view(reinterpret_cast<const char*>(data), size));
  pellora::DefinitionSet set;
  pellora::AddDefinitions(lines, "fuzz.dll", set);
  std::uint8_t sector[512] = {};
  for (const pellora::FileType1& record : set.records) {
    if (record.signatureLength < 0 || record.signatureLength > 50 || record.position < 1 ||
        std::int64_t{record.position} - 1 + record.signatureLength > 512)
      std::abort();
    record.Matches(sector);
    (void)pellora::FindNextDefinition(set, record.position, record.firstByte, std::nullopt);
  }
  pellora::TypeChecklist checklist;
  std::size_t next_row = 0;
  pellora::AddChecklistRows(lines, next_row, checklist);
  pellora::DefinitionSet carving;
  pellora::AddSelectedDefinitions(checklist, lines, "fuzz.dll", carving);
  return 0;
}
