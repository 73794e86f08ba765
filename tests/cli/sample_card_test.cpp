#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "support/cli_runner.hpp"
#include "support/temp_dir.hpp"

namespace pellora {
namespace {

TEST(SampleCard, HoldsAnMbrAndAFat32BootSectorWhereTheyBelong) {
  const auto card = test::SampleCard().string();
  const auto mbr = test::RunCli({"--image", card, "sectors", "--drive", "disk:0", "--sector", "0", "--raw"});
  ASSERT_EQ(mbr.exit_code, 0) << mbr.err;
  ASSERT_EQ(mbr.out.size(), 512u);
  EXPECT_EQ(mbr.out.substr(510), "\x55\xAA");
  EXPECT_EQ(static_cast<unsigned char>(mbr.out[446 + 4]), 0x0C);  // FAT32 with LBA
  const auto boot = test::RunCli({"--image", card, "sectors", "--drive", "disk:0", "--sector",
                                  std::to_string(test::kSampleCardPartitionStart), "--raw"});
  ASSERT_EQ(boot.exit_code, 0) << boot.err;
  EXPECT_EQ(boot.out.substr(82, 5), "FAT32");
}

}  // namespace
}  // namespace pellora
