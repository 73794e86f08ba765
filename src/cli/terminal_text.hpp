#pragma once

#include <string>
#include <string_view>

namespace pellora::cli {

// Text for the terminal with its control characters escaped as `ls` escapes them (\t, \n, \033,
// C1 controls as their two UTF-8 bytes, \302\233): a name read from a medium must not recolour or
// rewrite the person's terminal. keep_newlines leaves the line breaks of our own messages alone.
std::string TerminalText(std::string_view text, bool keep_newlines = false);

}  // namespace pellora::cli
