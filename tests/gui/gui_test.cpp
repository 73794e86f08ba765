// The windows of the desktop program, driven as a person would: buttons clicked by their labels,
// modal windows answered from timers, on the offscreen platform.

#include <QAbstractItemModelTester>
#include <QCheckBox>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QTableView>
#include <QTest>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>

#include <atomic>
#include <chrono>
#include <cstring>
#include <thread>

#include "app/startup.hpp"
#include "basic_search.hpp"
#include "drive_panel.hpp"
#include "error_report_dlg.hpp"
#include "file_list_model.hpp"
#include "gui_driver.hpp"
#include "range_fields.hpp"
#include "recognition/lost_partition_search.hpp"
#include "result_tree_model.hpp"
#include "save_dialogs.hpp"
#include "storage/device_path.hpp"
#include "support/cli_runner.hpp"
#include "support/faulty_source.hpp"
#include "support/recording_launcher.hpp"
#include "support/temp_dir.hpp"

namespace pellora::test {
namespace {

using gui::CBasicSearch;
using gui::CResultTreeModel;

// The titles of an item's children in the result tree.
QStringList ChildTitles(const ResultTree& tree, ItemId item) {
  QStringList titles;
  for (ItemId child : tree.Children(item)) titles << QString::fromStdString(tree.Title(child));
  return titles;
}

// Clicks "Basic" in the main window and waits for its window with the drives listed.
CBasicSearch* OpenBasic(GuiProgram& program) { return qobject_cast<CBasicSearch*>(OpenModeWindow(program, "Basic")); }

bool SearchEnded(GuiProgram& program, CBasicSearch* window) {
  return !program.app.search.Running() && ButtonOf(window, "Start")->isEnabled();
}

}  // namespace

class GuiTests : public QObject {
  Q_OBJECT

 private slots:
  // Main window -> Basic -> the card's partition -> Start -> tick DCIM -> Save Data -> destination
  // -> counting -> saving -> completion; the files are those the command line saves.
  void APersonRecoversDcimFromTheSampleCard() {
    TempDir dir;
    GuiProgram program(SampleCard());
    CBasicSearch* window = OpenBasic(program);
    QVERIFY(window != nullptr);
    QVERIFY(window->Drives().Tree()->currentItem()->text(0).startsWith("Partition - 1"));

    auto end_shown = ExpectMessage("Recovery is completed in Basic Search Mode");
    ButtonOf(window, "Start")->click();
    QTRY_VERIFY_WITH_TIMEOUT(SearchEnded(program, window) && *end_shown, 60000);

    const ResultTree& tree = program.app.results.tree;
    const ItemId root = tree.FirstItem();
    QCOMPARE(QString::fromStdString(tree.Title(root)), QString("Root"));
    const QStringList top = ChildTitles(tree, root);
    QVERIFY2(top.contains("DCIM") && top.contains("Trip 2025") && top.contains("ZYD_Miscellaneous"),
             qPrintable(top.join(", ")));
    const ItemId dcim = ChildTitled(tree, root, "DCIM");
    QVERIFY(ChildTitles(tree, dcim).contains("DIR5"));  // the folder whose entry is lost

    // The selected root lists its folders; DCIM lists its two folders.
    window->ResultView().setCurrentIndex(window->ResultModel().IndexOf(dcim));
    QTRY_COMPARE(window->FileModel().rowCount(), 2);
    QVERIFY(window->FileView().isColumnHidden(gui::CFileListModel::kTreeItem));
    QVERIFY(!window->FileView().isColumnHidden(gui::CFileListModel::kSize));

    // A double-click on a photo opens a copy of it in the temporary folder with the desktop's viewer.
    const ItemId photos = ChildTitled(tree, dcim, "100PELLO");
    window->ResultView().setCurrentIndex(window->ResultModel().IndexOf(photos));
    QTRY_COMPARE(window->FileModel().rowCount(), 10);
    QModelIndex photo;
    for (int row = 0; row < 10; ++row) {
      const QModelIndex name = window->FileView().model()->index(row, gui::CFileListModel::kName);
      if (name.data().toString() == "IMG_0001.JPG") photo = name;
    }
    QVERIFY(photo.isValid());
    emit window->FileView().doubleClicked(photo);
    const auto& opened = std::static_pointer_cast<RecordingLauncher>(program.app.launcher)->runs;
    QCOMPARE(opened.size(), std::size_t{1});
    const std::filesystem::path copy = opened.front().at(1);
    QCOMPARE(QString::fromStdString(copy.filename().string()), QString("ZYDC1.JPG"));
    QVERIFY(ReadFile(copy) == ReadFile(SampleCardFiles() / "DCIM/100PELLO/IMG_0001.JPG"));
    std::filesystem::remove(copy);

    // Tick DCIM through the model, as a click on its box does; Root becomes partly checked.
    QVERIFY(window->ResultModel().setData(window->ResultModel().IndexOf(dcim), Qt::Checked, Qt::CheckStateRole));
    QCOMPARE(window->ResultModel().data(window->ResultModel().IndexOf(root), Qt::CheckStateRole).toInt(),
             static_cast<int>(Qt::PartiallyChecked));

    const std::filesystem::path saved = dir / "gui";
    bool counted_or_saving = false;
    bool completed = false;
    WhenModal(ModalNamed("Save As"), [&](QWidget* destination) {
      destination->findChild<QLineEdit*>("destination")->setText(QString::fromStdString(saved.string()));
      WhenModal(MessageSaying("Recovered data has been saved successfully."), [&](QWidget* box) {
        counted_or_saving =
            QApplication::topLevelWidgets().count() > 0 && window->findChild<gui::CSavingDlg*>() != nullptr;
        completed = true;
        ButtonOf(box, "OK")->click();
      });
      ButtonOf(destination, "OK")->click();
    });
    ButtonOf(window, "Save Data")->click();
    QTRY_VERIFY_WITH_TIMEOUT(completed && !program.app.saving.Running(), 60000);
    QVERIFY(counted_or_saving);
    QCOMPARE(program.app.save.end, SaveEnd::kCompleted);

    const std::filesystem::path by_cli = dir / "cli";
    const CliResult cli = RunCli({"--image", SampleCard().string(), "basic", "--drive", "disk:0", "--partition", "1",
                                  "--save", by_cli.string(), "--select", "DCIM"});
    QVERIFY2(cli.exit_code == 0, cli.err.c_str());
    const auto gui_files = FolderContents(saved);
    QVERIFY(gui_files.contains("DCIM/100PELLO/IMG_0001.JPG"));
    QVERIFY(gui_files.contains("DCIM/DIR5/IMG_0101.JPG"));
    QVERIFY(gui_files == FolderContents(by_cli));
  }

  // "Stop" asks first: No leaves the scan running, Yes stops it and shows what was found.
  void StopDuringAScanIsAskedFirst() {
    const std::string bytes = ReadFile(SampleCard());
    auto medium = std::make_shared<std::vector<std::byte>>(bytes.size());
    std::memcpy(medium->data(), bytes.data(), bytes.size());
    HeldReads held;
    TempDir dir;
    GuiProgram program;
    AddFaultyDevice(program.app.devices, "\\\\.\\PhysicalDrive0", medium, held.Plan());
    CBasicSearch* window = OpenBasic(program);
    QVERIFY(window != nullptr);

    auto stopped_message = ExpectMessage("Recovery is stopped in Basic Search Mode");
    QVERIFY(StopIsAskedFirst(program, window, "Stop", held));
    QTRY_VERIFY_WITH_TIMEOUT(SearchEnded(program, window) && *stopped_message, 60000);
    QVERIFY(program.app.stopped);
  }

  // A worker's replace question is a window on the GUI thread; "Rename" saves beside the file.
  void AWorkersReplaceQuestionIsAnsweredInItsWindow() {
    TempDir dir;
    GuiProgram program(SampleCard());
    const std::filesystem::path existing = dir / "IMG_0001.JPG";
    WriteFile(existing, "already here");
    ReplaceAnswer answer;
    std::thread worker(
        [&] { answer = program.ui.AskReplace(existing.string(), (dir / "IMG_0001_zy_0.JPG").string()); });
    bool asked = false;
    WhenModal(ModalNamed("Replace File Confirmation"), [&](QWidget* replace) {
      asked = replace->findChild<QLineEdit*>("New File :")->text().endsWith("IMG_0001_zy_0.JPG");
      replace->findChild<QCheckBox*>(QString::fromUtf8(kReplaceApplyAll.data()))->setChecked(true);
      ButtonOf(replace, "Rename")->click();
    });
    QTRY_VERIFY(asked);
    worker.join();
    QCOMPARE(static_cast<int>(answer.choice), static_cast<int>(ReplaceChoice::kRename));
    QVERIFY(answer.apply_to_all);
  }

  // A window that goes away releases the worker waiting on its question with the cancel answer,
  // so joining the worker never waits on a window nobody will answer.
  void ReleasingQuestionsFreesAWaitingWorker() {
    GuiProgram program(SampleCard());
    std::atomic<bool> answered{false};
    bool answer = true;
    std::thread worker([&] {
      answer = program.ui.AskYesNo("Do you want to stop saving?", true);
      answered = true;
    });
    bool released = false;
    WhenModal(MessageSaying("Do you want to stop saving?"), [&](QWidget*) {
      program.ui.ReleaseQuestions();
      released = true;
    });
    QTRY_VERIFY(released);
    worker.join();
    QVERIFY(answered);
    QVERIFY(!answer);
    QTRY_VERIFY(QApplication::activeModalWidget() == nullptr);
    program.ui.Rearm();
  }

  // A failing operation raises the report window with its code; "Copy Information" copies the body.
  void AFailureShowsTheErrorReport() {
    GuiProgram program(SampleCard());
    bool shown = false;
    WhenModal(ModalNamed("CErrorReportDlg"), [&](QWidget* report) {
      shown = report->findChild<QLabel*>("headline")->text().contains("0x006A_OF_M");
      WhenModal(MessageSaying("Information has been copied successfully."),
                [](QWidget* box) { ButtonOf(box, "OK")->click(); });
      ButtonOf(report, "Copy Information")->click();
      ButtonOf(report, "OK")->click();
    });
    std::thread worker([&] {
      program.app.reporter.Guarded("Trying to open selected recovered file...", "OF", "6A",
                                   [] { throw std::runtime_error("the copy could not be written"); });
    });
    QTRY_VERIFY(shown);
    worker.join();
    QVERIFY(QApplication::clipboard()->text().contains("Trying to open selected recovered file"));
  }

  // With no drive the no-device window is shown; an image attached then is found by its search.
  void TheNoDeviceWindowFindsAnImageAttachedLater() {
    GuiProgram program;
    bool found = false;
    WhenModal(ModalNamed("CNoDeviceDlg"), [&](QWidget* no_device) {
      program.app.devices.AttachDiskImage(SampleCard());
      ButtonOf(no_device, "Search for drive...")->click();
      found = true;
    });
    program.window->show();
    ButtonOf(program.window.get(), "Basic")->click();
    QTRY_VERIFY_WITH_TIMEOUT(found, 20000);
    QTRY_VERIFY_WITH_TIMEOUT(
        program.window->ModeWindow() != nullptr && QApplication::activeModalWidget() == program.window->ModeWindow(),
        20000);
    QVERIFY(program.window->ModeWindow()->Drives().HasDrives());
  }

  // "Search More Partitions" on a disk whose table lost its partition finds it and lists it.
  void SearchMorePartitionsListsTheLostPartition() {
    GuiProgram program(PartitionFixture("lost-63.img"));
    CBasicSearch* window = OpenBasic(program);
    QVERIFY(window != nullptr);
    QTreeWidget* drives = window->Drives().Tree();
    for (QTreeWidgetItemIterator it(drives); *it; ++it)
      if ((*it)->text(0).startsWith("Disk0")) drives->setCurrentItem(*it);
    QVERIFY(drives->currentItem()->text(0).startsWith("Disk0"));

    WhenModal(ModalNamed(QString::fromUtf8(kSearchMoreTitle.data())),
              [](QWidget* choose) { ButtonOf(choose, "Continue")->click(); });
    auto reported = ExpectMessage("Found 1 more partitions in selected Disk");
    ButtonOf(window, "Search More Partitions")->click();
    QTRY_VERIFY_WITH_TIMEOUT(*reported && !program.app.search.Running(), 60000);
    bool listed = false;
    for (QTreeWidgetItemIterator it(drives); *it; ++it) listed |= (*it)->text(0).startsWith("Partition - 1");
    QVERIFY(listed);
  }

  // A search started on a whole disk asks first; "OK, Go Back" starts nothing.
  void AWholeDiskIsSearchedOnlyWhenThePersonSaysSo() {
    GuiProgram program(SampleCard());
    CBasicSearch* window = OpenBasic(program);
    QVERIFY(window != nullptr);
    QTreeWidget* drives = window->Drives().Tree();
    for (QTreeWidgetItemIterator it(drives); *it; ++it)
      if ((*it)->text(0).startsWith("Disk0")) drives->setCurrentItem(*it);
    bool asked = false;
    WhenModal(MessageSaying("Please select the Partition to start searching"), [&](QWidget* box) {
      asked = box->windowTitle() == "Pellora";
      ButtonOf(box, QString::fromUtf8(kWholeDiskGoBack.data()))->click();
    });
    ButtonOf(window, "Start")->click();
    QTRY_VERIFY(asked);
    QVERIFY(!program.app.search.Running());
    QVERIFY(program.app.results.tree.Empty());
  }

  // Start-up stops at a missing definition file, saying which error it met.
  void AMissingDefinitionFileEndsTheStart() {
    TempDir empty;
    gui::CQtUi ui;
    Program app(ui);
    auto said = ExpectMessage("Couldn't open source file: ");
    QVERIFY(!StartUp(app, empty.Path(), {}));
    QVERIFY(*said);
  }

  // Closing the main window asks first; No keeps it open.
  void ClosingTheMainWindowAsksFirst() {
    GuiProgram program(SampleCard());
    program.window->show();
    WhenModal(MessageSaying("Do you want to exit from Pellora?"), [](QWidget* box) { ButtonOf(box, "No")->click(); });
    program.window->close();
    QVERIFY(program.window->isVisible());
    bool reviewed = false;
    WhenModal(MessageSaying("Do you want to exit from Pellora?"), [&](QWidget* box) {
      WhenModal(ModalNamed("Review"), [&](QWidget* review) {
        reviewed = true;
        ButtonOf(review, "OK")->click();
      });
      ButtonOf(box, "Yes")->click();
    });
    program.window->close();
    QVERIFY(reviewed);
    QVERIFY(!program.window->isVisible());
  }

  // The result tree model keeps Qt's model rules through a search and a change of check states.
  void TheResultTreeModelKeepsTheModelRules() {
    ResultTree tree;
    gui::CResultTreeModel model(tree);
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    const ItemId root = tree.Insert(kNoItem, "Root", kRootImage);
    const ItemId a = tree.Insert(root, "A", kFolderImage);
    tree.Insert(a, "A1", kFolderImage);
    const ItemId b = tree.Insert(root, "B", kFolderImage);
    for (int n = 0; n < 50; ++n) tree.Insert(b, "B" + std::to_string(n), kFolderImage);
    model.Reset();
    QCOMPARE(model.rowCount(), 1);
    const QModelIndex b_index = model.IndexOf(b);
    QCOMPARE(b_index.row(), 1);
    QCOMPARE(model.rowCount(b_index), 50);
    QCOMPARE(model.parent(model.index(49, 0, b_index)), b_index);
    QVERIFY(model.setData(b_index, Qt::Checked, Qt::CheckStateRole));
    QCOMPARE(model.data(model.index(0, 0), Qt::CheckStateRole).toInt(), static_cast<int>(Qt::PartiallyChecked));
    QCOMPARE(model.data(model.index(7, 0, b_index), Qt::CheckStateRole).toInt(), static_cast<int>(Qt::Checked));
    tree.Clear();
    model.Reset();
    QCOMPARE(model.rowCount(), 0);
  }

  // The file list sorts on the column clicked, folders always first, dates by the calendar.
  void TheFileListSortsFoldersFirstAndDatesByTheCalendar() {
    const auto line = [](std::string name, std::string type, std::uint64_t size, std::string date) {
      FileListRow row;
      row.name = std::move(name);
      row.type = std::move(type);
      row.size = size;
      row.date = std::move(date);
      return row;
    };
    gui::CFileListModel model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    model.SetRows({line("b.jpg", "JPEG", 30, "01-MAR-2014"), line("Trip", "FOLDER", 0, "09-DEC-2026"),
                   line("a.jpg", "JPEG", 10, "28-FEB-2014"), line("c.mov", "MOV", 20, "05-JAN-2015"),
                   line("Album", "FOLDER", 0, "01-JAN-2000")});
    const auto names = [&model] {
      QStringList shown;
      for (int row = 0; row < model.rowCount(); ++row) shown << model.index(row, 0).data().toString();
      return shown;
    };
    QCOMPARE(names(), (QStringList{"Album", "Trip", "a.jpg", "b.jpg", "c.mov"}));
    model.sort(gui::CFileListModel::kDate);
    QCOMPARE(names(), (QStringList{"Album", "Trip", "a.jpg", "b.jpg", "c.mov"}));
    model.sort(gui::CFileListModel::kDate, Qt::DescendingOrder);
    QCOMPARE(names(), (QStringList{"Trip", "Album", "c.mov", "b.jpg", "a.jpg"}));
    model.sort(gui::CFileListModel::kSize);
    QCOMPARE(names(), (QStringList{"Trip", "Album", "a.jpg", "c.mov", "b.jpg"}));
  }

  // The range fields show the selected item's sectors, give back what is typed (an emptied field is
  // no value, so the window's check can ask for it) and follow the slider's handles.
  void TheRangeFieldsFollowTheDriveTheFieldsAndTheSlider() {
    DriveListing listing;
    const int disk = listing.tree.Add(listing.tree.EnsureGroup("Physical Drives"), DriveItemKind::kDisk, "Disk1");
    DriveInfo card;
    card.device_path = PhysicalDrivePath(1);
    card.total_sectors = 1'000'000'000'000;
    listing.tree.Item(disk).info = card;
    gui::CRangeFields fields;
    fields.resize(400, 60);
    fields.show();
    fields.ShowItem(listing, disk);
    QCOMPARE(fields.EndField().text(), QString("1000000000000"));

    QTest::keyClicks(&fields.StartField(), "5");  // appended: 05
    SearchSelectionRequest request = fields.Request();
    QCOMPARE(request.device_path, PhysicalDrivePath(1));
    QCOMPARE(request.range->start, std::optional<std::uint64_t>(5));
    fields.EndField().clear();
    QTest::keyClicks(&fields.EndField(), "x");  // refused by the field
    QVERIFY(!fields.Request().range->end);

    auto* slider = fields.findChild<gui::CRangeSlider*>("Range");
    QVERIFY(slider != nullptr);
    QTest::mouseClick(slider, Qt::LeftButton, {}, QPoint(slider->width() / 2, slider->height() / 2));
    request = fields.Request();
    QCOMPARE(request.range->start, std::optional<std::uint64_t>(0));
    QVERIFY(request.range->end > 400'000'000'000u && request.range->end < 600'000'000'000u);

    fields.ShowItem(listing, listing.tree.Top());
    QVERIFY(fields.Request().device_path.empty());
    QVERIFY(fields.StartField().text().isEmpty());
  }
};

}  // namespace pellora::test

QTEST_MAIN(pellora::test::GuiTests)
#include "gui_test.moc"
