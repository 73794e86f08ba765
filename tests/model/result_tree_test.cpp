#include "model/result_tree.hpp"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace pellora {
namespace {

using ::testing::ElementsAre;

std::vector<std::string> Titles(const ResultTree& tree, ItemId parent) {
  std::vector<std::string> titles;
  for (ItemId child : tree.Children(parent)) titles.push_back(tree.Title(child));
  return titles;
}

TEST(ResultTree, ItemsKeepStableNumbersAndOrder) {
  ResultTree tree;
  const ItemId root = tree.Insert(kNoItem, "Root", kRootImage);
  const ItemId dcim = tree.Insert(root, "DCIM", kFolderImage);
  const ItemId docs = tree.Insert(root, "documents", kFolderImage);
  const ItemId photos = tree.Insert(dcim, "100PELLO", kFolderImage);
  EXPECT_EQ(root, 1u);
  EXPECT_EQ(photos, 4u);
  EXPECT_EQ(tree.Parent(photos), dcim);
  EXPECT_EQ(tree.PathBelowTop(photos), "DCIM/100PELLO");
  tree.Insert(root, "Camera", kFolderImage);
  tree.SortChildren(root);
  EXPECT_THAT(Titles(tree, root), ElementsAre("Camera", "DCIM", "documents"));
  EXPECT_EQ(tree.Title(docs), "documents");  // sorting moves no numbers
  EXPECT_THROW(tree.Title(99), std::out_of_range);
}

TEST(ResultTree, SiblingNamesAreMadeUnique) {
  ResultTree tree;
  const ItemId root = tree.Insert(kNoItem, "Root", kRootImage);
  for (int i = 0; i < 3; ++i) tree.Insert(root, tree.UniqueChildTitle(root, "DCIM"), kFolderImage);
  EXPECT_THAT(Titles(tree, root), ElementsAre("DCIM", "DCIM (1)", "DCIM (2)"));
  const ItemId other = tree.Insert(kNoItem, "Other", kRootImage);
  EXPECT_EQ(tree.UniqueChildTitle(other, "DCIM"), "DCIM");  // only siblings count
  tree.SetTitle(tree.Children(root)[0], "Pictures");
  EXPECT_EQ(tree.UniqueChildTitle(root, "DCIM"), "DCIM");
}

TEST(ResultTree, ChecksPropagateDownAndUp) {
  ResultTree tree;
  const ItemId root = tree.Insert(kNoItem, "Root", kRootImage);
  const ItemId a = tree.Insert(root, "a", kFolderImage);
  const ItemId b = tree.Insert(root, "b", kFolderImage);
  const ItemId a1 = tree.Insert(a, "a1", kFolderImage);
  const ItemId a2 = tree.Insert(a, "a2", kFolderImage);

  tree.SetChecked(a1, true);
  EXPECT_EQ(tree.Check(a), CheckState::kPartlyChecked);
  EXPECT_EQ(tree.Check(root), CheckState::kPartlyChecked);
  tree.SetChecked(a2, true);
  EXPECT_EQ(tree.Check(a), CheckState::kChecked);
  EXPECT_EQ(tree.Check(root), CheckState::kPartlyChecked);
  tree.SetChecked(b, true);
  EXPECT_EQ(tree.Check(root), CheckState::kChecked);
  tree.SetChecked(root, false);
  for (ItemId item : {root, a, b, a1, a2}) EXPECT_EQ(tree.Check(item), CheckState::kUnchecked);
  tree.SetChecked(root, true);
  for (ItemId item : {root, a, b, a1, a2}) EXPECT_EQ(tree.Check(item), CheckState::kChecked);
}

}  // namespace
}  // namespace pellora
