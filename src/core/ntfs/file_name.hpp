#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <stop_token>
#include <string>

namespace pellora {

// Namespaces of a $FILE_NAME, and the order in which a record's names are tried: the long Win32
// name first, then the name that is both, then the 8.3 name, then the POSIX one.
inline constexpr std::uint8_t kPosixNamespace = 0;
inline constexpr std::uint8_t kWin32Namespace = 1;
inline constexpr std::uint8_t kDosNamespace = 2;
inline constexpr std::uint8_t kWin32AndDosNamespace = 3;
inline constexpr std::array<std::uint8_t, 4> kNamespaceOrder = {kWin32Namespace, kWin32AndDosNamespace, kDosNamespace,
                                                                kPosixNamespace};

// Whether and how the name text is built: the scan names only folders and keeps their characters;
// the file list names files and turns control characters into spaces.
enum class NameText { kNone, kFolder, kFile };

struct FileNameInfo {
  std::uint32_t parent = 0;   // low 32 bits of the parent reference: the parent's record number
  std::uint64_t created = 0;  // FILETIME
  std::string name;           // UTF-8; empty unless asked for
};

// The first unnamed, resident $FILE_NAME of exactly this namespace, in attribute order. A value
// whose offset lies beyond 1023 ends the search; one whose name does not fit the record is passed.
std::optional<FileNameInfo> FindFileNameInBuffer(std::span<const std::byte> record, std::uint8_t name_space,
                                                 NameText text, std::stop_token cancel = {});

// A record's name by the namespace order: the first namespace that has one gives it.
std::optional<FileNameInfo> ChooseFileName(std::span<const std::byte> record, NameText text,
                                           std::stop_token cancel = {});

// The text of a name's UTF-16 units: a unit with a high byte is taken as it is, one without as a
// byte of the system's ANSI code page; in file names the units 1 to 31 become spaces.
std::string FileNameCharacters(std::span<const std::byte> units, NameText text);

}  // namespace pellora
