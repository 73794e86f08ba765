#include "terminal_text.hpp"

namespace pellora::cli {

namespace {

void AppendOctal(std::string& out, unsigned char byte) {
  out.push_back('\\');
  out.push_back(static_cast<char>('0' + (byte >> 6)));
  out.push_back(static_cast<char>('0' + ((byte >> 3) & 7)));
  out.push_back(static_cast<char>('0' + (byte & 7)));
}

}  // namespace

std::string TerminalText(std::string_view text, bool keep_newlines) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto byte = static_cast<unsigned char>(text[i]);
    // U+0080..U+009F arrive as C2 80..C2 9F; terminals take some of them (CSI) as commands.
    if (byte == 0xC2 && i + 1 < text.size()) {
      const auto next = static_cast<unsigned char>(text[i + 1]);
      if (next >= 0x80 && next <= 0x9F) {
        AppendOctal(out, byte);
        AppendOctal(out, next);
        ++i;
        continue;
      }
    }
    if (byte >= 0x20 && byte != 0x7F) {
      out.push_back(static_cast<char>(byte));
      continue;
    }
    switch (byte) {
      case '\n':
        out += keep_newlines ? "\n" : "\\n";
        break;
      case '\t':
        out += "\\t";
        break;
      case '\r':
        out += "\\r";
        break;
      default:
        AppendOctal(out, byte);
        break;
    }
  }
  return out;
}

}  // namespace pellora::cli
