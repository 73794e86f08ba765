#pragma once

#include <string>
#include <string_view>

namespace pellora {

// A name read from a medium, made safe to stand as one component of a path on this machine: "/",
// NUL and other control characters become "_", and a name that would step up or stay in place
// ("", ".", "..") becomes underscores. Whatever a damaged or hostile medium names its files, the
// result never leaves the folder it is joined to.
std::string SafePathComponent(std::string_view name);

}  // namespace pellora
