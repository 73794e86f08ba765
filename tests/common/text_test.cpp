#include "common/text.hpp"

#include <gtest/gtest.h>

namespace pellora {
namespace {

TEST(Text, DecimalPrefixAsTheCRuntimeReadsIt) {
  struct Case {
    const char* text;
    std::int64_t value;
  };
  for (const Case c : {Case{"42", 42}, Case{"  42abc", 42}, Case{"-7", -7}, Case{"+8", 8}, Case{"", 0}, Case{"abc", 0},
                       Case{"4294967295", 4294967295}, Case{"99999999999999999999999", INT64_MAX}})
    EXPECT_EQ(ParseDecimalPrefix(c.text), c.value) << c.text;
}

TEST(Text, Utf16RoundTripIncludingSurrogatePairs) {
  const std::string text = "Caf\xC3\xA9 \xF0\x9F\x93\xB7 \xE6\x97\xA5";  // Café 📷 日
  const std::string utf16 = Utf8ToUtf16Le(text);
  EXPECT_EQ(utf16.size(), 2u * 9u);  // the camera needs a surrogate pair
  EXPECT_EQ(utf16.substr(0, 2), std::string("C\0", 2));
  EXPECT_EQ(Utf16LeToUtf8(utf16), text);
  EXPECT_EQ(Utf16LeToUtf8(std::string("\x00\xD8"
                                      "A\0",
                                      4)),
            "\xEF\xBF\xBD"
            "A");                                                            // lone surrogate
  EXPECT_EQ(Utf8ToUtf16Le("\xFF"), std::string("\xFD\xFF", 2));              // broken UTF-8
  EXPECT_EQ(Utf8ToUtf16Le("\xE6\x97"), std::string("\xFD\xFF\xFD\xFF", 4));  // cut short
}

TEST(Text, WindowsCodePage) {
  // The five bytes the code page leaves undefined keep their own value.
  EXPECT_EQ(Cp1252ToUtf8("\x80 \xE9 \x9F \x81"), "\xE2\x82\xAC \xC3\xA9 \xC5\xB8 \xC2\x81");
}

TEST(Text, TrimCaseAndReplace) {
  EXPECT_EQ(Trim(" \t a b \r\n"), "a b");
  EXPECT_TRUE(EqualsIgnoreCase("Mp4", "MP4"));
  EXPECT_FALSE(EqualsIgnoreCase("MP4", "MP"));
  EXPECT_TRUE(StartsWithIgnoreCase("JPG_001", "jpg"));
  EXPECT_EQ(ReplaceAll("a\r\nb\r\n", "\r\n", "%0A"), "a%0Ab%0A");
}

}  // namespace
}  // namespace pellora
