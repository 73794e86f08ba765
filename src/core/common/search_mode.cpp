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

}  // namespace pellora
