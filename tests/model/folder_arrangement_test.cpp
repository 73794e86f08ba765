#include "model/folder_arrangement.hpp"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "common/progress.hpp"

namespace pellora {
namespace {

using ::testing::ElementsAre;

RecoveredEntry Row(std::string name, std::uint64_t self, std::uint64_t parent) {
  RecoveredEntry entry;
  entry.name = std::move(name);
  entry.self = self;
  entry.parent = parent;
  entry.time = 0;
  return entry;
}

// The tree as indented lines "title" per level, children in display order.
void Render(const ResultTree& tree, ItemId item, int depth, std::vector<std::string>& out) {
  out.push_back(std::string(static_cast<std::size_t>(depth) * 2, ' ') + tree.Title(item));
  for (ItemId child : tree.Children(item)) Render(tree, child, depth + 1, out);
}

std::vector<std::string> Render(const ResultTree& tree) {
  std::vector<std::string> out;
  for (ItemId top : tree.TopLevel()) Render(tree, top, 0, out);
  return out;
}

TEST(AddFolderNode, RootDedupeRefusalAndUniqueNames) {
  RecoveredResults results;
  const ItemId dcim = results.AddFolderNode(kNoItem, "DCIM", 3, 0, 0, 0, false, 0);
  EXPECT_EQ(results.tree.Title(results.tree.FirstItem()), "Root");
  EXPECT_TRUE(results.tree.Expanded(results.tree.FirstItem()));
  EXPECT_EQ(results.AddFolderNode(kNoItem, "Another name", 3, 0, 0, 0, false, 0), dcim);  // same Self
  results.AddFolderNode(kNoItem, "DCIM", 9, 0, 0, 0, false, 0);
  results.AddFolderNode(kNoItem, "DCIM", 10, 0, 0, 0, false, 0);
  EXPECT_EQ(results.AddFolderNode(kNoItem, "ZYD_Miscellaneous", 11, 0, 0, 0, false, 0), kNoItem);
  EXPECT_NE(results.AddFolderNode(kNoItem, "ZYD_Miscellaneous", kMiscellaneousSelf, 0, 0, 0, false, 0), kNoItem);
  EXPECT_THAT(Render(results.tree), ElementsAre("Root", "  DCIM", "  DCIM (1)", "  DCIM (2)", "  ZYD_Miscellaneous"));
  EXPECT_EQ(results.nodes.Size(), 4u);
  EXPECT_EQ(results.nodes[1].name, "DCIM (1)");

  // A loaded log places names and Selfs as they were stored.
  results.loading_log = true;
  results.AddFolderNode(kNoItem, "DCIM", 3, 0, 0, 0, false, 0);
  results.AddFolderNode(kNoItem, "ZYD_Miscellaneous", 12, 0, 0, 0, false, 0);
  EXPECT_EQ(results.nodes.Size(), 6u);
  EXPECT_EQ(results.nodes[4].name, "DCIM");
}

TEST(ArrangeFolders, LevelByLevelWithOrphansUnderMiscellaneous) {
  RecoveredResults results;
  results.directory.Add(MiscellaneousEntry(0));
  results.directory.Add(Row("PHOTOS", 20, 3));
  results.directory.Add(Row("", 30, 20));      // unnamed: DIR_1
  results.directory.Add(Row("LOST", 40, 77));  // parent 77 is never placed
  results.directory.Add(Row("DCIM", 3, 0));
  results.directory.Add(Row("DEEPER", 50, 30));
  results.directory.Add(Row("", 60, 40));  // unnamed child of an orphan: DIR_2
  results.root_entries.push_back({99, "OLDROOT", 1, 2, 8200, false});
  results.directory.SortByParent();

  std::vector<std::string> named;
  ProgressBar progress;
  ArrangeFolders(
      results, &progress, [&](FolderNode& node) { named.push_back(node.name); }, false);

  EXPECT_THAT(Render(results.tree), ElementsAre("Root", "  DCIM", "    PHOTOS", "      DIR_1", "        DEEPER",
                                                "  ZYD_Miscellaneous", "    LOST", "      DIR_2", "    OLDROOT"));
  EXPECT_EQ(results.directory.Size(), 0u);
  EXPECT_TRUE(results.root_entries.empty());
  EXPECT_TRUE(results.nodes.ByName("OLDROOT")->deleted);
  // Directories are read for names where a child still has a made-up name.
  EXPECT_THAT(named, ElementsAre("PHOTOS", "LOST"));  // and LOST keeps its own subfolder
  for (const FolderNode& node : results.nodes)
    EXPECT_EQ(node.children_read, !results.tree.Children(node.tree_item).empty() || node.name.starts_with("DIR"))
        << node.name;
}

TEST(ArrangeFolders, UnnamedCounterCarriesOverBetweenSearches) {
  RecoveredResults results;
  for (int search = 0; search < 2; ++search) {
    results.Clear();
    results.directory.Add(MiscellaneousEntry(0));
    results.directory.Add(Row("", 5, 0));
    results.directory.SortByParent();
    ArrangeFolders(results, nullptr, {}, false);
  }
  EXPECT_TRUE(results.nodes.ByName("DIR_2") != nullptr);
}

TEST(ArrangeNtfsFolders, RootIsRecordFiveAndOrphansGoToMiscellaneous) {
  RecoveredResults results;
  RecoveredEntry misc = MiscellaneousEntry(0);
  misc.parent = kNtfsRootRecord;
  results.directory.Add(misc);
  results.directory.Add(Row("Photos", 40, 5));
  results.directory.Add(Row("2026", 41, 40));
  results.directory.Add(Row("Orphan", 42, 999));
  results.directory.SortByParent();
  ArrangeNtfsFolders(results, nullptr, false);
  EXPECT_THAT(Render(results.tree), ElementsAre("Root", "  Photos", "    2026", "  ZYD_Miscellaneous", "    Orphan"));
}

TEST(ArrangeFolders, HundredThousandFoldersInOneFolder) {
  // A wide folder must not make placing siblings quadratic; this finishes in well under a second.
  RecoveredResults results;
  results.directory.Add(MiscellaneousEntry(0));
  results.directory.Add(Row("BIG", 2, 0));
  for (std::uint64_t self = 3; self < 100'003; ++self) results.directory.Add(Row("SAME", self, 2));
  results.directory.SortByParent();
  ArrangeFolders(results, nullptr, {}, false);
  const FolderNode* big = results.nodes.ByName("BIG");
  ASSERT_NE(big, nullptr);
  const auto& children = results.tree.Children(big->tree_item);
  ASSERT_EQ(children.size(), 100'000u);
  EXPECT_EQ(results.tree.Title(children.back()), "SAME (99999)");
}

}  // namespace
}  // namespace pellora
