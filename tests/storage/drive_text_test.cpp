#include <gtest/gtest.h>

#include "storage/bus_type.hpp"
#include "storage/size_text.hpp"

namespace pellora {
namespace {

TEST(SizeText, BytesThenUnitsWithTwoDecimals) {
  const struct {
    std::uint64_t bytes;
    const char* text;
  } cases[] = {{0, "0 Byte"},
               {1023, "1023 Byte"},
               {1024, "  1.00 KB"},
               {2048, "  2.00 KB"},
               {1048575, "1024.00 KB"},
               {1048576, "  1.00 MB"},
               {160ull << 20, "160.00 MB"},
               {15931539456ull, " 14.84 GB"},
               {1ull << 40, "  1.00 TB"},
               {~0ull, " 16.00 EB"}};
  for (const auto& c : cases) EXPECT_EQ(SizeText(c.bytes), c.text) << c.bytes;
}

TEST(BusType, NamesAndMediaTexts) {
  EXPECT_EQ(BusTypeName(7), "USB");
  EXPECT_EQ(BusTypeName(12), "SD");
  EXPECT_EQ(BusTypeName(15), "FILEBACKEDVIRTUAL");
  EXPECT_EQ(BusTypeName(22), "");
  EXPECT_EQ(BusTypeName(23), "UNKNOWN");
  EXPECT_EQ(BusTypeName(-1), "UNKNOWN");

  EXPECT_EQ(MediaTypeText(kRemovableMedia, 7), "Removable Media");
  EXPECT_EQ(MediaTypeText(kFixedMedia, 7), "External hard disk media");
  EXPECT_EQ(MediaTypeText(kFixedMedia, 11), "Fixed hard disk media");
  EXPECT_EQ(MediaTypeText(0, 7), "");
}

}  // namespace
}  // namespace pellora
