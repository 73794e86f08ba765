#include "common/ascii_units.hpp"

#include <gtest/gtest.h>

#include <string>

#include "common/text.hpp"

namespace pellora {
namespace {

const std::byte* Units(const std::string& bytes) { return reinterpret_cast<const std::byte*>(bytes.data()); }

// Lengths on each side of the eight- and four-character steps, and a character that is not ASCII
// (or a code unit past 0x7F) at every place of them, so the word steps and the tail are all seen.
TEST(AsciiUnits, WidenAndNarrowAgreeWithTheGeneralConversion) {
  for (std::size_t length = 0; length <= 19; ++length) {
    std::string text;
    for (std::size_t i = 0; i < length; ++i) text += static_cast<char>('!' + (i * 7) % 94);
    SCOPED_TRACE(text);
    std::string wide(2 * length, '\x55');
    ASSERT_TRUE(WidenAscii(text, wide.data()));
    EXPECT_EQ(wide, Utf8ToUtf16Le(text));
    std::string narrow(length, '\x55');
    ASSERT_TRUE(NarrowAscii(Units(wide), length, narrow.data()));
    EXPECT_EQ(narrow, text);

    for (std::size_t at = 0; at < length; ++at) {
      std::string high = text;
      high[at] = '\xE9';
      EXPECT_FALSE(WidenAscii(high, wide.data())) << at;
      for (const char* unit : {"\x80\x00", "\x41\x01", "\x00\xD8"}) {
        std::string units = Utf8ToUtf16Le(text);
        units.replace(2 * at, 2, std::string(unit, 2));
        EXPECT_FALSE(NarrowAscii(Units(units), length, narrow.data())) << at;
      }
    }
  }
}

}  // namespace
}  // namespace pellora
