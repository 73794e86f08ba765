#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <stop_token>

namespace pellora {

// Attribute types the engine reads.
inline constexpr std::uint32_t kAttributeList = 0x20;
inline constexpr std::uint32_t kFileNameAttribute = 0x30;
inline constexpr std::uint32_t kDataAttribute = 0x80;

// One attribute of a FILE record, as the walk met it: its header lies inside the record's first
// 1024 bytes. Fields beyond the attribute's own bytes are read as 0; values are bounds-checked
// before they are handed out.
struct Attribute {
  std::span<const std::byte> record;
  std::size_t offset = 0;  // of the attribute header in the record
  std::uint32_t type = 0;
  std::uint32_t length = 0;
  bool non_resident = false;
  std::uint8_t name_length = 0;  // in UTF-16 units; 0 for the unnamed attribute

  // The resident value: offset (s16 at +0x14) and length (u32 at +0x10) must lie in the record.
  std::optional<std::span<const std::byte>> ResidentValue() const;
  // The resident value's offset in the record, unchecked (the name rules test it themselves).
  std::int64_t ResidentValueOffset() const;
  // Non-resident attributes: first cluster of the file this piece maps, and the real size (only
  // meaningful in the piece that starts at cluster 0).
  std::uint64_t LowestVcn() const;
  std::uint64_t RealSize() const;
  // Where the run list starts in the record: the header's own offset (u16 at +0x20) when it lies
  // inside the attribute past the fixed header, else 0x40, or 0x48 after a four-character name.
  std::size_t RunListOffset() const;

 private:
  std::uint64_t Field(std::size_t at, std::size_t width) const;
};

// Walks the attributes of a FILE record in order, within fixed bounds: the first attribute is at
// the s16 at 0x14, which must lie below 1023; type 0 or 0xFFFFFFFF ends the list; a length of 0 or
// above 1024, or an attribute reaching 1024 or beyond, ends the walk; so does a stop through the cancel token.
// Every attribute lies wholly inside the record and each step moves forward, so the walk ends.
class AttributeWalk {
 public:
  explicit AttributeWalk(std::span<const std::byte> record, std::stop_token cancel = {});
  std::optional<Attribute> Next();

 private:
  std::span<const std::byte> record_;
  std::stop_token cancel_;
  std::size_t offset_ = 0;
  bool done_ = false;
};

}  // namespace pellora
