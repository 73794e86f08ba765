#include "ntfs/attribute_walk.hpp"

#include "common/byte_reader.hpp"

namespace pellora {

namespace {

constexpr std::size_t kRecordLimit = 1024;
constexpr std::size_t kNonResidentHeader = 0x40;

}  // namespace

std::uint64_t Attribute::Field(std::size_t at, std::size_t width) const {
  if (at + width > length || !Fits(record, offset + at, width)) return 0;
  switch (width) {
    case 1:
      return Le8(record, offset + at);
    case 2:
      return Le16(record, offset + at);
    case 4:
      return Le32(record, offset + at);
    default:
      return Le64(record, offset + at);
  }
}

std::int64_t Attribute::ResidentValueOffset() const {
  return static_cast<std::int64_t>(offset) + static_cast<std::int16_t>(Field(0x14, 2));
}

std::optional<std::span<const std::byte>> Attribute::ResidentValue() const {
  if (non_resident) return std::nullopt;
  const std::int64_t at = ResidentValueOffset();
  const std::uint64_t size = Field(0x10, 4);
  if (at < 0 || !Fits(record, static_cast<std::uint64_t>(at), size)) return std::nullopt;
  return record.subspan(static_cast<std::size_t>(at), static_cast<std::size_t>(size));
}

std::uint64_t Attribute::LowestVcn() const { return non_resident ? Field(0x10, 8) : 0; }

std::uint64_t Attribute::RealSize() const { return non_resident ? Field(0x30, 8) : 0; }

std::size_t Attribute::RunListOffset() const {
  const std::size_t stated = Field(0x20, 2);
  if (stated >= kNonResidentHeader && stated < length) return offset + stated;
  return offset + (name_length == 4 ? 0x48 : kNonResidentHeader);
}

AttributeWalk::AttributeWalk(std::span<const std::byte> record, std::stop_token cancel)
    : record_(record), cancel_(std::move(cancel)) {
  if (!Fits(record_, 0x14, 2)) {
    done_ = true;
    return;
  }
  const auto first = static_cast<std::int16_t>(Le16(record_, 0x14));
  if (first < 0 || static_cast<std::size_t>(first) >= kRecordLimit - 1) done_ = true;
  offset_ = first < 0 ? 0 : static_cast<std::size_t>(first);
}

std::optional<Attribute> AttributeWalk::Next() {
  if (done_ || cancel_.stop_requested() || !Fits(record_, offset_, 16)) {
    done_ = true;
    return std::nullopt;
  }
  Attribute attribute;
  attribute.record = record_;
  attribute.offset = offset_;
  attribute.type = Le32(record_, offset_);
  attribute.length = Le32(record_, offset_ + 4);
  attribute.non_resident = Le8(record_, offset_ + 8) != 0;
  attribute.name_length = Le8(record_, offset_ + 9);
  const std::uint64_t next = std::uint64_t{offset_} + attribute.length;
  if (attribute.type == 0 || attribute.type == 0xFFFFFFFF || attribute.length == 0 || attribute.length > kRecordLimit ||
      next >= kRecordLimit || next > record_.size()) {
    done_ = true;
    return std::nullopt;
  }
  offset_ = static_cast<std::size_t>(next);
  return attribute;
}

}  // namespace pellora
