// The carving windows (Photo Search, Video and Signature Search) driven as a person would, on the
// offscreen platform: the sample card, a medium that stops answering, and a list that fills up.

#include <QAbstractItemModelTester>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QMessageBox>
#include <QTableView>
#include <QTest>
#include <QTreeWidget>

#include <atomic>
#include <chrono>
#include <cstring>
#include <functional>
#include <nlohmann/json.hpp>
#include <thread>

#include "carved_type_model.hpp"
#include "carving/carving_engine.hpp"
#include "drive_panel.hpp"
#include "gui_driver.hpp"
#include "range_fields.hpp"
#include "raw_search.hpp"
#include "scan_progress.hpp"
#include "sig_duplicate.hpp"
#include "support/cli_runner.hpp"
#include "support/faulty_source.hpp"
#include "support/memory_disk.hpp"
#include "support/recording_launcher.hpp"
#include "support/temp_dir.hpp"
#include "thumbs_list.hpp"

namespace pellora::test {
namespace {

using gui::CCarvingWindow;
using gui::CRawSearch;
using gui::CSigDuplicate;
using gui::CThumbsModel;

constexpr auto kTesterMode = QAbstractItemModelTester::FailureReportingMode::QtTest;
const QString kCompleted = "Searching of files in specified disk sectors is completed.";
const QString kStopped = "Searching of files in specified disk sectors is stopped.";

QString Text(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

// Clicks a mode button of the main window and waits for its window with a drive selected.
template <class Window>
Window* OpenCarving(GuiProgram& program, const QString& button) {
  program.window->show();
  ButtonOf(program.window.get(), button)->click();
  Window* window = nullptr;
  const bool opened = QTest::qWaitFor(
      [&] {
        window = qobject_cast<Window*>(program.window->CarvingWindow());
        return window != nullptr && window->isVisible() && window->Drives().Tree()->currentItem() != nullptr;
      },
      20000);
  return opened ? window : nullptr;
}

QStringList Rows(const QListWidget& list) {
  QStringList rows;
  for (int row = 0; row < list.count(); ++row) rows << list.item(row)->text();
  return rows;
}

QString Cell(const QAbstractItemModel& model, int row, int column) {
  return model.index(row, column).data().toString();
}

// Clicks "Start" as the second click and answers the end message; returns its text, empty when
// none came.
QString SearchToTheEnd(CCarvingWindow* window) {
  auto end = std::make_shared<QString>();
  WhenModal(MessageSaying("Searching of files in specified disk sectors is"), [end](QWidget* box) {
    *end = qobject_cast<QMessageBox*>(box)->text();
    ButtonOf(box, "OK")->click();
  });
  ButtonOf(window, "Start")->click();
  if (!QTest::qWaitFor([&] { return !end->isEmpty() && !window->Searching(); }, 120000)) return {};
  return *end;
}

std::shared_ptr<std::vector<std::byte>> SampleCardBytes() {
  const std::string bytes = ReadFile(SampleCard());
  auto medium = std::make_shared<std::vector<std::byte>>(bytes.size());
  std::memcpy(medium->data(), bytes.data(), bytes.size());
  return medium;
}

const std::vector<std::vector<std::string>>& Opened(GuiProgram& program) {
  return std::static_pointer_cast<RecordingLauncher>(program.app.launcher)->runs;
}

}  // namespace

class CarvingWindowTests : public QObject {
  Q_OBJECT

 private slots:
  // Main window -> Photo -> Start (the card's partition checked, the information listed) -> a
  // missing destination refused -> Start again -> the 13 photos of the card as thumbnails, counted
  // in the type table, and the same files as the command line carves.
  void PhotoSearchShowsTheThirteenPhotosOfTheSampleCard() {
    TempDir dir;
    GuiProgram program(SampleCard());
    CRawSearch* window = OpenCarving<CRawSearch>(program, "Photo");
    QVERIFY(window != nullptr);
    QCOMPARE(window->windowTitle(), QString("Photo Search"));
    QAbstractItemModelTester thumbs_rules(&window->Thumbnails().Model(), kTesterMode);
    QAbstractItemModelTester types_rules(&window->TypeModel(), kTesterMode);
    QCOMPARE(Cell(window->TypeModel(), 0, 0), QString("JPG"));
    QVERIFY(!window->Destination().isVisible());

    ButtonOf(window, "Start")->click();
    QCOMPARE(Rows(window->Information()),
             QStringList({"1. Search Type : Photo Search", "2. Partition Type : FAT32", "3. Start Sector : 8192",
                          "4. End Sector : 327680", "5. Drive : Disk - 0"}));
    QVERIFY(window->Destination().isVisible());
    QVERIFY(ButtonOf(window, "Also perform Thorough Scanning Algorithm Search")->isVisible());

    auto refused = ExpectMessage(Text(kDestinationMissingText));
    ButtonOf(window, "Start")->click();
    QTRY_VERIFY(*refused && !window->Searching());
    QVERIFY(ButtonOf(window, "Start")->isEnabled());

    const std::filesystem::path gui = dir / "gui";
    std::filesystem::create_directories(gui);
    window->Destination().setText(QString::fromStdString(gui.string()));
    QCOMPARE(SearchToTheEnd(window), kCompleted);
    QCOMPARE(window->Progress().Hint().text(), Text(kCarvingFinishHint));

    CThumbsModel& thumbs = window->Thumbnails().Model();
    QCOMPARE(thumbs.rowCount(), 13);
    QCOMPARE(Cell(thumbs, 0, 0), QString("GNDR00001.JPG"));
    QCOMPARE(Cell(thumbs, 12, 0), QString("GNDR00013.JPG"));
    QCOMPARE(Cell(window->TypeModel(), 0, 1), QString("13"));
    QCOMPARE(Cell(window->TypeModel(), 0, 2), QString("JPG"));
    // The pictures shown are decoded, not the placeholder.
    QTRY_VERIFY_WITH_TIMEOUT(thumbs.HasThumbnail(0), 30000);
    const QPixmap picture = thumbs.index(0).data(Qt::DecorationRole).value<QPixmap>();
    QCOMPARE(picture.size(), QSize(gui::kThumbnailWidth, gui::kThumbnailHeight));

    const std::filesystem::path by_cli = dir / "cli";
    std::filesystem::create_directories(by_cli);
    const CliResult cli = RunCli({"--image", SampleCard().string(), "photo", "--drive", "disk:0", "--partition", "1",
                                  "--dest", by_cli.string()});
    QVERIFY2(cli.exit_code == 0, cli.err.c_str());
    const auto carved = FolderContents(gui / "Pellora");
    QVERIFY(carved.contains("Photo Search/General/JPG/GNDR00013.JPG"));
    QVERIFY(carved == FolderContents(by_cli / "Pellora"));

    // A second search with the Thorough pass replaces the files of the first, as the command line's.
    ButtonOf(window, "Also perform Thorough Scanning Algorithm Search")->click();
    QCOMPARE(SearchToTheEnd(window), kCompleted);
    std::filesystem::remove_all(by_cli / "Pellora");
    const CliResult thorough = RunCli({"--image", SampleCard().string(), "photo", "--drive", "disk:0", "--partition",
                                       "1", "--thorough", "--dest", by_cli.string()});
    QVERIFY2(thorough.exit_code == 0, thorough.err.c_str());
    const auto both_passes = FolderContents(gui / "Pellora");
    QVERIFY(both_passes == FolderContents(by_cli / "Pellora"));
    QVERIFY(both_passes.contains("Photo Search/Omitted/"));
    std::size_t omitted = 0;
    for (const auto& [name, bytes] : both_passes) omitted += name.starts_with("Photo Search/Omitted/JPG/THDR");
    QCOMPARE(thumbs.rowCount(), static_cast<int>(13 + omitted));
    QCOMPARE(Cell(window->TypeModel(), 0, 1), QString::number(omitted));  // the count of the last pass

    // A double-click opens the photo; "Open Containing Folder" opens the folder of the search.
    emit window->Thumbnails().doubleClicked(thumbs.index(0));
    QCOMPARE(Opened(program).back(),
             (std::vector<std::string>{"xdg-open", (gui / "Pellora/Photo Search/General/JPG/GNDR00001.JPG").string()}));
    ButtonOf(window, "Open Containing Folder")->click();
    QCOMPARE(Opened(program).back(), (std::vector<std::string>{"xdg-open", (gui / "Pellora").string()}));
  }

  // The first click checks the drive and the range in the words of every mode window.
  void TheFirstClickRefusesWithTheWindowsWords() {
    const auto medium = SampleCardBytes();
    auto plan = std::make_shared<FaultPlan>();
    GuiProgram program;
    AddFaultyDevice(program.app.devices, "\\\\.\\PhysicalDrive0", medium, plan);
    CRawSearch* window = OpenCarving<CRawSearch>(program, "Photo");
    QVERIFY(window != nullptr);
    QTreeWidgetItem* partition = window->Drives().Tree()->currentItem();
    struct Case {
      std::function<void()> arrange;
      std::string_view message;
    };
    const Case cases[] = {
        {[&] { window->Drives().Tree()->clearSelection(); }, kSelectDriveText},
        {[&] { window->Range().StartField().clear(); }, kEnterStartSectorText},
        {[&] { window->Range().EndField().setText(window->Range().StartField().text()); }, kEndNotAfterStartText},
        {[&] { plan->gone = true; }, kDriveUnavailableText},
    };
    for (const Case& c : cases) {
      window->Drives().Tree()->clearSelection();
      partition->setSelected(true);
      plan->gone = false;
      c.arrange();
      auto said = std::make_shared<QString>();
      WhenModal(MessageSaying(""), [said](QWidget* box) {
        *said = qobject_cast<QMessageBox*>(box)->text();
        ButtonOf(box, "OK")->click();
      });
      ButtonOf(window, "Start")->click();
      QTRY_COMPARE(*said, Text(c.message));
      QCOMPARE(window->Information().count(), 0);
      QVERIFY(!window->Searching());
    }
  }

  // Video Search with AVI and MOV ticked carves what the command line carves with those types;
  // nothing ticked starts nothing.
  void VideoSearchFindsWhatTheCommandLineFinds() {
    TempDir dir;
    GuiProgram program(SampleCard());
    CSigDuplicate* window = OpenCarving<CSigDuplicate>(program, "Video");
    QVERIFY(window != nullptr);
    QCOMPARE(window->windowTitle(), QString("Video Search"));
    QAbstractItemModelTester checklist_rules(&window->ChecklistModel(), kTesterMode);
    QAbstractItemModelTester types_rules(&window->TypeModel(), kTesterMode);
    QAbstractItemModelTester files_rules(&window->RecoveredModel(), kTesterMode);

    ButtonOf(window, "Start")->click();
    QVERIFY(window->ChecklistView().isVisible());
    QStringList extensions;
    for (int row = 0; row < window->ChecklistModel().rowCount(); ++row)
      extensions << Cell(window->ChecklistModel(), row, 0);
    QVERIFY(extensions.contains("MOV") && extensions.contains("AVI") && extensions.contains("OGV"));
    QVERIFY(std::is_sorted(extensions.begin(), extensions.end()));

    const std::filesystem::path gui = dir / "gui";
    std::filesystem::create_directories(gui);
    window->Destination().setText(QString::fromStdString(gui.string()));
    ButtonOf(window, "Uncheck All")->click();
    auto refused = ExpectMessage(Text(kNoTypeTickedText));
    ButtonOf(window, "Start")->click();
    QTRY_VERIFY(*refused && !window->Searching());

    for (const QString type : {"AVI", "MOV"}) {
      const auto row = static_cast<int>(extensions.indexOf(type));
      QVERIFY(
          window->ChecklistModel().setData(window->ChecklistModel().index(row, 0), Qt::Checked, Qt::CheckStateRole));
    }
    QCOMPARE(SearchToTheEnd(window), kCompleted);

    const std::filesystem::path by_cli = dir / "cli";
    std::filesystem::create_directories(by_cli);
    const CliResult cli = RunCli({"--json", "--image", SampleCard().string(), "video", "--drive", "disk:0",
                                  "--partition", "1", "--types", "AVI,MOV", "--dest", by_cli.string()});
    QVERIFY2(cli.exit_code == 0, cli.err.c_str());
    const auto carved = FolderContents(gui / "Pellora");
    QVERIFY(carved.contains("Video Search/General/AVI/AVI00001.AVI"));
    QVERIFY(carved == FolderContents(by_cli / "Pellora"));

    // The type list counts as the command line counts; each file is listed with its type's icon.
    std::uint64_t total = 0;
    const auto types = nlohmann::json::parse(cli.out)["types"];
    QCOMPARE(window->TypeModel().rowCount(), static_cast<int>(types.size()));
    for (int row = 0; row < window->TypeModel().rowCount(); ++row) {
      const auto& type = types[static_cast<std::size_t>(row)];
      QCOMPARE(Cell(window->TypeModel(), row, 0), QString::fromStdString(type["type"]));
      QCOMPARE(Cell(window->TypeModel(), row, 1), QString::number(type["files"].get<std::uint64_t>()));
      total += type["files"].get<std::uint64_t>();
    }
    gui::CRecoveredFilesModel& files = window->RecoveredModel();
    QCOMPARE(static_cast<std::uint64_t>(files.rowCount()), total);
    QCOMPARE(Cell(files, 0, 0), QString("AVI00001.AVI"));
    QVERIFY(!files.index(0).data(Qt::DecorationRole).value<QIcon>().isNull());
    emit window->RecoveredFiles().doubleClicked(files.index(0));
    QCOMPARE(Opened(program).back(),
             (std::vector<std::string>{"xdg-open", (gui / "Pellora/Video Search/General/AVI/AVI00001.AVI").string()}));
  }

  // A medium that stops answering in the middle of the scan raises the media-removed window:
  // "Retry and Continue..." reads the chunk again and finds every photo, "Cancel Searching" stops.
  void TheMediaRemovedWindowDoesWhatItsAnswerSays() {
    const auto medium = SampleCardBytes();
    struct Case {
      QString answer;
      QString end;
    };
    for (const Case& c : {Case{Text(kMediaRemovedRetry), kCompleted}, Case{Text(kMediaRemovedCancel), kStopped}}) {
      TempDir dir;
      auto plan = std::make_shared<FaultPlan>();
      GuiProgram program;
      AddFaultyDevice(program.app.devices, "\\\\.\\PhysicalDrive0", medium, plan);
      CRawSearch* window = OpenCarving<CRawSearch>(program, "Photo");
      QVERIFY(window != nullptr);
      ButtonOf(window, "Start")->click();
      QCOMPARE(window->Information().count(), 5);
      window->Destination().setText(QString::fromStdString(dir.Path().string()));

      // The card goes after a few chunks, while far more of the range remains than a quiet skip allows.
      plan->gone_after_reads = plan->reads + 3;
      bool asked = false;
      const bool retry = c.answer == Text(kMediaRemovedRetry);
      WhenModal(MessageSaying(Text(kMediaRemovedText)), [&, plan, retry](QWidget* box) {
        asked = true;
        if (retry) {
          plan->gone = false;
          plan->gone_after_reads.reset();
        }
        ButtonOf(box, c.answer)->click();
      });
      QCOMPARE(SearchToTheEnd(window), c.end);
      QVERIFY(asked);
      if (retry) {
        QCOMPARE(window->Thumbnails().Model().rowCount(), 13);
      } else {
        QVERIFY(window->Thumbnails().Model().rowCount() < 13);
      }
    }
  }

  // "Stop Search" asks first: No lets the search go on, Yes stops it; what was found stays.
  void StopSearchAsksFirst() {
    const auto medium = SampleCardBytes();
    HeldReads held;
    TempDir dir;
    GuiProgram program;
    AddFaultyDevice(program.app.devices, "\\\\.\\PhysicalDrive0", medium, held.Plan());
    CRawSearch* window = OpenCarving<CRawSearch>(program, "Photo");
    QVERIFY(window != nullptr);
    ButtonOf(window, "Start")->click();
    window->Destination().setText(QString::fromStdString(dir.Path().string()));
    auto end = std::make_shared<QString>();
    WhenModal(MessageSaying("Searching of files in specified disk sectors is"), [end](QWidget* box) {
      *end = qobject_cast<QMessageBox*>(box)->text();
      ButtonOf(box, "OK")->click();
    });
    QVERIFY(StopIsAskedFirst(program, window, "Stop Search", held,
                             [window] { return !ButtonOf(window, "Back")->isEnabled(); }));
    QVERIFY(!ButtonOf(window, "Stop Search")->isEnabled());
    QTRY_VERIFY_WITH_TIMEOUT(*end == kStopped && !window->Searching(), 60000);
    QVERIFY(ButtonOf(window, "Start")->isEnabled());
    QVERIFY(std::filesystem::is_directory(dir / "Pellora/Photo Search/General"));
  }

  // 2,001 photos (tiny, damaged ones: a signature and nothing after it): the 2,001st empties the
  // list once, with its notice; the list never holds more than 2,000; the placeholder stands in
  // for pictures that do not decode.
  void TheTwoThousandAndFirstPhotoEmptiesTheListOnce() {
    MemoryDisk disk(2048);
    for (std::uint64_t sector = 0; sector < 2001; ++sector) {
      for (std::size_t at = 0; const int byte : {0xFF, 0xD8, 0xFF, 0xE0})
        disk.Byte(sector, at++, static_cast<std::uint8_t>(byte));
    }
    TempDir dir;
    GuiProgram program;
    disk.AttachAs(program.app.devices, "\\\\.\\PhysicalDrive0");
    CRawSearch* window = OpenCarving<CRawSearch>(program, "Photo");
    QVERIFY(window != nullptr);
    CThumbsModel& thumbs = window->Thumbnails().Model();
    int most = 0;
    int cleared = 0;
    bool notice = false;
    connect(&thumbs, &QAbstractItemModel::rowsInserted, this, [&] { most = std::max(most, thumbs.rowCount()); });
    connect(&thumbs, &gui::CCarvedFilesModel::Cleared, this, [&] {
      ++cleared;
      notice = window->findChild<QWidget*>("clearing notice") != nullptr;
    });

    ButtonOf(window, "Start")->click();
    QCOMPARE(Rows(window->Information()).front(), QString("1. Search Type : Photo Search"));
    window->Destination().setText(QString::fromStdString(dir.Path().string()));
    QCOMPARE(SearchToTheEnd(window), kCompleted);
    QCOMPARE(cleared, 1);
    QVERIFY(notice);
    QCOMPARE(most, gui::kCarvedListLimit);
    QCOMPARE(thumbs.rowCount(), 1);
    QCOMPARE(Cell(thumbs, 0, 0), QString("GNDR02001.JPG"));
    QCOMPARE(Cell(window->TypeModel(), 0, 1), QString("2001"));
    QTRY_VERIFY_WITH_TIMEOUT(thumbs.Decoded(0), 30000);
    QVERIFY(!thumbs.HasThumbnail(0));
    QCOMPARE(thumbs.index(0).data(Qt::DecorationRole).value<QPixmap>().toImage(), thumbs.Placeholder().toImage());
    // The notice goes by itself.
    QTRY_VERIFY(window->findChild<QWidget*>("clearing notice") == nullptr);
  }

  // The recovered-file window of Video and Signature Search keeps the same limit.
  void TheRecoveredFileListKeepsTheSameLimit() {
    gui::CRecoveredFilesModel files;
    QAbstractItemModelTester rules(&files, kTesterMode);
    int cleared = 0;
    connect(&files, &gui::CCarvedFilesModel::Cleared, this, [&] { ++cleared; });
    QList<gui::CarvedFile> batch;
    for (int n = 1; n <= 2001; ++n)
      batch.push_back({"MP4", QString("/d/MP4/MP4%1.MP4").arg(n, 5, 10, QChar('0')), QString("MP4%1.MP4").arg(n)});
    files.Append(batch.mid(0, 1500));
    files.Append(batch.mid(1500));
    QCOMPARE(cleared, 1);
    QCOMPARE(files.rowCount(), 1);
    QCOMPARE(files.index(0).data(gui::CCarvedFilesModel::kPathRole).toString(), QString("/d/MP4/MP402001.MP4"));
  }

  // A thumbnail is 115 x 80 on white for a photo, and nothing (the placeholder) for a file that
  // does not decode; a damaged photo never stops the decoder.
  void ThumbnailsOfGoodAndDamagedPhotos() {
    TempDir dir;
    const std::string photo = ReadFile(SampleCardFiles() / "DCIM/100PELLO/IMG_0001.JPG");
    struct Case {
      const char* name;
      std::string bytes;
      bool picture;
    };
    const Case cases[] = {
        {"whole.jpg", photo, true},
        {"signature-only.jpg", std::string("\xFF\xD8\xFF\xE0", 4) + std::string(508, '\0'), false},
        {"noise.jpg", std::string("\xFF\xD8\xFF\xE1", 4) + std::string(4096, '\x5A'), false},
    };
    for (const Case& c : cases) {
      WriteFile(dir / c.name, c.bytes);
      const QImage image = gui::DecodeThumbnail(QString::fromStdString((dir / c.name).string()));
      QCOMPARE(!image.isNull(), c.picture);
      if (c.picture) {
        QCOMPARE(image.size(), QSize(gui::kThumbnailWidth, gui::kThumbnailHeight));
        QCOMPARE(image.pixelColor(0, 0), QColor(Qt::white));  // 1024 x 768 fits 107 x 80: white bands
      }
    }
    // Half a photo: whatever decodes of it, at thumbnail size, or the placeholder.
    WriteFile(dir / "half.jpg", photo.substr(0, photo.size() / 2));
    const QImage half = gui::DecodeThumbnail(QString::fromStdString((dir / "half.jpg").string()));
    QVERIFY(half.isNull() || half.size() == QSize(gui::kThumbnailWidth, gui::kThumbnailHeight));
  }
};

}  // namespace pellora::test

QTEST_MAIN(pellora::test::CarvingWindowTests)
#include "carving_windows_test.moc"
