#include "support/result_paths.hpp"

namespace pellora::test {

namespace {

void Collect(const ResultTree& tree, ItemId item, const std::string& prefix, std::vector<std::string>& out) {
  for (ItemId child : tree.Children(item)) {
    out.push_back(prefix + tree.Title(child));
    Collect(tree, child, prefix + tree.Title(child) + "/", out);
  }
}

}  // namespace

std::vector<std::string> ResultPaths(const ResultTree& tree) {
  std::vector<std::string> out;
  if (!tree.Empty()) Collect(tree, tree.FirstItem(), "", out);
  return out;
}

}  // namespace pellora::test
