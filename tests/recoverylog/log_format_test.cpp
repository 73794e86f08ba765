// The bytes of a recovery log: what the writer puts down, a log assembled by hand from the layout,
// the drive checks of the loader, and files no loader should trust.
#include <gtest/gtest.h>

#include <sys/resource.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "common/text.hpp"
#include "recoverylog/log_loader.hpp"
#include "recoverylog/log_messages.hpp"
#include "recoverylog/log_writer.hpp"
#include "recoverylog/value_stream.hpp"
#include "support/scripted_ui.hpp"
#include "support/temp_dir.hpp"

namespace pellora {
namespace {

namespace fs = std::filesystem;

const std::string kCardIdentity = "Disk image card.img||FILEBACKEDVIRTUAL||1048576||0";

ScannedDrive CardPartition() {
  return {.kind = std::string(kPartitionDriveKind),
          .description = "Disk image card.img",
          .volume_path = "",
          .disk_identity = kCardIdentity,
          .disk_number = 0};
}

// The drives present when the logs of these tests are loaded: the card as disk 0 and volume E:.
PresentDrives CardPresent(bool) {
  return {.disks = {{kCardIdentity, 0, "\\\\.\\PhysicalDrive0"}}, .volumes = {{"\\\\.\\E:|2048", "\\\\.\\E:"}}};
}

PartitionParams CardParams(const std::string& file_system) {
  PartitionParams p;
  p.DiskNumber = 0;
  p.ParamsFlag = 0;
  p.FileSystemName = file_system;
  p.SearchMode = "Basic Search";
  p.StartSector = p.RangeStart = 2048;
  p.EndSector = p.RangeEnd = 4096;
  p.ReadLimitBytes = 4096 * 512;
  p.fs.ParamsFileSystemName = file_system;
  p.fs.SectorsPerCluster = 4;
  p.fs.FatSectors = 16;
  p.fs.ReserveSecStart = 32;
  p.fs.firstFAT = 2080;
  p.fs.secondFAT = 2096;
  p.fs.Cluster0Start = 2104;
  p.fs.RootStartSec = 2;
  p.fs.MftStart = file_system == "NTFS" ? 2052 : 0;
  p.fs.SectorsPerMftRecord = file_system == "NTFS" ? 2 : 0;
  return p;
}

// A small result: folders with dates, a deleted one, one named like a line of the tree would not
// survive, the miscellaneous folder, and on NTFS a few file rows.
RecoveredResults SmallResults(bool deep, bool ntfs) {
  RecoveredResults r;
  const ItemId root = r.RootItem();
  const std::uint64_t part = deep ? 2104 : 0;
  const ItemId dcim = r.AddFolderNode(root, "DCIM", 3, 0x5A21, 0x6000, 0, false, part);
  r.AddFolderNode(dcim, "100PELLO", 4, 0x5A21, 0x6001, 3, false, part);
  r.AddFolderNode(dcim, "Ferien \u00e9t\u00e9 \U0001F600", 9, 0x5A22, 0x6002, 3, true, part);
  r.AddFolderNode(root, "Root", 12, 1, 2, 0, false, part);
  const ItemId misc =
      r.AddFolderNode(root, std::string(kMiscellaneousName), kMiscellaneousSelf, 0x5B00, 0, 0, false, 0);
  r.AddFolderNode(misc, "DIR_1", 40, 0, 0, 77, true, part);
  if (ntfs) {
    r.ntfs_files.Add({.parent = 5,
                      .record_sector = 2100,
                      .name = "",
                      .size = {},
                      .created = 132000000000000000,
                      .from_index = false,
                      .padding = {},
                      .vcn = {},
                      .deleted = false});
    r.ntfs_files.Add({.parent = 64,
                      .record_sector = 2110,
                      .name = "a.jpg",
                      .size = 1234,
                      .created = 1,
                      .from_index = true,
                      .padding = {},
                      .vcn = {},
                      .deleted = false});
  }
  return r;
}

std::vector<FoundPartition> TwoPartitions() {
  FoundPartition first;
  first.boot = {.sector = 2048,
                .sectors_per_fat = 16,
                .sectors_per_cluster = 4,
                .root_sectors = 32,
                .root_start = 2080,
                .reserved_sectors = 1,
                .cluster0_start = 2104,
                .first_fat = 2049,
                .second_fat = 2065,
                .end_sector = 4096,
                .file_system = "FAT16"};
  first.end_sector = 4096;
  FoundPartition second = first;
  second.boot.sector = 0;
  second.boot.cluster0_start = 9000;
  second.boot.file_system = "FAT32";
  second.end_sector = 12000;
  return {first, second};
}

// The tree as one line per item in pre-order: depth, title and every field of its record.
std::vector<std::string> TreeRows(const RecoveredResults& r) {
  std::vector<std::string> rows;
  if (r.tree.Empty()) return rows;
  std::vector<std::pair<ItemId, int>> pending = {{r.tree.FirstItem(), 0}};
  while (!pending.empty()) {
    const auto [item, depth] = pending.back();
    pending.pop_back();
    std::string row = std::to_string(depth) + " " + r.tree.Title(item);
    if (const FolderNode* n = r.nodes.ByItem(item))
      row += " | " + n->name + " " + std::to_string(n->self) + " " + std::to_string(n->parent) + " " +
             std::to_string(n->date) + " " + std::to_string(n->time) + " " + (n->deleted ? "deleted" : "-") + " " +
             std::to_string(n->partition_start);
    rows.push_back(row);
    const auto& children = r.tree.Children(item);
    for (auto child = children.rbegin(); child != children.rend(); ++child) pending.emplace_back(*child, depth + 1);
  }
  return rows;
}

std::vector<std::array<std::string, 8>> NtfsRows(const RecoveredResults& r) {
  std::vector<std::array<std::string, 8>> rows;
  for (const NtfsFileRow& row : r.ntfs_files) rows.push_back(row.Columns());
  return rows;
}

struct Kind {
  const char* golden;
  SearchMode mode;
  const char* file_system;
};
const Kind kKinds[] = {{"basic-fat.dmc", SearchMode::kBasic, "FAT32"},
                       {"basic-ntfs.dmc", SearchMode::kBasic, "NTFS"},
                       {"deep-fat.dmc", SearchMode::kDeep, "FAT16"}};

LogSource SourceOf(SearchMode mode, const ScannedDrive& drive, const PartitionParams& params,
                   const RecoveredResults& results, const std::vector<FoundPartition>* partitions = nullptr) {
  return {.mode = mode,
          .drive = drive,
          .physical_scan = false,
          .partition_params = params,
          .working_params = params.fs,
          .results = results,
          .ntfs_sorted = false,
          .deep_partitions = partitions};
}

std::string WriteLog(const fs::path& file, const Kind& kind) {
  const bool deep = kind.mode == SearchMode::kDeep;
  const RecoveredResults results = SmallResults(deep, std::string(kind.file_system) == "NTFS");
  const PartitionParams params = CardParams(kind.file_system);
  const std::vector<FoundPartition> partitions = TwoPartitions();
  WriteRecoveryLog(file, SourceOf(kind.mode, CardPartition(), params, results, deep ? &partitions : nullptr));
  return test::ReadFile(file);
}

LogLoad Load(const std::string& bytes, SearchMode window, test::ScriptedUi& ui,
             const PresentDrivesSource& present = CardPresent) {
  return ReadRecoveryLog({reinterpret_cast<const std::byte*>(bytes.data()), bytes.size()}, window, present, ui);
}

TEST(RecoveryLogFormat, WrittenAsCommittedAndReadBackWhole) {
  const fs::path golden = fs::path(PELLORA_SOURCE_DIR) / "tests/recoverylog/golden";
  const bool update = std::getenv("PELLORA_UPDATE_GOLDEN") != nullptr;
  for (const Kind& kind : kKinds) {
    SCOPED_TRACE(kind.golden);
    test::TempDir dir;
    const std::string bytes = WriteLog(dir / "x.DMC", kind);
    if (update) test::WriteFile(golden / kind.golden, bytes);
    EXPECT_EQ(bytes, test::ReadFile(golden / kind.golden));

    test::ScriptedUi ui;
    const LogLoad load = Load(bytes, kind.mode, ui);
    ASSERT_EQ(load.end, LogLoadEnd::kLoaded) << (ui.Messages().empty() ? "" : ui.Messages().front());
    const LoadedLog& log = *load.log;
    const bool deep = kind.mode == SearchMode::kDeep;
    const RecoveredResults written = SmallResults(deep, std::string(kind.file_system) == "NTFS");
    EXPECT_EQ(TreeRows(log.results), TreeRows(written));
    EXPECT_EQ(NtfsRows(log.results), NtfsRows(written));
    EXPECT_EQ(log.partition_params, CardParams(kind.file_system));
    EXPECT_EQ(log.working_params, CardParams(kind.file_system).fs);
    EXPECT_EQ(log.device_path, "\\\\.\\PhysicalDrive0");
    EXPECT_EQ(log.drive_kind, "Partition");
    EXPECT_EQ(log.description, "Disk image card.img");
    ASSERT_EQ(log.deep_partitions.size(), deep ? 2u : 0u);
    if (deep) {
      for (std::size_t i = 0; i < 2; ++i)
        EXPECT_EQ(DeepPartitionColumns(log.deep_partitions[i]), DeepPartitionColumns(TwoPartitions()[i]));
    }
    EXPECT_TRUE(ui.Messages().empty());
  }
}

// The text kind's length prefix at each of its boundaries.
TEST(RecoveryLogFormat, TextLengthsTakeTheirPrefixes) {
  struct Case {
    std::size_t units;
    std::string prefix;
  };
  const std::vector<Case> cases = {
      {0, std::string("\xFF\xFE\xFF\x00", 4)},
      {254, std::string("\xFF\xFE\xFF\xFE", 4)},
      {255, std::string("\xFF\xFE\xFF\xFF\xFF\x00", 6)},
      {65533, std::string("\xFF\xFE\xFF\xFF\xFD\xFF", 6)},
      {65534, std::string("\xFF\xFE\xFF\xFF\xFF\xFF\xFE\xFF\x00\x00", 10)},
      {65535, std::string("\xFF\xFE\xFF\xFF\xFF\xFF\xFF\xFF\x00\x00", 10)},
      {70000, std::string("\xFF\xFE\xFF\xFF\xFF\xFF\x70\x11\x01\x00", 10)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.units);
    test::TempDir dir;
    OutputFile file;
    ASSERT_EQ(file.Create(dir / "t"), 0);
    LogValueWriter out(file);
    out.Text(std::string(c.units, 'a'));
    out.Flush();
    file.Close();
    const std::string bytes = test::ReadFile(dir / "t");
    ASSERT_EQ(bytes.size(), c.prefix.size() + 2 * c.units);
    EXPECT_EQ(bytes.substr(0, c.prefix.size()), c.prefix);
    LogValueReader in({reinterpret_cast<const std::byte*>(bytes.data()), bytes.size()});
    EXPECT_EQ(in.Text(), std::string(c.units, 'a'));
    EXPECT_EQ(in.Remaining(), 0u);
  }
}

// Bytes put down by hand from the layout, independently of the writer.
class HandLog {
 public:
  HandLog& Int(std::uint64_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) bytes_.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
    return *this;
  }
  HandLog& Text(const std::string& utf8) {
    const std::string units = Utf8ToUtf16Le(utf8);
    const std::size_t n = units.size() / 2;
    Int(0xFF, 1).Int(0xFFFE, 2);
    if (n < 255) {
      Int(n, 1);
    } else if (n < 0xFFFE) {
      Int(0xFF, 1).Int(n, 2);
    } else {
      Int(0xFF, 1).Int(0xFFFF, 2).Int(n, 4);
    }
    bytes_ += units;
    return *this;
  }
  HandLog& Line(const std::string& utf8) {
    bytes_ += Utf8ToUtf16Le(utf8 + "\r\n");
    return *this;
  }
  HandLog& Record(const std::string& name, std::uint32_t self, std::uint64_t partition_start) {
    return Text(name).Int(self, 4).Int(0, 4).Int(0x5A21, 8).Int(0x6000, 8).Int(0, 4).Int(partition_start, 8);
  }
  const std::string& Bytes() const { return bytes_; }

 private:
  std::string bytes_;
};

// Texts of every kind one after another, as a row of a log holds them: short ASCII, short text
// that is not (written the long way after the short way gave up on it), long text; all read back
// into one string that keeps its storage from text to text.
TEST(RecoveryLogFormat, MixedTextsKeepTheirOrderAndBytes) {
  const std::vector<std::string> texts = {
      "2020085|404110|",          "",         "Caf\xC3\xA9 au lait", std::string(300, 'x'), "7",
      "\xE6\x97\xA5\xE6\x9C\xAC", "12345678", std::string(254, 'y'), "name.jpg\t"};
  test::TempDir dir;
  OutputFile file;
  ASSERT_EQ(file.Create(dir / "t"), 0);
  LogValueWriter out(file);
  HandLog expected;
  for (const std::string& text : texts) {
    out.Text(text);
    expected.Text(text);
  }
  out.Flush();
  file.Close();
  const std::string bytes = test::ReadFile(dir / "t");
  EXPECT_EQ(bytes, expected.Bytes());
  LogValueReader in({reinterpret_cast<const std::byte*>(bytes.data()), bytes.size()});
  std::string read;
  for (const std::string& text : texts) {
    in.TextInto(read);
    EXPECT_EQ(read, text);
  }
  EXPECT_EQ(in.Remaining(), 0u);
}

// A Deep log of a FAT16 partition with two partition rows and folder names at each length
// boundary (one in letters outside the basic plane, which take two code units each).
HandLog HandDeepLog(const std::vector<std::string>& names) {
  HandLog log;
  log.Text("Partition").Text("ZYDWIN7SR2015").Text("Disk image card.img").Int(2, 4);
  log.Text("PHY").Text(kCardIdentity).Int(0, 2);
  log.Int(0, 2).Int(0, 4).Text("FAT16").Text("Deep Search");
  for (std::uint64_t v : {2048, 4096, 2048, 4096, 4096 * 512}) log.Int(v, 8);
  for (int copy = 0; copy < 2; ++copy) {
    for (std::uint32_t v : {16u, 4u, 32u, 2080u, 1u}) log.Int(v, 4);
    log.Int(2104, 8).Int(2049, 4).Int(2065, 4).Int(0, 8).Int(0, 8).Int(0, 4).Int(0, 4);
  }
  log.Text("FAT16");
  log.Int(2, 8);
  for (const char* first : {"2048", "0"}) {
    log.Text(first);
    for (const char* column : {"16", "4", "32", "2080", "1", "2104", "2049", "2065", "4096", "FAT16", "4096"})
      log.Text(column);
  }
  log.Int(names.size(), 8);
  log.Line("Root").Text("Root_Item").Int(0, 4).Int(0, 4).Int(0, 8).Int(0, 8).Int(0, 4).Int(0, 8);
  std::uint32_t self = 3;
  for (const std::string& name : names) log.Line("\t" + name).Record(name, self++, 2104);
  log.Line("ZYDWIN7SR2015/:*?\"<>|");
  return log;
}

std::vector<std::string> BoundaryNames() {
  std::vector<std::string> names;
  for (std::size_t units : {254, 255, 65534, 65535, 70000}) names.push_back(std::string(units, 'n'));
  std::string wide;
  for (int i = 0; i < 35000; ++i) wide += "\U0001F600";  // 70,000 code units
  names.push_back(wide);
  return names;
}

TEST(RecoveryLogFormat, HandAssembledDeepLogLoads) {
  const std::vector<std::string> names = BoundaryNames();
  test::ScriptedUi ui;
  const LogLoad load = Load(HandDeepLog(names).Bytes(), SearchMode::kDeep, ui);
  ASSERT_EQ(load.end, LogLoadEnd::kLoaded) << (ui.Messages().empty() ? "" : ui.Messages().front());
  const RecoveredResults& r = load.log->results;
  const auto& children = r.tree.Children(r.tree.FirstItem());
  ASSERT_EQ(children.size(), names.size());
  for (std::size_t i = 0; i < names.size(); ++i) {
    EXPECT_EQ(r.tree.Title(children[i]), names[i]);
    EXPECT_EQ(r.nodes.ByItem(children[i])->name, names[i]);
    EXPECT_EQ(r.nodes.ByItem(children[i])->partition_start, 2104u);
  }
  ASSERT_EQ(load.log->deep_partitions.size(), 2u);
  EXPECT_EQ(load.log->deep_partitions[1].boot.sector, 0u);
  EXPECT_EQ(load.log->deep_partitions[0].boot.cluster0_start, 2104u);
  EXPECT_EQ(load.log->deep_partitions[0].end_sector, 4096u);
  EXPECT_EQ(load.log->partition_params.SearchMode, "Deep Search");
  EXPECT_EQ(load.log->working_params.Cluster0Start, 2104u);
}

// Where the drive a log was made of is now (the volume's log holds its 4096 sectors).
TEST(RecoveryLogFormat, DriveChecks) {
  const std::string moved_disk = "Disk image card.img||FILEBACKEDVIRTUAL||1048576||2";
  const std::string question_disk =
      "question: Original Media connection order on Disk number '0' has been replaced with media of disk number '2' "
      "since you saved the selected recovery Log.\n\nDo you want to continue?";
  const std::string question_letter =
      "question: Original Media connection order on Drive letter 'E:' has been replaced with media of drive letter "
      "'G:' since you saved the selected recovery Log.\n\nDo you want to continue?";
  const std::string moved = "message: " + std::string(kLogMediaMoved);
  struct Case {
    const char* name;
    bool volume_log;
    PresentDrives present;
    std::vector<bool> answers;
    LogLoadEnd end;
    std::string device;
    std::vector<std::string> events;
  };
  const std::vector<Case> cases = {
      {"same disk",
       false,
       {{{kCardIdentity, 0, "\\\\.\\PhysicalDrive0"}}, {}},
       {},
       LogLoadEnd::kLoaded,
       "\\\\.\\PhysicalDrive0",
       {}},
      {"disk moved, yes",
       false,
       {{{moved_disk, 2, "\\\\.\\PhysicalDrive2"}}, {}},
       {true},
       LogLoadEnd::kLoaded,
       "\\\\.\\PhysicalDrive2",
       {question_disk}},
      {"disk moved, no",
       false,
       {{{moved_disk, 2, "\\\\.\\PhysicalDrive2"}}, {}},
       {false},
       LogLoadEnd::kRefused,
       "",
       {question_disk}},
      {"disk missing",
       false,
       {{{"Other||X||1||0", 0, "\\\\.\\PhysicalDrive0"}}, {}},
       {},
       LogLoadEnd::kRefused,
       "",
       {moved}},
      {"same volume", true, {{}, {{"\\\\.\\E:|4096", "\\\\.\\E:"}}}, {}, LogLoadEnd::kLoaded, "\\\\.\\E:", {}},
      {"volume of another size", true, {{}, {{"\\\\.\\E:|2048", "\\\\.\\E:"}}}, {}, LogLoadEnd::kRefused, "", {moved}},
      {"volume on another letter, yes",
       true,
       {{}, {{"\\\\.\\G:|4096", "\\\\.\\G:"}}},
       {true},
       LogLoadEnd::kLoaded,
       "\\\\.\\G:",
       {question_letter}},
      {"volume on another letter, no",
       true,
       {{}, {{"\\\\.\\G:|4096", "\\\\.\\G:"}}},
       {},
       LogLoadEnd::kRefused,
       "",
       {question_letter}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    test::TempDir dir;
    ScannedDrive drive = CardPartition();
    PartitionParams params = CardParams("FAT32");
    if (c.volume_log) {
      drive.kind = kLogicalDriveKind;
      drive.volume_path = "\\\\.\\E:";
    }
    const RecoveredResults results = SmallResults(false, false);
    WriteRecoveryLog(dir / "x.DMC", SourceOf(SearchMode::kBasic, drive, params, results));
    test::ScriptedUi ui;
    for (bool answer : c.answers) ui.AnswerYesNo({answer});
    bool asked_for_volumes = false;
    const LogLoad load = Load(test::ReadFile(dir / "x.DMC"), SearchMode::kBasic, ui, [&](bool volumes) {
      asked_for_volumes = volumes;
      return c.present;
    });
    EXPECT_EQ(load.end, c.end);
    EXPECT_EQ(ui.Events(), c.events);
    EXPECT_EQ(asked_for_volumes, c.volume_log);
    if (c.end == LogLoadEnd::kLoaded) {
      EXPECT_EQ(load.log->device_path, c.device);
      EXPECT_EQ(load.log->partition_params.DiskNumber, c.device == "\\\\.\\PhysicalDrive2" ? 2 : 0);
    }
  }
}

TEST(RecoveryLogFormat, ALogOfTheOtherModeAsksToSwitch) {
  test::TempDir dir;
  const std::string deep = WriteLog(dir / "deep.DMC", kKinds[2]);
  const std::string basic = WriteLog(dir / "basic.DMC", kKinds[0]);
  test::ScriptedUi ui;
  ui.AnswerYesNo({true, false, true});
  EXPECT_EQ(Load(deep, SearchMode::kBasic, ui).end, LogLoadEnd::kSwitchMode);
  EXPECT_EQ(Load(deep, SearchMode::kBasic, ui).end, LogLoadEnd::kRefused);
  const LogLoad to_basic = Load(basic, SearchMode::kDeep, ui);
  EXPECT_EQ(to_basic.end, LogLoadEnd::kSwitchMode);
  EXPECT_EQ(to_basic.log_mode, SearchMode::kBasic);
  EXPECT_EQ(ui.Events(), (std::vector<std::string>{"question: " + std::string(kSwitchToDeepQuestion),
                                                   "question: " + std::string(kSwitchToDeepQuestion),
                                                   "question: " + std::string(kSwitchToBasicQuestion)}));
}

// Bytes of a log patched at the first place a pattern appears.
std::string Patched(std::string bytes, const std::string& find, const std::string& replacement) {
  const std::size_t at = bytes.find(find);
  EXPECT_NE(at, std::string::npos) << "pattern not in the log";
  if (at != std::string::npos) bytes.replace(at, find.size(), replacement);
  return bytes;
}

std::string Units(const std::string& utf8) { return Utf8ToUtf16Le(utf8); }

// Every way a file can lie ends in the invalid-log message (or, before the magic, the wrong-log
// one) and never in a loaded log, a crash or an allocation the file cannot back.
TEST(RecoveryLogFormat, HostileLogsAreRefused) {
  test::TempDir dir;
  const std::string basic = WriteLog(dir / "basic.DMC", kKinds[0]);
  const std::string deep = WriteLog(dir / "deep.DMC", kKinds[2]);
  const std::string ntfs = WriteLog(dir / "ntfs.DMC", kKinds[1]);
  const std::string four_gib_text = std::string("\xFF\xFE\xFF\xFF\xFF\xFF\xFF\xFF\xFF\xFF", 10);
  struct Case {
    const char* name;
    std::string bytes;
    SearchMode window;
    LogLoadEnd end;
  };
  const std::string dcim_line = Units("\tDCIM\r\n");
  const std::string root_item = Utf8ToUtf16Le("Root_Item");
  const std::vector<Case> cases = {
      {"empty file", "", SearchMode::kBasic, LogLoadEnd::kRefused},
      {"another magic", Patched(basic, Units("ZYDWIN7SR2015"), Units("ZYDWIN7SR2016")), SearchMode::kBasic,
       LogLoadEnd::kRefused},
      {"mode 7",
       Patched(basic, std::string("\x01\x00\x00\x00\xFF\xFE\xFF\x03", 8),
               std::string("\x07\x00\x00\x00\xFF\xFE\xFF\x03", 8)),
       SearchMode::kBasic, LogLoadEnd::kRefused},
      {"unknown identity kind", Patched(basic, Units("PHY"), Units("XYZ")), SearchMode::kBasic, LogLoadEnd::kCorrupt},
      {"text longer than the file",
       Patched(basic, std::string("\xFF\xFE\xFF\x09", 4) + root_item, four_gib_text + root_item), SearchMode::kBasic,
       LogLoadEnd::kCorrupt},
      {"depth jumps three tabs", Patched(basic, dcim_line, Units("\t\t\tDCIM\r\n")), SearchMode::kBasic,
       LogLoadEnd::kCorrupt},
      {"a second root", Patched(basic, dcim_line, Units("DCIM\r\n")), SearchMode::kBasic, LogLoadEnd::kCorrupt},
      {"no separator", Patched(basic, Units("ZYDWIN7SR2015/:*?\"<>|\r\n"), ""), SearchMode::kBasic,
       LogLoadEnd::kCorrupt},
      {"billion partition rows",
       Patched(deep, std::string("\x02\x00\x00\x00\x00\x00\x00\x00\xFF\xFE\xFF\x04", 12),
               std::string("\x00\xCA\x9A\x3B\x00\x00\x00\x00\xFF\xFE\xFF\x04", 12)),
       SearchMode::kDeep, LogLoadEnd::kCorrupt},
      {"billion file rows",
       Patched(ntfs, Units("ZYDWIN7SR2015/:*?\"<>|\r\n") + std::string("\x02\0\0\0\0\0\0\0", 8),
               Units("ZYDWIN7SR2015/:*?\"<>|\r\n") + std::string("\0\xCA\x9A\x3B\0\0\0\0", 8)),
       SearchMode::kBasic, LogLoadEnd::kCorrupt},
      {"text without its tag",
       Patched(basic, std::string("\xFF\xFE\xFF\x09", 4) + root_item, std::string("\xFE\xFE\xFF\x09", 4) + root_item),
       SearchMode::kBasic, LogLoadEnd::kCorrupt},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    test::ScriptedUi ui;
    const LogLoad load = Load(c.bytes, c.window, ui);
    EXPECT_EQ(load.end, c.end);
    ASSERT_EQ(ui.Messages().size(), 1u);
    const std::string message = ui.Messages().front();
    if (c.end == LogLoadEnd::kCorrupt) {
      EXPECT_TRUE(message.ends_with(kLogCorrupted)) << message;
    } else {
      EXPECT_TRUE(message == kLogWrongMagic || message == kLogMediaMoved) << message;
    }
  }
  // Cut anywhere before its end, no log loads.
  for (const std::string* bytes : {&basic, &deep, &ntfs}) {
    const SearchMode window = bytes == &deep ? SearchMode::kDeep : SearchMode::kBasic;
    for (std::size_t size = 0; size < bytes->size(); ++size) {
      test::ScriptedUi ui;
      ASSERT_NE(Load(bytes->substr(0, size), window, ui).end, LogLoadEnd::kLoaded) << "cut at " << size;
    }
  }
}

// A destination that takes no more (here: a file-size limit, as a full disk does) leaves no log
// behind, and an earlier log of the same name stays as it was.
TEST(RecoveryLogFormat, AFailedWriteLeavesNoLog) {
  test::TempDir dir;
  const fs::path path = dir / "card.DMC";
  test::WriteFile(path, "an earlier log");
  RecoveredResults big;
  const ItemId root = big.RootItem();
  for (std::uint64_t i = 0; i < 2000; ++i)
    big.AddFolderNode(root, "folder " + std::to_string(i), i + 3, 0, 0, 0, false, 0);
  const PartitionParams params = CardParams("FAT32");
  const ScannedDrive drive = CardPartition();
  const LogSource source = SourceOf(SearchMode::kBasic, drive, params, big);
  rlimit before{};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &before), 0);
  const auto old_handler = std::signal(SIGXFSZ, SIG_IGN);
  rlimit small = before;
  small.rlim_cur = 8192;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  bool failed = false;
  try {
    WriteRecoveryLog(path, source);
  } catch (const LogWriteError& error) {
    failed = true;
    EXPECT_STREQ(error.what(), "File too large");
  }
  setrlimit(RLIMIT_FSIZE, &before);
  std::signal(SIGXFSZ, old_handler);
  EXPECT_TRUE(failed);
  EXPECT_EQ(test::ReadFile(path), "an earlier log");
  EXPECT_FALSE(fs::exists(path.string() + ".part"));
  EXPECT_THROW(WriteRecoveryLog(dir / "no such folder" / "x.DMC", source), LogWriteError);
}

}  // namespace
}  // namespace pellora
