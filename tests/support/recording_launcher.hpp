#pragma once

#include <string>
#include <vector>

#include "common/shell_open.hpp"

namespace pellora::test {

// A Launcher that starts nothing and remembers what it was asked to run.
class RecordingLauncher : public Launcher {
 public:
  int Run(const std::vector<std::string>& argv) override {
    runs.push_back(argv);
    return 0;
  }
  std::vector<std::vector<std::string>> runs;
};

}  // namespace pellora::test
