#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "common/large_table_allocator.hpp"
#include "common/output_file.hpp"

namespace pellora {

// A log that ends early or holds a value that cannot be what the layout says. Its text opens the
// invalid-log message.
struct LogFormatError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

// The destination would not take the log (a full disk, a lost drive); the text is the system's.
struct LogWriteError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

// The typed values of a recovery log, written in sequence through a buffer: little-endian integers,
// tagged texts with their length in UTF-16 code units, and bare lines of UTF-16LE.
class LogValueWriter {
 public:
  // A log of 200,000 files is about 20 MB. Written 4 KiB at a time it cost 5,000 system calls,
  // which took as long as forming the values; the kernel takes 2 MiB writes at half the cost of
  // 64 KiB ones, and the buffer is one huge page.
  static constexpr std::size_t kBufferBytes = std::size_t{2} << 20;

  explicit LogValueWriter(OutputFile& file) : file_(file) {}

  void U16(std::uint16_t value) { Integer(value, 2); }
  void U32(std::uint32_t value) { Integer(value, 4); }
  void U64(std::uint64_t value) { Integer(value, 8); }
  // UTF-8 text, stored as UTF-16LE behind its tag, marker and length.
  void Text(std::string_view utf8);
  // UTF-8 text stored as UTF-16LE alone.
  void Line(std::string_view utf8);
  // What the buffer holds goes to the file; throws LogWriteError when it does not.
  void Flush();

 private:
  void Integer(std::uint64_t value, int bytes);
  void TextHeader(std::uint64_t length);
  // A text that is not short ASCII: its length may need the longer prefixes, its units a
  // conversion, and they may not fit in what is left of the buffer.
  void LongText(std::string_view utf8);
  void Bytes(std::string_view bytes);
  // ASCII text as UTF-16LE code units, widened straight into the buffer.
  void WidenedAscii(std::string_view ascii);
  // Room for count more bytes (at most the buffer's size), flushing first when there is not.
  char* Room(std::size_t count) {
    if (kBufferBytes - used_ < count) Flush();
    return buffer_.data() + used_;
  }

  OutputFile& file_;
  std::vector<char, LargeTableAllocator<char>> buffer_ = std::vector<char, LargeTableAllocator<char>>(kBufferBytes);
  std::size_t used_ = 0;
};

// Reads the values back from the bytes of a log. Every read checks what is left, so a short or
// garbled file raises LogFormatError instead of reading past its end.
class LogValueReader {
 public:
  explicit LogValueReader(std::span<const std::byte> bytes) : bytes_(bytes) {}

  std::uint16_t U16() { return static_cast<std::uint16_t>(Integer(2)); }
  std::uint32_t U32() { return static_cast<std::uint32_t>(Integer(4)); }
  std::uint64_t U64() { return Integer(8); }
  std::string Text() {
    std::string text;
    TextInto(text);
    return text;
  }
  // The next text into out, in the storage out already has: the loader reads a million of them.
  void TextInto(std::string& out);
  // One line: the code units up to the next line feed, the carriage return before it dropped.
  std::string Line();

  std::size_t Remaining() const { return bytes_.size() - at_; }
  // A count of items read from the log that each take at least item_bytes: more than the rest of
  // the file could hold is a corrupt count, not a reason to allocate.
  std::uint64_t Count(std::uint64_t count, std::size_t item_bytes, const char* what) const;

 private:
  std::uint64_t Integer(int bytes);
  std::span<const std::byte> Take(std::size_t count);

  std::span<const std::byte> bytes_;
  std::size_t at_ = 0;
};

// The smallest a text can be: tag, marker and a one-byte length.
inline constexpr std::size_t kEmptyTextBytes = 4;

}  // namespace pellora
