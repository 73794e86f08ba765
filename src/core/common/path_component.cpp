#include "common/path_component.hpp"

namespace pellora {

std::string SafePathComponent(std::string_view name) {
  std::string safe(name);
  for (char& c : safe) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '/' || byte < 0x20 || byte == 0x7F) c = '_';
  }
  if (safe.empty()) return "_";
  if (safe == "." || safe == "..") safe.assign(safe.size(), '_');
  return safe;
}

}  // namespace pellora
