#include "carving/definition_file.hpp"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>
#include <fstream>
#include <iterator>
#include <sstream>

#include "common/text.hpp"

namespace pellora {

namespace {

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return 0;  // anything else counts as the digit 0
}

std::string EntryLabel(const std::filesystem::path& file, std::size_t entry, std::size_t first_line,
                       std::string_view extension) {
  std::ostringstream label;
  label << "Definition file \"" << file.filename().string() << "\", entry " << entry << " (lines " << first_line + 1
        << "-" << first_line + kLinesPerEntry;
  if (!extension.empty()) label << ", " << extension;
  label << ")";
  return label.str();
}

}  // namespace

std::vector<std::string> SplitDefinitionLines(std::string_view text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    const bool has_newline = end != std::string_view::npos;
    if (!has_newline) end = text.size();
    std::string_view line = text.substr(start, end - start);
    if (has_newline && !line.empty() && line.back() == '\r') line.remove_suffix(1);
    lines.emplace_back(line);
    start = has_newline ? end + 1 : end;
  }
  return lines;
}

std::optional<std::vector<std::string>> ReadDefinitionLines(const std::filesystem::path& file, int* error) {
  errno = 0;
  std::ifstream in(file, std::ios::binary);
  if (!in) {
    if (error != nullptr) *error = errno != 0 ? errno : ENOENT;
    return std::nullopt;
  }
  const std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  if (in.bad()) {
    if (error != nullptr) *error = EIO;
    return std::nullopt;
  }
  return SplitDefinitionLines(text);
}

std::string_view LineValue(std::string_view line) {
  const std::size_t colon = line.rfind(':');
  return Trim(colon == std::string_view::npos ? line : line.substr(colon + 1));
}

std::string OpenFailureMessage(int error) {
  std::string text = "Couldn't open source file: ";
  std::string system_text = std::strerror(error);
  if (system_text.size() > 1024) system_text.resize(1024);
  return text + system_text;
}

FileType1 ParseDefinitionEntry(std::string_view line1, std::string_view line2, std::string_view line3,
                               std::string_view line4) {
  FileType1 record;
  record.extension = std::string(LineValue(line1));
  record.maxSize = std::string(LineValue(line2));
  record.signatureHex = ToUpperAscii(LineValue(line3));
  std::string_view hex = record.signatureHex;
  std::size_t count = 0;
  while (!hex.empty()) {
    const std::string_view pair = hex.substr(0, 2);
    int value = 0;
    for (char digit : pair) value = value * 16 + HexDigit(digit);
    if (count < kMaxSignatureBytes) record.signature[count] = static_cast<std::uint8_t>(value);
    ++count;
    hex.remove_prefix(pair.size());
  }
  record.signatureLength = static_cast<std::int32_t>(count);
  record.firstByte = count > 0 ? record.signature[0] : -1;
  const std::int64_t position = ParseDecimalPrefix(LineValue(line4));
  record.position = static_cast<std::int32_t>(std::clamp<std::int64_t>(position, INT32_MIN, INT32_MAX));
  return record;
}

namespace {

std::string DefinitionProblem(const FileType1& record) {
  const std::size_t bytes = (record.signatureHex.size() + 1) / 2;
  if (bytes > kMaxSignatureBytes)
    return "the signature has " + std::to_string(bytes) + " bytes; at most " + std::to_string(kMaxSignatureBytes) +
           " are allowed";
  if (record.position < 1) return "the position " + std::to_string(record.position) + " is below 1";
  if (std::int64_t{record.position} - 1 + record.signatureLength > 512)
    return "the signature at position " + std::to_string(record.position) + " does not end in the first sector";
  return {};
}

}  // namespace

std::string CheckDefinitionEntry(const std::filesystem::path& file, std::size_t entry, std::size_t first_line,
                                 const FileType1& record) {
  const std::string problem = DefinitionProblem(record);
  if (problem.empty()) return {};
  return EntryLabel(file, entry, first_line, record.extension) + ": " + problem + "; the entry is ignored.";
}

std::vector<std::string> AddDefinitions(const std::vector<std::string>& lines, const std::filesystem::path& file,
                                        DefinitionSet& set) {
  std::vector<std::string> rejections;
  ForEachDefinitionEntry(lines, [&](std::size_t entry, std::size_t first, const auto& entry_lines) {
    const FileType1 record = ParseDefinitionEntry(entry_lines[0], entry_lines[1], entry_lines[2], entry_lines[3]);
    if (std::string rejection = CheckDefinitionEntry(file, entry, first, record); !rejection.empty()) {
      rejections.push_back(std::move(rejection));
      return;
    }
    set.Add(record);
  });
  return rejections;
}

DefinitionLoad LoadPhotoDefinitions(const std::filesystem::path& file, std::string_view set_name,
                                    PhotoDefinitions& photo) {
  DefinitionSet& set = set_name == "Advance" ? photo.advance : photo.general;
  return LoadDefinitionFile(file,
                            [&](const std::vector<std::string>& lines) { return AddDefinitions(lines, file, set); });
}

}  // namespace pellora
