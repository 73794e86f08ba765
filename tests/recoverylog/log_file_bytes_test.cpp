#include "recoverylog/log_file_bytes.hpp"

#include <gtest/gtest.h>

#include <cerrno>
#include <string>

#include "support/temp_dir.hpp"

namespace pellora {
namespace {

std::string Text(std::span<const std::byte> bytes) {
  return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

// A log is read whole up to a size and mapped beyond it: both give the file's bytes.
TEST(LogFileBytes, ReadOrMappedTheBytesAreTheFile) {
  test::TempDir dir;
  std::string content;
  for (int i = 0; i < 5000; ++i) content += static_cast<char>(i * 31);
  test::WriteFile(dir / "a.DMC", content);
  test::WriteFile(dir / "empty.DMC", "");
  for (const std::size_t read_whole_up_to : {LogFileBytes::kReadWholeUpTo, std::size_t{0}}) {
    SCOPED_TRACE(read_whole_up_to);
    const LogFileBytes file(dir / "a.DMC", read_whole_up_to);
    ASSERT_TRUE(file.Opened()) << file.Error();
    EXPECT_EQ(file.Mapped(), read_whole_up_to == 0);
    EXPECT_EQ(Text(file.Bytes()), content);
    const LogFileBytes empty(dir / "empty.DMC", read_whole_up_to);
    ASSERT_TRUE(empty.Opened());
    EXPECT_TRUE(empty.Bytes().empty());
  }
  const LogFileBytes missing(dir / "missing.DMC");
  EXPECT_FALSE(missing.Opened());
  EXPECT_EQ(missing.Error(), ENOENT);
  const LogFileBytes folder(dir.Path());
  EXPECT_FALSE(folder.Opened());
  EXPECT_EQ(folder.Error(), EISDIR);
}

}  // namespace
}  // namespace pellora
