#include "cli_context.hpp"

#include <iostream>

namespace pellora::cli {

std::string CliContext::ResolveDrive(std::string_view name) const {
  if (auto path = app.devices.ResolveName(name)) return *path;
  throw CliError("No drive answers to the name \"" + std::string(name) +
                 "\". Name a drive as disk:N, vol:E or by the path of an image attached with --image or "
                 "--volume-image.");
}

void CliContext::PrintJson(const nlohmann::json& document) { std::cout << document.dump(2) << '\n'; }

}  // namespace pellora::cli
