#pragma once

#include <string_view>

namespace pellora {

// Product facts that appear in messages, reports and mail links.
inline constexpr std::string_view kProductName = "Pellora";
inline constexpr std::string_view kSupportEmail = "support@pellora.example";
inline constexpr std::string_view kWebsite = "https://www.pellora.example";
// Caption of ordinary message boxes.
inline constexpr std::string_view kMessageCaption = "Message";

}  // namespace pellora
