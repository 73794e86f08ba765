#include "carving/output_naming.hpp"

#include <cstdio>

#include "common/text.hpp"

namespace pellora {

std::string CarvedFileName(std::string_view prefix, std::uint64_t number, std::string_view suffix,
                           std::string_view extension) {
  char digits[32];
  std::snprintf(digits, sizeof digits, "%05llu", static_cast<unsigned long long>(number));
  std::string name(prefix);
  name.append(digits).append(suffix).append(".").append(extension);
  return name;
}

std::string NextFolderName(std::string_view type_name, std::string_view current) {
  const std::size_t underscore = current.find('_');
  if (underscore == std::string_view::npos) return std::string(type_name) + "_001";
  const std::int64_t previous = ParseDecimalPrefix(current.substr(underscore + 1));
  const auto next = static_cast<unsigned long long>(previous < 0 ? 0 : previous) + 1;
  char digits[32];
  std::snprintf(digits, sizeof digits, "%03llu", next);
  return std::string(type_name) + "_" + digits;
}

std::string FolderSuffix(std::string_view folder_name) {
  const std::size_t underscore = folder_name.find('_');
  if (underscore == std::string_view::npos || underscore == 0) return {};
  return std::string(folder_name.substr(underscore));
}

}  // namespace pellora
