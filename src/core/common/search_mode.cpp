#include "common/search_mode.hpp"

namespace pellora {

std::string_view ModeLetter(SearchMode mode) {
  switch (mode) {
    case SearchMode::kBasic:
      return "B";
    case SearchMode::kDeep:
      return "D";
    case SearchMode::kPhoto:
      return "P";
    case SearchMode::kVideo:
    case SearchMode::kSignature:
      return "S";
    case SearchMode::kNone:
      break;
  }
  return "M";
}

std::string_view SearchModeLabel(SearchMode mode) {
  switch (mode) {
    case SearchMode::kBasic:
      return "Basic Search";
    case SearchMode::kDeep:
      return "Deep Search";
    case SearchMode::kPhoto:
      return "Photo Search";
    case SearchMode::kVideo:
      return "Video Search";
    case SearchMode::kSignature:
      return "Signature Search";
    case SearchMode::kNone:
      break;
  }
  return "";
}

}  // namespace pellora
