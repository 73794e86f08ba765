#include "common/path_component.hpp"

#include <gtest/gtest.h>

namespace pellora {
namespace {

TEST(SafePathComponent, NothingClimbsOutOrSplitsIntoTwo) {
  struct Case {
    std::string name;
    std::string safe;
  };
  for (const Case& c :
       {Case{"IMG_0001.JPG", "IMG_0001.JPG"}, Case{"Holiday 2026.jpg", "Holiday 2026.jpg"}, Case{"..", "__"},
        Case{".", "_"}, Case{"", "_"}, Case{"../../etc/passwd", ".._.._etc_passwd"}, Case{"/abs", "_abs"},
        Case{std::string("a\0b", 3), "a_b"}, Case{"tab\there\n", "tab_here_"}, Case{"del\x7F", "del_"},
        Case{"...", "..."}, Case{"caf\xC3\xA9", "caf\xC3\xA9"}, Case{"back\\slash", "back\\slash"}})
    EXPECT_EQ(SafePathComponent(c.name), c.safe) << c.name;
}

}  // namespace
}  // namespace pellora
