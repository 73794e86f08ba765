#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace pellora::test {

struct CliResult {
  int exit_code = -1;
  std::string out;
  std::string err;
};

// Runs a program with arguments (no shell interpretation of them) and collects its output.
CliResult RunProgram(const std::filesystem::path& program, const std::vector<std::string>& arguments);

// Runs the pellora-cli built with the tests. Tests never list the machine's own drives: the
// arguments are preceded by --no-system-drives.
CliResult RunCli(const std::vector<std::string>& arguments);

}  // namespace pellora::test
