// pellora-cli sectors: a sector viewer for looking at a card by hand.

#include <CLI/CLI.hpp>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <memory>
#include <vector>

#include "cli_context.hpp"
#include "hex_dump.hpp"
#include "storage/sector_access.hpp"

namespace pellora::cli {

namespace {

struct SectorsOptions {
  std::string drive;
  std::uint64_t sector = 0;
  std::uint32_t count = 1;
  bool raw = false;
};

// Sectors read per call: large enough to keep the per-call open cheap, small enough for any memory.
constexpr std::uint32_t kBatchSectors = 2048;

int RunSectors(CliContext& context, const SectorsOptions& options) {
  const std::string path = context.ResolveDrive(options.drive);
  int error = 0;
  const std::unique_ptr<Source> device = context.app.sectors.OpenDevice(path, &error);
  if (!device) throw CliError("\"" + path + "\" cannot be opened: " + std::strerror(error));
  const std::uint64_t total = (device->SizeBytes() + kSectorSize - 1) / kSectorSize;
  if (options.sector >= total)
    throw CliError("Sector " + std::to_string(options.sector) + " lies beyond the end of " + path + ", which has " +
                   std::to_string(total) + " sectors.");
  const std::uint64_t count = std::min<std::uint64_t>(options.count, total - options.sector);
  if (count < options.count)
    context.ui.ShowMessage("Only " + std::to_string(count) + " sectors remain from sector " +
                               std::to_string(options.sector) + "; showing those.",
                           kMessageCaption);

  nlohmann::json sectors_json = nlohmann::json::array();
  std::vector<std::byte> buffer;
  for (std::uint64_t done = 0; done < count;) {
    const auto batch = static_cast<std::uint32_t>(std::min<std::uint64_t>(kBatchSectors, count - done));
    const std::uint64_t first = options.sector + done;
    buffer.assign(static_cast<std::size_t>(batch) * kSectorSize, std::byte{0});
    if (!context.app.sectors.ReadSectors(batch, path, first, buffer))
      throw CliError("Sector " + std::to_string(first) + " of " + path + " cannot be read.");
    if (options.raw) {
      std::fwrite(buffer.data(), 1, buffer.size(), stdout);
    } else {
      for (std::uint32_t i = 0; i < batch; ++i) {
        const auto one =
            std::span<const std::byte>(buffer).subspan(static_cast<std::size_t>(i) * kSectorSize, kSectorSize);
        if (context.options.json) {
          sectors_json.push_back({{"sector", first + i}, {"hex", HexString(one)}});
        } else {
          std::cout << (done + i == 0 ? "" : "\n") << "Sector " << first + i << " of " << path << " (byte offset "
                    << (first + i) * kSectorSize << ")\n"
                    << HexDumpSector(one);
        }
      }
    }
    done += batch;
  }
  if (options.raw) std::fflush(stdout);
  if (context.options.json && !options.raw)
    CliContext::PrintJson({{"drive", path}, {"sector", options.sector}, {"count", count}, {"sectors", sectors_json}});
  return kExitDone;
}

}  // namespace

void AddSectorsCommand(CLI::App& cli, CommandRun& chosen) {
  auto options = std::make_shared<SectorsOptions>();
  CLI::App* command = cli.add_subcommand("sectors", "Show raw sectors of a drive as hex and text");
  command->add_option("--drive", options->drive, "disk:N, vol:E, or the path of an attached image")->required();
  command->add_option("--sector", options->sector, "First sector (absolute on the drive)")->required();
  command->add_option("--count", options->count, "Number of sectors")->check(CLI::Range(1u, 0xFFFFFFFFu));
  command->add_flag("--raw", options->raw, "Write the bytes unchanged to stdout");
  command->callback([options, &chosen] { chosen = [options](CliContext& c) { return RunSectors(c, *options); }; });
}

}  // namespace pellora::cli
