#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace pellora {

// Stable number of a tree item; 0 is no item. Numbers are never reused until the tree is cleared,
// so they can stand in file-list columns and recovery logs.
using ItemId = std::uint64_t;
inline constexpr ItemId kNoItem = 0;

// Check states as the save engine reads them.
enum class CheckState : std::uint8_t { kUnchecked = 1, kChecked = 2, kPartlyChecked = 3 };

inline constexpr int kRootImage = 0;
inline constexpr int kFolderImage = 1;

// The result tree of a file-system search: titled items, children in display order, check boxes
// with the usual propagation, expansion. The desktop program shows it through a Qt model; the
// command line, the save engine and the recovery log walk it.
class ResultTree {
 public:
  // Inserts an item as the last child of parent (kNoItem: a top-level item).
  ItemId Insert(ItemId parent, std::string title, int image);
  void Clear();

  bool Empty() const { return items_.empty(); }
  std::size_t Size() const { return items_.size(); }
  bool Contains(ItemId item) const { return item >= 1 && item <= items_.size(); }
  ItemId FirstItem() const { return top_level_.empty() ? kNoItem : top_level_.front(); }
  const std::vector<ItemId>& TopLevel() const { return top_level_; }
  const std::vector<ItemId>& Children(ItemId item) const;
  ItemId Parent(ItemId item) const { return At(item).parent; }
  const std::string& Title(ItemId item) const { return At(item).title; }
  int Image(ItemId item) const { return At(item).image; }
  bool Expanded(ItemId item) const { return At(item).expanded; }
  CheckState Check(ItemId item) const { return At(item).check; }

  void SetTitle(ItemId item, std::string title);
  void SetExpanded(ItemId item, bool expanded) { At(item).expanded = expanded; }
  // Ticks or clears an item with all its descendants; ancestors become checked, partly checked
  // or unchecked from their children.
  void SetChecked(ItemId item, bool checked);
  // Orders the children of an item by title, ignoring case (kNoItem: the top level).
  void SortChildren(ItemId item);

  bool HasChildTitled(ItemId parent, std::string_view title) const;
  // name, or "name (1)", "name (2)" ... : the first title no child of parent has yet.
  std::string UniqueChildTitle(ItemId parent, std::string_view name) const;
  // Titles from the top-level item's child down to item, joined by "/" (the top item is left out).
  std::string PathBelowTop(ItemId item) const;

 private:
  struct Item {
    std::string title;
    ItemId parent = kNoItem;
    int image = 0;
    bool expanded = false;
    CheckState check = CheckState::kUnchecked;
    std::vector<ItemId> children;
  };
  Item& At(ItemId item);
  const Item& At(ItemId item) const;
  std::vector<ItemId>& ChildList(ItemId parent);
  static std::string TitleKey(ItemId parent, std::string_view title);
  void SetSubtree(ItemId item, CheckState state);
  void UpdateAncestors(ItemId item);

  std::vector<Item> items_;  // item n at index n - 1
  std::vector<ItemId> top_level_;
  std::unordered_map<std::string, int> sibling_titles_;  // parent + title -> how many children bear it
  // parent + name -> the lowest n for which "name (n)" may still be free; keeps many equal names
  // from making each new one test every number already taken.
  mutable std::unordered_map<std::string, int> next_suffix_;
};

}  // namespace pellora
