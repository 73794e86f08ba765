#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pellora {

inline constexpr std::size_t kMaxSignatureBytes = 50;

// One signature definition: the bytes that begin a file of a type, where they stand in the file's
// first sector, and how large such a file can grow.
struct FileType1 {
  std::int32_t position = 0;    // 1-based position of the first signature byte in the sector
  std::int32_t firstByte = -1;  // signature[0]; -1 for an empty signature, which never matches
  std::array<std::uint8_t, kMaxSignatureBytes> signature{};
  std::int32_t signatureLength = 0;
  std::string extension;     // ".JPG": the dot is kept
  std::string maxSize;       // decimal bytes, as written in the file
  std::string signatureHex;  // the signature line in upper case

  // The type name shown to people and used for folder names: the extension without its first
  // character (JPG for .JPG).
  std::string TypeName() const { return extension.empty() ? std::string() : extension.substr(1); }
  // maxSize as a number (digits up to the first non-digit; empty gives 0).
  std::int64_t MaxSizeBytes() const;
  // True when the signature stands at its position in this 512-byte sector.
  bool Matches(const std::uint8_t* sector) const;
};

// A definition set: the records in file order and each distinct position once, in the order of
// first appearance.
struct DefinitionSet {
  std::vector<FileType1> records;
  std::vector<std::int32_t> positions;

  void Add(const FileType1& record);
  void Clear();
  bool Empty() const { return records.empty(); }
};

// Walks the records after `after` (from the first when none) and returns the index of the first
// whose position and first byte equal the arguments.
std::optional<std::size_t> FindNextDefinition(const DefinitionSet& set, std::int32_t position, std::int32_t first_byte,
                                              std::optional<std::size_t> after);

}  // namespace pellora
