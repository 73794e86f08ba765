#include "model/result_tree.hpp"

#include <algorithm>
#include <stdexcept>

#include "common/text.hpp"

namespace pellora {

ItemId ResultTree::Insert(ItemId parent, std::string title, int image) {
  if (parent != kNoItem && !Contains(parent)) throw std::out_of_range("ResultTree: no such parent item");
  ++sibling_titles_[TitleKey(parent, title)];
  items_.push_back({std::move(title), parent, image, false, CheckState::kUnchecked, {}});
  const ItemId item = items_.size();
  ChildList(parent).push_back(item);
  return item;
}

void ResultTree::Clear() {
  items_.clear();
  top_level_.clear();
  sibling_titles_.clear();
  next_suffix_.clear();
}

const std::vector<ItemId>& ResultTree::Children(ItemId item) const {
  return item == kNoItem ? top_level_ : At(item).children;
}

void ResultTree::SetTitle(ItemId item, std::string title) {
  Item& entry = At(item);
  const auto old_key = sibling_titles_.find(TitleKey(entry.parent, entry.title));
  if (old_key != sibling_titles_.end() && --old_key->second == 0) {
    sibling_titles_.erase(old_key);
    next_suffix_.clear();  // a title became free again
  }
  ++sibling_titles_[TitleKey(entry.parent, title)];
  entry.title = std::move(title);
}

void ResultTree::SetChecked(ItemId item, bool checked) {
  SetSubtree(item, checked ? CheckState::kChecked : CheckState::kUnchecked);
  UpdateAncestors(item);
}

void ResultTree::SortChildren(ItemId item) {
  std::vector<ItemId>& children = ChildList(item);
  std::stable_sort(children.begin(), children.end(),
                   [this](ItemId a, ItemId b) { return LessIgnoreCase(Title(a), Title(b)); });
}

bool ResultTree::HasChildTitled(ItemId parent, std::string_view title) const {
  return sibling_titles_.contains(TitleKey(parent, title));
}

std::string ResultTree::UniqueChildTitle(ItemId parent, std::string_view name) const {
  if (!HasChildTitled(parent, name)) return std::string(name);
  int& next = next_suffix_[TitleKey(parent, name)];
  for (int n = std::max(next, 1);; ++n) {
    std::string candidate = std::string(name) + " (" + std::to_string(n) + ")";
    if (!HasChildTitled(parent, candidate)) {
      next = n;
      return candidate;
    }
  }
}

std::string ResultTree::PathBelowTop(ItemId item) const {
  std::vector<const std::string*> titles;
  for (ItemId at = item; at != kNoItem && Parent(at) != kNoItem; at = Parent(at)) titles.push_back(&Title(at));
  std::string path;
  for (auto it = titles.rbegin(); it != titles.rend(); ++it) path.append(path.empty() ? "" : "/").append(**it);
  return path;
}

ResultTree::Item& ResultTree::At(ItemId item) {
  if (!Contains(item)) throw std::out_of_range("ResultTree: no such item");
  return items_[item - 1];
}

const ResultTree::Item& ResultTree::At(ItemId item) const {
  if (!Contains(item)) throw std::out_of_range("ResultTree: no such item");
  return items_[item - 1];
}

std::vector<ItemId>& ResultTree::ChildList(ItemId parent) {
  return parent == kNoItem ? top_level_ : At(parent).children;
}

std::string ResultTree::TitleKey(ItemId parent, std::string_view title) {
  std::string key = std::to_string(parent);
  key.push_back('\0');
  key.append(title);
  return key;
}

void ResultTree::SetSubtree(ItemId item, CheckState state) {
  std::vector<ItemId> pending{item};
  while (!pending.empty()) {
    const ItemId at = pending.back();
    pending.pop_back();
    Item& entry = At(at);
    entry.check = state;
    pending.insert(pending.end(), entry.children.begin(), entry.children.end());
  }
}

void ResultTree::UpdateAncestors(ItemId item) {
  for (ItemId at = Parent(item); at != kNoItem; at = Parent(at)) {
    Item& entry = At(at);
    const auto checked = std::count_if(entry.children.begin(), entry.children.end(),
                                       [this](ItemId child) { return Check(child) == CheckState::kChecked; });
    const auto unchecked = std::count_if(entry.children.begin(), entry.children.end(),
                                         [this](ItemId child) { return Check(child) == CheckState::kUnchecked; });
    const auto total = static_cast<std::ptrdiff_t>(entry.children.size());
    entry.check = checked == total     ? CheckState::kChecked
                  : unchecked == total ? CheckState::kUnchecked
                                       : CheckState::kPartlyChecked;
  }
}

}  // namespace pellora
