#pragma once

#include <string>
#include <vector>

#include "model/result_tree.hpp"

namespace pellora::test {

// The folders below a tree's first item as paths ("DCIM", "DCIM/100PELLO", ...), depth first in
// display order.
std::vector<std::string> ResultPaths(const ResultTree& tree);

}  // namespace pellora::test
