#include "main_window.hpp"

#include <QCloseEvent>
#include <QDialog>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include "app/load_drives.hpp"
#include "app/modes.hpp"
#include "basic_search.hpp"
#include "common/product.hpp"
#include "deep_search.hpp"
#include "device_monitor.hpp"
#include "dialogs.hpp"
#include "qt_ui.hpp"
#include "raw_search.hpp"
#include "recoverylog/log_loader.hpp"
#include "recoverylog/log_messages.hpp"
#include "sig_duplicate.hpp"

namespace pellora::gui {

namespace {

struct ModeButton {
  SearchMode mode;
  const char* label;
  const char* note;
};
constexpr ModeButton kModes[] = {
    {SearchMode::kBasic, "Basic", "Rebuilds the folders and files of a FAT or NTFS partition, deleted ones included."},
    {SearchMode::kDeep, "Deep", "Reads the whole card for lost or damaged file systems."},
    {SearchMode::kPhoto, "Photo", "Finds photos by their content, even on a formatted card."},
    {SearchMode::kVideo, "Video", "Finds video files by their content."},
    {SearchMode::kSignature, "Signature", "Finds documents, archives and other files by their content."},
};

const char* const kHelpText =
    "<h3>Which search should I use?</h3>"
    "<p><b>Basic</b> reads the card's file system (FAT16, FAT32 or NTFS) and shows its folders and files as they "
    "were, deleted ones included. Start here: it is quick and keeps the names.</p>"
    "<p><b>Deep</b> reads every sector of the card and rebuilds file systems that were formatted or damaged.</p>"
    "<p><b>Photo</b>, <b>Video</b> and <b>Signature</b> ignore the file system and recognise files by their "
    "content. They find files even when nothing else is left, but without their names and folders.</p>"
    "<p>Whatever you choose, save what you recover to a different drive, never to the card itself.</p>";

}  // namespace

CMainWindow::CMainWindow(Program& app, CQtUi& ui, bool system_drives, QWidget* parent)
    : QWidget(parent), app_(app), ui_(ui), system_drives_(system_drives) {
  setWindowTitle(ProductCaption());
  setObjectName("CMainWindow");
  auto* layout = new QVBoxLayout(this);
  auto* title = new QLabel("<h2>Pellora</h2><p>Recover photos and files from memory cards and USB sticks.</p>", this);
  layout->addWidget(title);

  auto* modes = new QGridLayout;
  int row = 0;
  for (const ModeButton& mode : kModes) {
    QPushButton* button = MakeButton(mode.label, this);
    button->setMinimumWidth(140);
    auto* note = new QLabel(mode.note, this);
    note->setWordWrap(true);
    modes->addWidget(button, row, 0);
    modes->addWidget(note, row, 1);
    ++row;
    connect(button, &QPushButton::clicked, this, [this, m = mode.mode] { StartSearchMode(m); });
  }
  modes->setColumnStretch(1, 1);
  layout->addLayout(modes);

  QPushButton* help = MakeButton("Need Help on these Search Types?", this);
  help->setFlat(true);
  layout->addWidget(help, 0, Qt::AlignLeft);
  layout->addStretch();

  auto* tools = new QHBoxLayout;
  QPushButton* disks = MakeButton("Open Disk Management", this);
  QPushButton* log = MakeButton("Open Error Log", this);
  tools->addWidget(disks);
  tools->addWidget(log);
  tools->addStretch();
  QPushButton* about = MakeButton("About Us", this);
  QPushButton* contact = MakeButton("Contact Us", this);
  QPushButton* review = MakeButton("Review", this);
  for (QPushButton* link : {about, contact, review}) {
    link->setFlat(true);
    tools->addWidget(link);
  }
  layout->addLayout(tools);

  connect(disks, &QPushButton::clicked, this, [this] { OpenDiskManagement(app_.ui, app_.launcher); });
  connect(log, &QPushButton::clicked, this,
          [this] { ShellOpen(app_.ui, app_.reporter.LogPath().string(), false, app_.launcher); });
  connect(help, &QPushButton::clicked, this, [this] { ShowInformation("Search Types", kHelpText); });
  connect(about, &QPushButton::clicked, this, [this] {
    ShowInformation("About Us",
                    QString("<h3>Pellora %1</h3><p>Pellora recovers photos, videos and files from memory "
                            "cards and USB sticks. It only ever reads the card.</p><p><a href=\"%2\">%2</a></p>")
                        .arg(QString(PELLORA_VERSION), FromView(kWebsite)));
  });
  connect(contact, &QPushButton::clicked, this, [this] {
    ShowInformation("Contact Us", QString("<p>Questions, problems, ideas: write to <a href=\"mailto:%1\">%1</a>.</p>"
                                          "<p><a href=\"%2\">%2</a></p>")
                                      .arg(FromView(kSupportEmail), FromView(kWebsite)));
  });
  connect(review, &QPushButton::clicked, this, &CMainWindow::ShowReview);
  auto* monitor = new CDeviceMonitor(this);
  connect(monitor, &CDeviceMonitor::Arrived, this, [this] {
    if (mode_window_) mode_window_->DeviceArrived();
    if (carving_window_) carving_window_->DeviceArrived();
  });
  resize(720, 340);
}

CMainWindow::~CMainWindow() {
  if (mode_window_) delete mode_window_.data();
  if (carving_window_) delete carving_window_.data();
}

CCarvingWindow* CMainWindow::CarvingWindow() const { return carving_window_; }

void CMainWindow::ShowInformation(const QString& title, const QString& html) {
  QDialog window(this);
  window.setWindowTitle(title);
  window.setObjectName(title);
  auto* layout = new QVBoxLayout(&window);
  auto* text = new QLabel(html, &window);
  text->setWordWrap(true);
  text->setOpenExternalLinks(true);
  text->setMinimumWidth(420);
  layout->addWidget(text);
  auto* buttons = new QDialogButtonBox(&window);
  QPushButton* ok = buttons->addButton("OK", QDialogButtonBox::AcceptRole);
  ok->setObjectName("OK");
  connect(buttons, &QDialogButtonBox::accepted, &window, &QDialog::accept);
  layout->addWidget(buttons);
  window.exec();
}

void CMainWindow::ShowReview() {
  ShowInformation("Review", QString("<p>Did Pellora bring your files back? Tell others at "
                                    "<a href=\"%1\">%1</a>.</p>")
                                .arg(FromView(kWebsite)));
}

void CMainWindow::StartSearchMode(SearchMode mode, const std::string& log_path) {
  // During a switch of mode the old window is still closing.
  if ((mode_window_ && mode_window_->isVisible()) || (carving_window_ && carving_window_->isVisible())) return;
  if (StartMode(app_, mode) != StartModeOutcome::kLoadDrives) return;
  app_.command_line_log_path = log_path;
  ShowLoadingWindow();
  setEnabled(false);
  const bool system_drives = system_drives_;
  const bool started = app_.drive_loading.Start([this, mode, system_drives](std::stop_token) {
    app_.reporter.Guarded("Loading drives...", "LLD", "3TH", [&] { LoadDrives(app_, mode, system_drives); });
    QMetaObject::invokeMethod(
        this, [this, mode] { OpenModeWindow(mode); }, Qt::QueuedConnection);
  });
  if (!started) {
    CloseLoadingWindow();
    setEnabled(true);
  }
}

void CMainWindow::ShowLoadingWindow() {
  auto* window = new QDialog(this);
  window->setAttribute(Qt::WA_DeleteOnClose);
  window->setWindowTitle("Loading drives...");
  window->setObjectName("loading");
  auto* layout = new QVBoxLayout(window);
  layout->addWidget(new QLabel("Loading connected devices ...", window));
  loading_bar_ = new QProgressBar(window);
  loading_bar_->setRange(0, 100);
  loading_bar_->setValue(0);
  layout->addWidget(loading_bar_);
  loading_ = window;
  window->show();
  window->raise();
  loading_timer_ = new QTimer(window);
  connect(loading_timer_, &QTimer::timeout, this, [this] {
    if (loading_bar_ != nullptr) loading_bar_->setValue(std::min(loading_bar_->value() + 2, 100));
  });
  loading_timer_->start(80);
}

void CMainWindow::CloseLoadingWindow() {
  if (loading_) loading_->close();
  loading_bar_ = nullptr;
  loading_timer_ = nullptr;
}

bool CMainWindow::OpenCommandLineLog() {
  const std::string path = app_.command_line_log_path;
  if (path.empty()) return true;
  const LogHeaderMode header = ReadLogFileMode(path);
  if (!header.opened) return false;
  if (!header.mode) {
    app_.command_line_log_path.clear();
    app_.ui.ShowMessage(kLogCorrupted);
    return true;
  }
  StartSearchMode(*header.mode, path);
  return true;
}

void CMainWindow::OpenModeWindow(SearchMode mode) {
  app_.drive_loading.Join();
  CloseLoadingWindow();
  if (mode == SearchMode::kPhoto || mode == SearchMode::kVideo || mode == SearchMode::kSignature) {
    CCarvingWindow* window = mode == SearchMode::kPhoto
                                 ? static_cast<CCarvingWindow*>(new CRawSearch(app_, ui_, system_drives_, this))
                                 : new CSigDuplicate(app_, ui_, system_drives_, mode, this);
    carving_window_ = window;
    ShowModeWindow(window);
    QTimer::singleShot(0, window, &CCarvingWindow::ShowDrives);
    return;
  }
  CSearchWindow* window = mode == SearchMode::kDeep
                              ? static_cast<CSearchWindow*>(new CDeepSearch(app_, ui_, system_drives_, this))
                              : new CBasicSearch(app_, ui_, system_drives_, this);
  mode_window_ = window;
  // A log of the other mode: that mode's window opens with it once this one has gone.
  connect(window, &CSearchWindow::SwitchMode, this, [this, window](SearchMode other, const QString& log) {
    window->CloseWithoutAsking();
    QTimer::singleShot(0, this, [this, other, path = log.toStdString()] { StartSearchMode(other, path); });
  });
  ShowModeWindow(window);
  QTimer::singleShot(0, window, &CSearchWindow::ShowDrives);
}

void CMainWindow::ShowModeWindow(QDialog* window) {
  window->setWindowFlag(Qt::Window);
  window->setAttribute(Qt::WA_DeleteOnClose);
  window->setWindowModality(Qt::ApplicationModal);
  connect(window, &QDialog::finished, this, [this] {
    setEnabled(true);
    show();
    raise();
    activateWindow();
  });
  window->show();
}

void CMainWindow::CloseWithoutAsking() {
  ask_on_close_ = false;
  close();
}

void CMainWindow::closeEvent(QCloseEvent* event) {
  if (ask_on_close_ && !app_.ui.AskYesNo("Do you want to exit from Pellora?", false)) {
    event->ignore();
    return;
  }
  if (mode_window_ && mode_window_->isVisible()) {
    if (ask_on_close_) {
      mode_window_->reject();
      // The person kept the mode window open (to save its log first).
      if (mode_window_->isVisible()) {
        event->ignore();
        return;
      }
    } else {
      mode_window_->CloseWithoutAsking();
    }
  }
  if (ask_on_close_) ShowReview();
  if (carving_window_) carving_window_->reject();
  app_.EndWorkers();
  event->accept();
}

}  // namespace pellora::gui
