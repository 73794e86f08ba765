#include "carving/signature_index.hpp"

namespace pellora {

SignatureIndex::SignatureIndex(const DefinitionSet& set) : set_(set) {
  for (const std::int32_t position : set.positions) {
    // A position outside the sector can never match; probing it would read past the sector.
    if (position < 1 || position > 512) continue;
    Probe probe;
    probe.offset = static_cast<std::size_t>(position - 1);
    std::array<std::vector<std::uint32_t>, 256> by_byte;
    for (std::size_t i = 0; i < set.records.size(); ++i) {
      const FileType1& record = set.records[i];
      if (record.position == position && record.firstByte >= 0 && record.firstByte <= 255)
        by_byte[static_cast<std::size_t>(record.firstByte)].push_back(static_cast<std::uint32_t>(i));
    }
    for (std::size_t b = 0; b < 256; ++b) {
      probe.first[b] = static_cast<std::uint32_t>(probe.candidates.size());
      probe.candidates.insert(probe.candidates.end(), by_byte[b].begin(), by_byte[b].end());
    }
    probe.first[256] = static_cast<std::uint32_t>(probe.candidates.size());
    probes_.push_back(std::move(probe));
  }
}

std::optional<std::size_t> SignatureIndex::Match(const std::uint8_t* sector) const {
  for (const Probe& probe : probes_) {
    const std::uint8_t byte = sector[probe.offset];
    for (std::uint32_t k = probe.first[byte]; k < probe.first[byte + 1u]; ++k) {
      const std::uint32_t candidate = probe.candidates[k];
      if (set_.records[candidate].Matches(sector)) return candidate;
    }
  }
  return std::nullopt;
}

}  // namespace pellora
