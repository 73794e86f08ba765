// The Deep Search window and the recovery logs of the search windows, driven as a person would, on
// a copy of the sample card whose boot sectors and FATs were wiped.

#include <QComboBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include <cstring>

#include "app/attached_drives.hpp"
#include "basic_search.hpp"
#include "deep_search.hpp"
#include "drive_panel.hpp"
#include "file_list_model.hpp"
#include "find_in_list.hpp"
#include "gui_driver.hpp"
#include "range_fields.hpp"
#include "recoverylog/log_messages.hpp"
#include "result_tree_model.hpp"
#include "support/cli_runner.hpp"
#include "support/faulty_source.hpp"
#include "support/recording_launcher.hpp"
#include "support/temp_dir.hpp"

namespace pellora::test {
namespace {

using gui::CDeepSearch;
using gui::CSearchWindow;

CDeepSearch* OpenDeep(GuiProgram& program) { return qobject_cast<CDeepSearch*>(OpenModeWindow(program, "Deep")); }

bool Idle(GuiProgram& program, CSearchWindow* window) {
  return !program.app.search.Running() && !program.app.log_loading.Running() && ButtonOf(window, "Start")->isEnabled();
}

// Runs a Deep Search of the selected partition and waits for its end message.
bool DeepSearch(GuiProgram& program, CDeepSearch* window) {
  bool ended = false;
  WhenModal(MessageSaying("Recovery is completed in Deep Search Mode"), [&](QWidget* box) {
    ended = true;
    ButtonOf(box, "OK")->click();
  });
  ButtonOf(window, "Start")->click();
  return QTest::qWaitFor([&] { return ended && Idle(program, window); }, 60000);
}

// Answers a file dialog of this name with file. The dialog reads its folder on a thread of its
// own and may take the typed name back while it does: it is answered again until it closes.
void ChooseFile(const QString& dialog_name, const std::filesystem::path& file) {
  WhenModal(ModalNamed(dialog_name), [dialog_name, file](QWidget* modal) {
    auto* dialog = qobject_cast<QFileDialog*>(modal);
    if (auto* name = dialog->findChild<QLineEdit*>("fileNameEdit"))
      name->setText(QString::fromStdString(file.string()));
    dialog->selectFile(QString::fromStdString(file.string()));
    QMetaObject::invokeMethod(dialog, "accept");
    QTimer::singleShot(200, [dialog = QPointer<QFileDialog>(dialog), dialog_name, file] {
      if (dialog && dialog->isVisible()) ChooseFile(dialog_name, file);
    });
  });
}

// Ticks a folder and saves it with "Save Data" into destination.
bool SaveTicked(GuiProgram& program, CSearchWindow* window, ItemId folder, const std::filesystem::path& destination) {
  window->ResultModel().setData(window->ResultModel().IndexOf(folder), Qt::Checked, Qt::CheckStateRole);
  bool completed = false;
  WhenModal(ModalNamed("Save As"), [&](QWidget* dialog) {
    dialog->findChild<QLineEdit*>("destination")->setText(QString::fromStdString(destination.string()));
    WhenModal(MessageSaying("Recovered data has been saved successfully."), [&](QWidget* box) {
      completed = true;
      ButtonOf(box, "OK")->click();
    });
    ButtonOf(dialog, "OK")->click();
  });
  ButtonOf(window, "Save Data")->click();
  return QTest::qWaitFor([&] { return completed && !program.app.saving.Running(); }, 60000);
}

std::filesystem::path WipedCard(const TempDir& dir) {
  const std::filesystem::path card = dir / "wiped-card.img";
  // A sparse copy: the card is mostly empty.
  const CliResult copied = RunProgram("/bin/cp", {"--sparse=always", SampleCard().string(), card.string()});
  if (copied.exit_code != 0) throw std::runtime_error(copied.err);
  WipeFat32Layout(card, kSampleCardPartitionStart);
  return card;
}

}  // namespace

class DeepLogTests : public QObject {
  Q_OBJECT

 private slots:
  // Main window -> Deep -> the card's partition -> Start: DCIM comes back from the directories
  // alone, and saving it gives the bytes the command line saves.
  void DeepSearchOfTheWipedCardShowsDcimAndSavesIt() {
    TempDir dir;
    const std::filesystem::path card = WipedCard(dir);
    GuiProgram program(card);
    CDeepSearch* window = OpenDeep(program);
    QVERIFY(window != nullptr);
    QCOMPARE(window->windowTitle(), QString("Deep Search"));
    QCOMPARE(window->FileSystemChoice().currentText(), QString("Unknown"));

    // Nothing scanned yet: the log has nothing to hold.
    auto refused = ExpectMessage("first you need to scan the drive");
    ButtonOf(window, "Save Log")->click();
    QVERIFY(*refused);

    // The range fields offer the partition's sectors, which the search reads as the command line does.
    QCOMPARE(window->Range().StartField().text(), QString("8192"));
    QVERIFY(DeepSearch(program, window));
    QCOMPARE(window->findChild<QLabel*>("search range")->text(), QString("Search Range : 8192 to 327680"));
    const ResultTree& tree = program.app.results.tree;
    const ItemId dcim = ChildTitled(tree, tree.FirstItem(), "DCIM");
    QVERIFY(dcim != kNoItem);
    QVERIFY(window->Partitions() != nullptr && window->Partitions()->Count() == 1);
    // The photos of 100PELLO are listed from the partition the search rebuilt.
    const ItemId photos = ChildTitled(tree, dcim, "100PELLO");
    QVERIFY(photos != kNoItem);
    window->ResultView().setCurrentIndex(window->ResultModel().IndexOf(photos));
    QTRY_COMPARE(window->FileModel().rowCount(), 10);
    // A double-click opens a copy read from that partition.
    QModelIndex photo;
    for (int row = 0; row < 10; ++row)
      if (window->FileModel().Row(row).name == "IMG_0001.JPG")
        photo = window->FileView().model()->index(row, gui::CFileListModel::kName);
    QVERIFY(photo.isValid());
    emit window->FileView().doubleClicked(photo);
    const auto& opened = std::static_pointer_cast<RecordingLauncher>(program.app.launcher)->runs;
    QCOMPARE(opened.size(), std::size_t{1});
    const std::filesystem::path copy = opened.front().at(1);
    QVERIFY(ReadFile(copy) == ReadFile(SampleCardFiles() / "DCIM/100PELLO/IMG_0001.JPG"));
    std::filesystem::remove(copy);

    // "Find in List" goes from the listed photos to the folders of the tree.
    ButtonOf(window, "Find in List")->click();
    auto* find = window->findChild<gui::CFindInList*>();
    QVERIFY(find != nullptr);
    find->findChild<QLineEdit*>("find what")->setText("img_0003");
    QVERIFY(find->FindNext());
    QCOMPARE(window->FileModel().Row(window->FileView().currentIndex().row()).name, std::string("IMG_0003.JPG"));
    find->findChild<QLineEdit*>("find what")->setText("trip");
    QVERIFY(find->FindNext());
    QCOMPARE(QString::fromStdString(tree.Title(gui::CResultTreeModel::ItemOf(window->ResultView().currentIndex()))),
             QString("Trip 2025"));
    find->close();

    // A log cannot replace results on screen.
    auto after_scan = ExpectMessage("Recovery log cannot be loaded at this stage.");
    ButtonOf(window, "Load Log")->click();
    QVERIFY(*after_scan);

    const std::filesystem::path saved = dir / "gui";
    QVERIFY(SaveTicked(program, window, dcim, saved));
    const std::filesystem::path by_cli = dir / "cli";
    const CliResult cli = RunCli({"--image", card.string(), "deep", "--drive", "disk:0", "--partition", "1", "--save",
                                  by_cli.string(), "--select", "DCIM"});
    QVERIFY2(cli.exit_code == 0, cli.err.c_str());
    const auto gui_files = FolderContents(saved);
    QVERIFY(gui_files.contains("DCIM/100PELLO/IMG_0001.JPG"));
    QVERIFY(gui_files == FolderContents(by_cli));

    // Results nobody logged: closing asks first, and Cancel keeps the window.
    bool asked = false;
    WhenModal(MessageSaying("Do you want to save the Recovery scanning Log"), [&](QWidget* box) {
      asked = true;
      ButtonOf(box, "Cancel")->click();
    });
    ButtonOf(window, "Back")->click();
    QVERIFY(asked);
    QVERIFY(window->isVisible());
  }

  // Save Log after the scan, close, start again with the log's path on the command line: the Deep
  // window opens with the log loaded, and a folder saved from it has the bytes saved after the scan.
  void ALogSavedAfterTheScanOpensFromTheCommandLine() {
    TempDir dir;
    const std::filesystem::path card = WipedCard(dir);
    const std::filesystem::path log = dir / "card.DMC";
    {
      GuiProgram program(card);
      CDeepSearch* window = OpenDeep(program);
      QVERIFY(window != nullptr);
      QVERIFY(DeepSearch(program, window));
      ChooseFile("Save Log", log);
      auto saved = ExpectMessage(QString::fromUtf8(kLogSaved.data()));
      ButtonOf(window, "Save Log")->click();
      QTRY_VERIFY_WITH_TIMEOUT(*saved && Idle(program, window), 20000);
      QVERIFY(window->LogSaved());
      QVERIFY(std::filesystem::file_size(log) > 0);
      // Logged: Back closes without asking.
      ButtonOf(window, "Back")->click();
      QTRY_VERIFY(!window->isVisible());
    }

    GuiProgram program(card);
    program.app.command_line_log_path = log.string();
    program.window->show();
    auto loaded = ExpectMessage(QString::fromUtf8(kLogLoaded.data()));
    QVERIFY(program.window->OpenCommandLineLog());
    CDeepSearch* window = qobject_cast<CDeepSearch*>(OpenModeWindow(program, {}));
    QVERIFY(window != nullptr);
    QTRY_VERIFY_WITH_TIMEOUT(*loaded && Idle(program, window), 20000);
    QVERIFY(program.app.command_line_log_path.empty());
    QVERIFY(window->LogSaved());
    const ResultTree& tree = program.app.results.tree;
    const ItemId photos = ChildTitled(tree, ChildTitled(tree, tree.FirstItem(), "DCIM"), "100PELLO");
    QVERIFY(photos != kNoItem);
    QVERIFY(window->ResultView().currentIndex().isValid());

    const std::filesystem::path from_log = dir / "from-log";
    QVERIFY(SaveTicked(program, window, photos, from_log));
    const std::filesystem::path by_cli = dir / "cli";
    const CliResult cli = RunCli({"--image", card.string(), "deep", "--drive", "disk:0", "--partition", "1", "--save",
                                  by_cli.string(), "--select", "DCIM/100PELLO"});
    QVERIFY2(cli.exit_code == 0, cli.err.c_str());
    const auto files = FolderContents(from_log);
    QVERIFY(files.contains("DCIM/100PELLO/IMG_0001.JPG"));
    QVERIFY(files == FolderContents(by_cli));
  }

  // A Basic log chosen in the Deep window asks to switch; Yes opens the Basic window with it loaded,
  // without a second file dialog.
  void ABasicLogInTheDeepWindowSwitchesToBasic() {
    TempDir dir;
    const std::filesystem::path log = dir / "basic.DMC";
    const CliResult made = RunCli({"--image", SampleCard().string(), "basic", "--drive", "disk:0", "--partition", "1",
                                   "--log-out", log.string()});
    QVERIFY2(made.exit_code == 0, made.err.c_str());

    GuiProgram program(SampleCard());
    CDeepSearch* deep = OpenDeep(program);
    QVERIFY(deep != nullptr);
    ChooseFile("Load Log", log);
    WhenModal(MessageSaying("saved in basic Recovery mode"), [](QWidget* box) { ButtonOf(box, "Yes")->click(); });
    auto loaded = ExpectMessage(QString::fromUtf8(kLogLoaded.data()));
    ButtonOf(deep, "Load Log")->click();
    gui::CBasicSearch* basic = qobject_cast<gui::CBasicSearch*>(OpenModeWindow(program, {}));
    QVERIFY(basic != nullptr);
    QTRY_VERIFY_WITH_TIMEOUT(*loaded && Idle(program, basic), 20000);
    const ResultTree& tree = program.app.results.tree;
    QVERIFY(ChildTitled(tree, tree.FirstItem(), "DCIM") != kNoItem);
    QCOMPARE(program.app.mode.Get(), SearchMode::kBasic);
  }

  // "Stop" asks first: No lets the Deep Search go on, Yes stops it and says it was stopped.
  void StopDuringADeepSearchIsAskedFirst() {
    const std::string bytes = ReadFile(SampleCard());
    auto medium = std::make_shared<std::vector<std::byte>>(bytes.size());
    std::memcpy(medium->data(), bytes.data(), bytes.size());
    HeldReads held;
    GuiProgram program;
    AddFaultyDevice(program.app.devices, "\\\\.\\PhysicalDrive0", medium, held.Plan());
    CDeepSearch* window = OpenDeep(program);
    QVERIFY(window != nullptr);

    auto stopped = ExpectMessage("Recovery is stopped in Deep Search Mode");
    QVERIFY(StopIsAskedFirst(program, window, "Stop", held));
    QTRY_VERIFY_WITH_TIMEOUT(*stopped && Idle(program, window), 60000);
    QVERIFY(program.app.stopped);
  }

  // A drive whose type is not known is searched only as the type the person chose.
  void AnUnknownFileSystemMustBeChosenFirst() {
    TempDir dir;
    const std::filesystem::path volume = dir / "volume.img";
    WriteFile(volume, std::string(2 * 1024 * 1024, '\0'));
    GuiProgram program;
    QVERIFY(AttachImages(program.app, {{}, {volume.string()}}).empty());
    CDeepSearch* window = OpenDeep(program);
    QVERIFY(window != nullptr);
    window->Range().EndField().setText("0");
    auto refused = ExpectMessage("cannot be less than or equal to the");
    ButtonOf(window, "Start")->click();
    QVERIFY(*refused);
    window->Drives().Tree()->currentItem()->setSelected(false);
    window->Drives().SelectFirstDrive();
    auto asked = ExpectMessage("Select file system type for recovery of selected drive.");
    ButtonOf(window, "Start")->click();
    QVERIFY(*asked);
    QVERIFY(!program.app.search.Running());

    window->FileSystemChoice().setCurrentText("FAT32");
    auto nothing = ExpectMessage("Recovery is not possible in Deep Search Mode");
    ButtonOf(window, "Start")->click();
    QTRY_VERIFY_WITH_TIMEOUT(*nothing && Idle(program, window), 20000);
  }
};

}  // namespace pellora::test

QTEST_MAIN(pellora::test::DeepLogTests)
#include "deep_log_test.moc"
