#include "recognition/file_system_kind.hpp"

namespace pellora {

FileSystemKind::FileSystemKind(std::string_view text) {
  if (text == "FAT16") {
    kind_ = kFat16;
  } else if (text == "FAT32") {
    kind_ = kFat32;
  } else if (text == "NTFS") {
    kind_ = kNtfs;
  } else if (!text.empty()) {
    kind_ = kOther;
    other_ = std::string(text);
  }
}

std::string FileSystemKind::Text() const {
  switch (kind_) {
    case kFat16:
      return "FAT16";
    case kFat32:
      return "FAT32";
    case kNtfs:
      return "NTFS";
    case kOther:
      return other_;
    case kNone:
      break;
  }
  return {};
}

}  // namespace pellora
