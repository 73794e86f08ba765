#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "app/program.hpp"
#include "carving/carved_type_table.hpp"
#include "carving/carving_engine.hpp"
#include "carving/definition_file.hpp"
#include "common/run_stop.hpp"
#include "support/faulty_source.hpp"
#include "support/scripted_ui.hpp"
#include "support/temp_dir.hpp"

namespace pellora::test {

// One entry of a definition file.
inline std::string DefinitionEntry(std::string_view extension, std::uint64_t max_size, std::string_view signature,
                                   int position = 1, std::string_view description = "Test type") {
  return "Extension:." + std::string(extension) + "\nMaximum Size:" + std::to_string(max_size) +
         "\nSignature:" + std::string(signature) + "\nPosition:" + std::to_string(position) +
         "\nReserved:0\nDescription:" + std::string(description) + "\n";
}

inline DefinitionSet Definitions(std::string_view text) {
  DefinitionSet set;
  AddDefinitions(SplitDefinitionLines(text), "test.dll", set);
  return set;
}

// A small medium made of sectors whose bytes carry no signature (neighbouring bytes differ by 7),
// with signatures put where a test wants them, read through a fault plan.
class CarvingFixture : public ::testing::Test {
 protected:
  static constexpr const char* kDrive = "\\\\.\\PhysicalDrive7";

  void MakeMedium(std::uint64_t sectors) {
    bytes_ = std::make_shared<std::vector<std::byte>>(PatternBytes(static_cast<std::size_t>(sectors * 512)));
    AddFaultyDevice(app_.devices, kDrive, bytes_, plan_);
  }
  // Writes hex bytes into the medium at a sector and byte position (1-based, as in the files).
  void Put(std::uint64_t sector, std::string_view hex, int position = 1) {
    for (std::size_t i = 0; i + 1 < hex.size(); i += 2) {
      const auto value = static_cast<std::byte>(std::stoi(std::string(hex.substr(i, 2)), nullptr, 16));
      (*bytes_)[static_cast<std::size_t>(sector * 512 + static_cast<std::uint64_t>(position - 1) + i / 2)] = value;
    }
  }
  // The medium's bytes from sector first up to, not including, sector end.
  std::string Sectors(std::uint64_t first, std::uint64_t end) const {
    return std::string(reinterpret_cast<const char*>(bytes_->data()) + first * 512, (end - first) * 512);
  }
  CarvingServices Services() { return {ui_, app_.sectors, app_.reporter, stop_}; }
  CarvingRange Range(std::uint64_t start, std::uint64_t end) const { return {kDrive, start, end}; }
  std::filesystem::path ModeFolder() const { return root_ / "Pellora" / "Photo Search"; }
  std::string Carved(std::string_view relative) const { return ReadFile(ModeFolder() / relative); }
  bool Exists(std::string_view relative) const { return std::filesystem::exists(ModeFolder() / relative); }
  // Relative paths of every file under the mode folder, sorted.
  std::vector<std::string> Files() const {
    std::vector<std::string> files;
    if (!std::filesystem::exists(ModeFolder())) return files;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(ModeFolder()))
      if (entry.is_regular_file()) files.push_back(std::filesystem::relative(entry.path(), ModeFolder()).string());
    std::sort(files.begin(), files.end());
    return files;
  }

  TempDir dir_;
  std::filesystem::path root_ = dir_.Path();  // the destination folder
  ScriptedUi ui_;
  Program app_{ui_};
  RunStop stop_;
  std::shared_ptr<std::vector<std::byte>> bytes_;
  std::shared_ptr<FaultPlan> plan_ = std::make_shared<FaultPlan>();
};

}  // namespace pellora::test
