#include "recoverylog/value_stream.hpp"

#include <algorithm>
#include <cstring>

#include "common/byte_reader.hpp"
#include "common/text.hpp"

namespace pellora {

namespace {

constexpr std::uint8_t kTextTag = 0xFF;
constexpr std::uint16_t kTextMarker = 0xFFFE;
constexpr std::uint8_t kLongLength = 0xFF;
constexpr std::uint16_t kVeryLongLength = 0xFFFF;

}  // namespace

void LogValueWriter::Integer(std::uint64_t value, int bytes) {
  char* at = Room(static_cast<std::size_t>(bytes));
  for (int i = 0; i < bytes; ++i) at[i] = static_cast<char>((value >> (8 * i)) & 0xFF);
  used_ += static_cast<std::size_t>(bytes);
}

void LogValueWriter::Text(std::string_view utf8) {
  // Most texts of a log are numbers and plain names: ASCII goes out without a converted copy.
  unsigned char high = 0;
  for (char c : utf8) high |= static_cast<unsigned char>(c);
  const bool ascii = high < 0x80;
  const std::string converted = ascii ? std::string() : Utf8ToUtf16Le(utf8);
  const std::uint64_t length = ascii ? utf8.size() : converted.size() / 2;
  Integer(kTextTag, 1);
  U16(kTextMarker);
  if (length < kLongLength) {
    Integer(length, 1);
  } else {
    Integer(kLongLength, 1);
    if (length < 0xFFFE) {
      U16(static_cast<std::uint16_t>(length));
    } else {
      U16(kVeryLongLength);
      U32(static_cast<std::uint32_t>(length));
    }
  }
  if (ascii)
    WidenedAscii(utf8);
  else
    Bytes(converted);
}

void LogValueWriter::WidenedAscii(std::string_view ascii) {
  while (!ascii.empty()) {
    if (kBufferBytes - used_ < 2) Flush();
    const std::size_t part = std::min(ascii.size(), (kBufferBytes - used_) / 2);
    char* at = buffer_.data() + used_;
    for (std::size_t i = 0; i < part; ++i) {
      at[2 * i] = ascii[i];
      at[2 * i + 1] = 0;
    }
    used_ += 2 * part;
    ascii.remove_prefix(part);
  }
}

void LogValueWriter::Line(std::string_view utf8) { Bytes(Utf8ToUtf16Le(utf8)); }

void LogValueWriter::Bytes(std::string_view bytes) {
  while (!bytes.empty()) {
    if (used_ == kBufferBytes) Flush();
    const std::size_t part = std::min(kBufferBytes - used_, bytes.size());
    std::memcpy(buffer_.data() + used_, bytes.data(), part);
    used_ += part;
    bytes.remove_prefix(part);
  }
}

void LogValueWriter::Flush() {
  if (used_ == 0) return;
  if (!file_.Write(AsBytes(buffer_.data(), used_))) throw LogWriteError(std::strerror(file_.Error()));
  used_ = 0;
}

std::span<const std::byte> LogValueReader::Take(std::size_t count) {
  if (count > Remaining()) throw LogFormatError("The log ends before a value it should hold.\n\n");
  const std::span<const std::byte> part = bytes_.subspan(at_, count);
  at_ += count;
  return part;
}

std::uint64_t LogValueReader::Integer(int bytes) {
  const std::span<const std::byte> part = Take(static_cast<std::size_t>(bytes));
  std::uint64_t value = 0;
  for (int i = 0; i < bytes; ++i)
    value |= static_cast<std::uint64_t>(std::to_integer<std::uint8_t>(part[static_cast<std::size_t>(i)])) << (8 * i);
  return value;
}

std::string LogValueReader::Text() {
  if (Integer(1) != kTextTag || U16() != kTextMarker) throw LogFormatError("A text of the log has no text tag.\n\n");
  std::uint64_t length = Integer(1);
  if (length == kLongLength) {
    length = U16();
    if (length == kVeryLongLength) length = U32();
  }
  if (length > Remaining() / 2) throw LogFormatError("A text of the log is longer than the rest of the file.\n\n");
  const std::span<const std::byte> units = Take(static_cast<std::size_t>(length) * 2);
  // Plain ASCII (every high byte zero, every low byte below 0x80) is narrowed directly.
  unsigned bits = 0;
  for (std::size_t i = 0; i < units.size(); i += 2)
    bits |= std::to_integer<unsigned>(units[i]) | (std::to_integer<unsigned>(units[i + 1]) << 8);
  if (bits >= 0x80) return Utf16LeToUtf8(std::string_view(reinterpret_cast<const char*>(units.data()), units.size()));
  std::string text(static_cast<std::size_t>(length), '\0');
  for (std::size_t i = 0; i < text.size(); ++i) text[i] = static_cast<char>(units[2 * i]);
  return text;
}

std::string LogValueReader::Line() {
  const std::size_t start = at_;
  std::size_t end = start;
  while (true) {
    if (Remaining() - (end - start) < 2) throw LogFormatError("The log ends inside its folder tree.\n\n");
    if (bytes_[end] == std::byte{'\n'} && bytes_[end + 1] == std::byte{0}) break;
    end += 2;
  }
  std::size_t text_end = end;
  if (text_end - start >= 2 && bytes_[text_end - 2] == std::byte{'\r'} && bytes_[text_end - 1] == std::byte{0})
    text_end -= 2;
  at_ = end + 2;
  return Utf16LeToUtf8(std::string_view(reinterpret_cast<const char*>(bytes_.data() + start), text_end - start));
}

std::uint64_t LogValueReader::Count(std::uint64_t count, std::size_t item_bytes, const char* what) const {
  if (item_bytes != 0 && count > Remaining() / item_bytes)
    throw LogFormatError(std::string("The log counts more ") + what + " than it could hold.\n\n");
  return count;
}

}  // namespace pellora
