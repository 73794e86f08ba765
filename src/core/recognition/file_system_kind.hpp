#pragma once

#include <cstdint>
#include <ostream>
#include <string>
#include <string_view>

namespace pellora {

// The file system of a partition as the engines tell it apart. Its text ("FAT16", "FAT32",
// "NTFS") is made only where the system shows, compares or stores it (drive tree, recovery log,
// JSON); a name the engines cannot read ("Unknown", "exFAT" ...) is kept as it came, so that
// messages still name it.
class FileSystemKind {
 public:
  enum Kind : std::uint8_t { kNone, kFat16, kFat32, kNtfs, kOther };

  FileSystemKind() = default;
  FileSystemKind(Kind kind) : kind_(kind) {}  // NOLINT: a kind is a file system
  // From a text: the three names the engines read become their kinds, anything else kOther.
  FileSystemKind(std::string_view text);                                               // NOLINT
  FileSystemKind(const char* text) : FileSystemKind(std::string_view(text)) {}         // NOLINT
  FileSystemKind(const std::string& text) : FileSystemKind(std::string_view(text)) {}  // NOLINT

  Kind Get() const { return kind_; }
  bool Fat() const { return kind_ == kFat16 || kind_ == kFat32; }
  bool Ntfs() const { return kind_ == kNtfs; }
  bool Readable() const { return Fat() || Ntfs(); }
  bool Empty() const { return kind_ == kNone; }
  // "FAT16", "FAT32", "NTFS", the name kept for kOther, "" for kNone.
  std::string Text() const;

  bool operator==(Kind kind) const { return kind_ == kind; }
  bool operator==(const FileSystemKind& other) const { return kind_ == other.kind_ && other_ == other.other_; }
  bool operator==(std::string_view text) const { return *this == FileSystemKind(text); }
  bool operator==(const char* text) const { return *this == FileSystemKind(text); }
  bool operator==(const std::string& text) const { return *this == FileSystemKind(text); }

 private:
  Kind kind_ = kNone;
  std::string other_;  // the text of kOther
};

inline std::ostream& operator<<(std::ostream& out, const FileSystemKind& kind) { return out << kind.Text(); }
inline std::string operator+(const std::string& text, const FileSystemKind& kind) { return text + kind.Text(); }
inline std::string operator+(const FileSystemKind& kind, const std::string& text) { return kind.Text() + text; }
inline std::string operator+(const char* text, const FileSystemKind& kind) { return text + kind.Text(); }

}  // namespace pellora
