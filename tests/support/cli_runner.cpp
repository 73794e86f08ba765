#include "support/cli_runner.hpp"

#include <sys/wait.h>

#include <cstdlib>

#include "support/temp_dir.hpp"

namespace pellora::test {

namespace {

std::string Quote(const std::string& text) {
  std::string quoted = "'";
  for (char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

}  // namespace

CliResult RunProgram(const std::filesystem::path& program, const std::vector<std::string>& arguments) {
  TempDir capture;
  std::string command = Quote(program.string());
  for (const std::string& argument : arguments) command += " " + Quote(argument);
  command += " </dev/null >" + Quote((capture / "out").string()) + " 2>" + Quote((capture / "err").string());
  const int status = std::system(command.c_str());
  CliResult result;
  result.exit_code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  result.out = ReadFile(capture / "out");
  result.err = ReadFile(capture / "err");
  return result;
}

CliResult RunCli(const std::vector<std::string>& arguments) {
  std::vector<std::string> hermetic = {"--no-system-drives"};
  hermetic.insert(hermetic.end(), arguments.begin(), arguments.end());
  return RunProgram(PELLORA_CLI, hermetic);
}

}  // namespace pellora::test
