#pragma once

#include <array>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "carving/file_type.hpp"

namespace pellora {

// A definition file is plain 8-bit text: entries of exactly six lines, back to back, no header, no
// comments. The value of a line is the text after its last colon, trimmed:
//   1 extension (".JPG")   2 maximum size in bytes   3 signature in hex   4 position (1-based)
//   5 not used             6 description
// A blank line is a line like any other and shifts every entry after it.

inline constexpr std::size_t kLinesPerEntry = 6;

// The outcome of reading a definition file.
struct DefinitionLoad {
  bool opened = false;
  std::string error;                    // "Couldn't open source file: ..." when not opened
  std::vector<std::string> rejections;  // one message per entry that was left out
};

// The lines of a definition file; a line ends at LF, with a CR before it dropped. nullopt when the
// file cannot be opened (errno kept in *error).
std::optional<std::vector<std::string>> ReadDefinitionLines(const std::filesystem::path& file, int* error);
// The same rule over text already in memory.
std::vector<std::string> SplitDefinitionLines(std::string_view text);

// The value of a line: text after the last colon (the whole line without one), trimmed.
std::string_view LineValue(std::string_view line);

// "Couldn't open source file: " + the system's text for errno.
std::string OpenFailureMessage(int error);

// Builds a record from lines 1 to 4 of an entry (line 1 already in the case the reader wants).
FileType1 ParseDefinitionEntry(std::string_view line1, std::string_view line2, std::string_view line3,
                               std::string_view line4);

// The message that leaves an entry out (more than 50 signature bytes, a position below 1, a
// signature that does not end in the first sector), naming file and entry; empty when it is usable.
std::string CheckDefinitionEntry(const std::filesystem::path& file, std::size_t entry, std::size_t first_line,
                                 const FileType1& record);

// Calls visit(entry_number, first_line_index, lines of the entry) for every entry; lines missing at
// the end of the file read as empty.
template <typename Visit>
void ForEachDefinitionEntry(const std::vector<std::string>& lines, Visit&& visit) {
  static const std::string kEmpty;
  std::size_t entry = 0;
  for (std::size_t first = 0; first < lines.size(); first += kLinesPerEntry) {
    std::array<std::string_view, kLinesPerEntry> entry_lines{};
    for (std::size_t k = 0; k < kLinesPerEntry; ++k)
      entry_lines[k] = first + k < lines.size() ? std::string_view(lines[first + k]) : std::string_view(kEmpty);
    visit(++entry, first, entry_lines);
  }
}

// Reads file and hands its lines to add(lines), which returns the rejections of its entries.
template <typename Add>
DefinitionLoad LoadDefinitionFile(const std::filesystem::path& file, Add&& add) {
  DefinitionLoad load;
  int error = 0;
  const auto lines = ReadDefinitionLines(file, &error);
  if (!lines) {
    load.error = OpenFailureMessage(error);
    return load;
  }
  load.opened = true;
  load.rejections = add(*lines);
  return load;
}

// The two photo sets kept for the life of the process.
struct PhotoDefinitions {
  DefinitionSet general;  // "\QELExt2.dll"
  DefinitionSet advance;  // "\QELExt2Adv.dll"
};

// Reads every entry of file into the set named "General" or "Advance" of photo.
DefinitionLoad LoadPhotoDefinitions(const std::filesystem::path& file, std::string_view set_name,
                                    PhotoDefinitions& photo);
// The same over lines already read; file only names the file in messages. Returns the rejections.
std::vector<std::string> AddDefinitions(const std::vector<std::string>& lines, const std::filesystem::path& file,
                                        DefinitionSet& set);

}  // namespace pellora
