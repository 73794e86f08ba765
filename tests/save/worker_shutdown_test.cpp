// The state of the program goes away (a window closes, the program quits) while a save waits on a
// question nobody will answer: the question answers its cancel choice and the worker ends, so
// the state is gone without a join that waits for ever.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <memory>
#include <thread>

#include "save_fixture.hpp"
#include "support/temp_dir.hpp"

namespace pellora {
namespace {

namespace fs = std::filesystem;

TEST(WorkerShutdown, DestroyingTheStateReleasesASaveWaitingInTheReplaceWindow) {
  test::TempDir dir;
  test::FatImage image(dir / "v.img", 16, 4, 32);
  image.Put("report.doc", "recovered report");
  image.Put("other.txt", "recovered other");
  const fs::path out = dir / "out";
  fs::create_directories(out);
  test::WriteFile(out / "report.doc", "old");

  auto recovered = std::make_unique<test::Recovered>(image.Path(), "FAT16");
  recovered->ui.HoldReplaceWindows();
  ResultTree& tree = recovered->app.results.tree;
  tree.SetChecked(tree.FirstItem(), true);
  ASSERT_TRUE(StartSave(recovered->app,
                        {.source = SaveSource::kCheckedTree, .rows = {}, .destination = out, .deep_partitions = {}}));
  // Waits for the worker to reach the window; a save that never asks fails the test instead of hanging it.
  for (int i = 0; i < 60000 && !recovered->ui.WaitingInReplace(); ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  ASSERT_TRUE(recovered->ui.WaitingInReplace());

  recovered.reset();  // returns once the worker has taken "Cancel" and ended

  EXPECT_EQ(test::ReadFile(out / "report.doc"), "old");
  EXPECT_FALSE(fs::exists(out / "other.txt"));  // "Cancel" stopped the save before the next file
}

}  // namespace
}  // namespace pellora
