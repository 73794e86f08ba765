#pragma once

#include <cstddef>
#include <span>
#include <string_view>

namespace pellora {

// 0x55 0xAA at offset 510.
bool HasBootSignature(std::span<const std::byte> sector);

// The file system a partition's first sector names, tested in this order: "FAT32" at 82, "FAT16"
// at 54, "NTFS" at 3. Empty when none matches (or the sector is short).
std::string_view FileSystemBySignature(std::span<const std::byte> sector);

// "EFI" at 0: the first sector of a GPT header.
bool HasGptSignature(std::span<const std::byte> sector);

// Whether bytes at offset spell text.
bool BytesEqual(std::span<const std::byte> bytes, std::size_t offset, std::string_view text);

}  // namespace pellora
