#include "carving/signature_index.hpp"

#include <gtest/gtest.h>

#include <random>

#include "carving_fixture.hpp"

namespace pellora {
namespace {

// The rule as written: positions in list order, and for each the candidates FindNextDefinition
// walks in file order; the first whose bytes all agree wins.
std::optional<std::size_t> ReferenceMatch(const DefinitionSet& set, const std::uint8_t* sector) {
  for (const std::int32_t position : set.positions) {
    if (position < 1 || position > 512) continue;
    const std::int32_t probe = sector[position - 1];
    for (auto candidate = FindNextDefinition(set, position, probe, std::nullopt); candidate;
         candidate = FindNextDefinition(set, position, probe, candidate))
      if (set.records[*candidate].Matches(sector)) return candidate;
  }
  return std::nullopt;
}

TEST(SignatureIndex, AgreesWithTheWalkOverTheRecordsOnRandomSetsAndSectors) {
  std::mt19937 random(20260701);
  for (int round = 0; round < 200; ++round) {
    // Short signatures over few byte values and positions, so that many sectors match several.
    std::string text;
    const int entries = 1 + static_cast<int>(random() % 12);
    for (int e = 0; e < entries; ++e) {
      std::string hex;
      const int length = 1 + static_cast<int>(random() % 3);
      for (int i = 0; i < length; ++i) hex += "AB"[random() % 2] + std::string(1, "01"[random() % 2]);
      const int position = 1 + static_cast<int>(random() % 4) * 169;  // 1, 170, 339, 508
      text += test::DefinitionEntry("T" + std::to_string(e), 1000, hex, position);
    }
    const DefinitionSet set = test::Definitions(text);
    const SignatureIndex index(set);
    std::array<std::uint8_t, 512> sector{};
    for (int trial = 0; trial < 200; ++trial) {
      for (std::uint8_t& byte : sector) byte = static_cast<std::uint8_t>(0xA0 + (random() % 2) * 0x10 + random() % 2);
      ASSERT_EQ(index.Match(sector.data()), ReferenceMatch(set, sector.data())) << text;
    }
  }
}

TEST(SignatureIndex, FirstPositionOfTheListThenFirstDefinitionInFileOrderWins) {
  const DefinitionSet set =
      test::Definitions(test::DefinitionEntry("ONE", 1, "AA", 5) + test::DefinitionEntry("TWO", 1, "BB") +
                        test::DefinitionEntry("THREE", 1, "AACC", 5) + test::DefinitionEntry("FOUR", 1, "AA", 5));
  const SignatureIndex index(set);
  std::array<std::uint8_t, 512> sector{};
  sector[0] = 0xBB;
  sector[4] = 0xAA;
  sector[5] = 0xCC;
  EXPECT_EQ(index.Match(sector.data()), 0u);  // position 5 is listed first; ONE comes before THREE
  sector[4] = 0;
  EXPECT_EQ(index.Match(sector.data()), 1u);
  sector[0] = 0;
  EXPECT_EQ(index.Match(sector.data()), std::nullopt);
}

}  // namespace
}  // namespace pellora
