#include "recoverylog/value_stream.hpp"

#include <algorithm>
#include <cstring>

#include "common/ascii_units.hpp"
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

void LogValueWriter::TextHeader(std::uint64_t length) {
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
}

void LogValueWriter::Text(std::string_view utf8) {
  // Most texts of a log are numbers and plain names: short ASCII is widened straight into the
  // buffer behind a one-byte length, and only what is not goes the long way.
  if (utf8.size() < kLongLength) {
    char* at = Room(kEmptyTextBytes + 2 * utf8.size());
    if (WidenAscii(utf8, at + kEmptyTextBytes)) {
      at[0] = static_cast<char>(kTextTag);
      at[1] = static_cast<char>(kTextMarker & 0xFF);
      at[2] = static_cast<char>(kTextMarker >> 8);
      at[3] = static_cast<char>(utf8.size());
      used_ += kEmptyTextBytes + 2 * utf8.size();
      return;
    }
  }
  LongText(utf8);
}

void LogValueWriter::LongText(std::string_view utf8) {
  unsigned char high = 0;
  for (char c : utf8) high |= static_cast<unsigned char>(c);
  const bool ascii = high < 0x80;
  const std::string converted = ascii ? std::string() : Utf8ToUtf16Le(utf8);
  TextHeader(ascii ? utf8.size() : converted.size() / 2);
  if (ascii)
    WidenedAscii(utf8);
  else
    Bytes(converted);
}

void LogValueWriter::WidenedAscii(std::string_view ascii) {
  while (!ascii.empty()) {
    if (kBufferBytes - used_ < 2) Flush();
    const std::size_t part = std::min(ascii.size(), (kBufferBytes - used_) / 2);
    (void)WidenAscii(ascii.substr(0, part), buffer_.data() + used_);  // known to be ASCII
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

void LogValueReader::TextInto(std::string& out) {
  if (Integer(1) != kTextTag || U16() != kTextMarker) throw LogFormatError("A text of the log has no text tag.\n\n");
  std::uint64_t length = Integer(1);
  if (length == kLongLength) {
    length = U16();
    if (length == kVeryLongLength) length = U32();
  }
  if (length > Remaining() / 2) throw LogFormatError("A text of the log is longer than the rest of the file.\n\n");
  const std::span<const std::byte> units = Take(static_cast<std::size_t>(length) * 2);
  out.resize(static_cast<std::size_t>(length));
  if (!NarrowAscii(units.data(), out.size(), out.data()))
    out = Utf16LeToUtf8(std::string_view(reinterpret_cast<const char*>(units.data()), units.size()));
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
