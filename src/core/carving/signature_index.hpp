#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "carving/file_type.hpp"

namespace pellora {

// The match rule of the carving searches, keyed for speed: for every sector only the distinct
// positions are probed, and a full comparison is made only for the definitions whose position and
// first byte agree with the probed byte. Positions are tried in the order of the set's position
// list and the candidates of one position in file order, exactly as walking the set with
// FindNextDefinition does, so the same definition wins.
class SignatureIndex {
 public:
  explicit SignatureIndex(const DefinitionSet& set);

  // The index (in set.records) of the definition that starts a file at this 512-byte sector, if any.
  std::optional<std::size_t> Match(const std::uint8_t* sector) const;

 private:
  struct Probe {
    std::size_t offset = 0;  // position - 1
    // Candidates for each probed byte value: [first[b], first[b + 1]) in `candidates`.
    std::array<std::uint32_t, 257> first{};
    std::vector<std::uint32_t> candidates;
  };

  const DefinitionSet& set_;
  std::vector<Probe> probes_;
};

}  // namespace pellora
