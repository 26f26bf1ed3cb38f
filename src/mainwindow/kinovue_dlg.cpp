// The main window: construction, start-up, message dispatch and shutdown.
#include "mainwindow/kinovue_dlg.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QMenuBar>
#include <QMessageBox>
#include <QScreen>
#include <QWindow>
#include <utility>

#include "controls/resource_images.h"
#include "dialogs/dialog_template.h"
#include "mainwindow/association_prompt.h"
#include "mainwindow/command_ids.h"
#include "mainwindow/command_table.h"
#include "mainwindow/engine_output_windows.h"
#include "mainwindow/key_routing.h"
#include "mainwindow/update_prompts.h"
#include "mainwindow/video_windows.h"
#include "platform/program_folder.h"
#include "platform/text_rules.h"
#include "settings/save_failures.h"
#include "update/update_coordinator.h"

namespace {

// The window's size in dialog units, as its template gives it.
constexpr int kDialogWidthUnits = 287;
constexpr int kDialogHeightUnits = 222;
// Quiet time after which the shutdown stops waiting for the engine.
constexpr int kShutdownQuietMs = 2000;
// How long the time read-out says where a medium picked up.
constexpr int kResumeNoticeMs = 4000;

QColor InterfaceGrey() { return QColor(212, 208, 200); }

UpdateCoordinatorSetup UpdateSetup(const KinovueOptions& options, std::function<void()> requestQuit) {
  UpdateCoordinatorSetup setup;
  setup.settingsSection = kMainSection;
  setup.runtimeFolder = options.runtimeFolder;
  setup.updateServer = options.updateServer;
  setup.libraryPath = options.updateLibraryPath;
  setup.keyHex = options.updateKeyHex;
  setup.requestQuit = std::move(requestQuit);
  return setup;
}

// A start-up failure: one message, then the program ends.
bool StartFailed(const KinovueOptions& options, const char* text) {
  QMessageBox box(QMessageBox::Critical, "Kinovue", QString::fromUtf8(text), QMessageBox::Ok);
  options.runDialog ? options.runDialog(box) : box.exec();
  return false;
}

}  // namespace

CKinovueDlg::CKinovueDlg(KinovueOptions options)
    : options_(std::move(options)),
      singleInstance_(settingsFile_, options_.runtimeFolder),
      docking_(*this),
      menus_([this](int id) { OnCommand(id); }),
      playbackView_(MakePlaybackView(*this)),
      playback_(*playbackView_, history_, MakePlaybackHooks()),
      modes_(*this, settings_, settingsFile_,
             {.engine = [this] { return engine_.get(); },
              .run = [this](int code, std::intptr_t arg) { Run(code, arg); },
              .check = [this](int id, bool checked) { SetChecked(id, checked); },
              .viewChanged = [this] { RefreshViewMenu(); },
              .fullScreenChanged = [this](bool on) { mediaRemote_.OnFullScreen(on); }}) {
  setWindowTitle("Kinovue");
  setAcceptDrops(true);
  setFont(DialogFont());
  QPalette grey = palette();
  grey.setColor(QPalette::Window, InterfaceGrey());
  setPalette(grey);

  client_ = new QWidget(this);
  client_->setObjectName("client");
  client_->setAutoFillBackground(true);
  setCentralWidget(client_);
  const DialogUnits units(font());
  resize(units.Size(kDialogWidthUnits, kDialogHeightUnits));

  // The window's X11 id is its handle: the engine's owner and "RunningHandle".
  messageWindow_ = std::make_unique<platform::MessageWindow>(
      [this](unsigned m, std::uintptr_t w, std::intptr_t l) { return OnMessage(m, w, l); }, winId());
  updatePrompts_ = std::make_unique<UpdatePromptBoxes>(this, options_.runDialog);
  // Posted from the check's worker once the restart helper took over.
  updates_ = std::make_unique<UpdateCoordinator>(
      UpdateSetup(options_, [this] { platform::PostMessage(Handle(), WM_SYSCOMMAND, SC_CLOSE, 0); }), settingsFile_,
      *updatePrompts_);
  association_ =
      std::make_unique<AssociationPrompt>(this, options_.association, options_.runDialog, settingsFile_, settings_);
  engineOutput_ = std::make_unique<EngineOutputWindows>(
      this, [this] { return engine_.get(); }, [this] { return docking_.Dock(); }, options_.runDialog);
  qApp->installEventFilter(this);
  // Writers report on their own thread; the window hears it from its loop.
  settings::SetSaveFailureListener([this](const std::string& path, int error) {
    QMetaObject::invokeMethod(this, [this, path, error] { OnSaveFailed(path, error); }, Qt::QueuedConnection);
  });
  resumeNoticeTimer_.setSingleShot(true);
  resumeNoticeTimer_.setInterval(kResumeNoticeMs);
  connect(&resumeNoticeTimer_, &QTimer::timeout, this, [this] {
    resumeNotice_.clear();
    ShowTime();
  });
}

CKinovueDlg::~CKinovueDlg() {
  settings::SetSaveFailureListener({});
  qApp->removeEventFilter(this);
  updates_.reset();
  // Engine first: its threads may still talk to the windows below.
  playback_.Detach();
  engine_.reset();
  playlist_.reset();
  videoMessages_.reset();
}

bool CKinovueDlg::OnInitDialog() {
  // The program chooses the engine (main the real one, tests their own).
  if (!options_.engineFactory) return StartFailed(options_, "No playback engine was given.");
  if (!PlayerInitialise()) return false;
  if (!CreateVideoWindows()) return false;
  StartEngine();
  // The start-up association question is answered before anything plays.
  association_->CheckAtStart();
  controlPanel_.CreatePanel(client_, QRect(0, client_->height() - 72, client_->width(), 72));
  ConnectControlPanel();
  // Native, so that in full screen it can lie over the engine's picture window.
  controlPanel_.Panel()->setAttribute(Qt::WA_NativeWindow);
  controlPanel_.Panel()->installEventFilter(this);
  EngineInfo engineInfo;
  engine_->GetInfo(&engineInfo);
  controlPanel_.SetVolumeRange(engineInfo.volumeMax);
  controlPanel_.SetVolumePosition(engineInfo.volume);

  menus_.BuildMenuBar(menuBar());
  CheckAnnouncedSettings();
  CollectDiscDrives();
  RebuildRecentMenu();
  LayOutWindow();
  // Only now: MPlayer sets up its output on the picture window as it is when
  // it starts, and before the layout that window has no size yet (a window
  // of one pixel ends MPlayer when it grows under it). The rest is quickly
  // built; the engine's messages from its other threads wait for the event
  // loop anyway.
  if (!commandLineFiles_.empty()) {
    if (commandLineFiles_.size() > 1) playback_.QueueInPlayList(commandLineFiles_);
    playback_.StartWith(commandLineFiles_.front());
  }

  SetChecked(settings_.VideoMutiple == 1 ? ID_NATIVE_SIZE : ID_DOUBLE_SIZE, true);
  SetChecked(modes_.IsVideoPanel() ? ID_VIDEO_PANEL : ID_AUDIO_PANEL, true);
  SetChecked(ID_REMEMBER_POSITION, settings_.RememberPlayPosition);
  ShowSpeed(engineInfo.speed);
  RefreshViewMenu();
  RefreshPlaybackMenu();
  screenSaver_.Inhibit();
  PublishMediaRemote();
  // Loading the icon scans every image plugin: done once the window shows.
  QTimer::singleShot(0, this, [this] { setWindowIcon(LoadResourceIcon(kProgramIcon)); });
  return true;
}

bool CKinovueDlg::PlayerInitialise() {
  if (updates_->RunAsUpgradeHelper(options_.commandLine)) return false;
  programFolder_ = options_.programFolder;
  if (programFolder_.empty()) {
    programFolder_ = options_.executableLink.empty() ? platform::ProgramFolder()
                                                     : platform::ProgramFolder(options_.executableLink);
    if (programFolder_.empty()) return StartFailed(options_, "GetModuleFileName() failed!");
  }
  programFolder_ = platform::WithTrailingSlash(programFolder_);
  settingsPath_ = platform::SettingsFilePath(programFolder_);
  updates_->SeedUpdateFiles(programFolder_);
  settingsFile_.SetPath(settingsPath_);

  ReadCommandLine();
  // One instance at a time: a second one hands its files to the first.
  if (!singleInstance_.Claim(Handle(), commandLineFiles_,
                             [this](const std::vector<std::string>& paths) { HandOverReceived(paths); }))
    return false;
  if (updates_->StartPendingUpdate()) return false;
  LoadMainSettings(settingsFile_, settings_);
  positions_ = std::make_unique<PlayPositionMemory>(platform::DataFolder(programFolder_) + kPlayPositionsFileName);
  positions_->SetEnabled(settings_.RememberPlayPosition);
  positions_->Load();
  return updates_->Load(Handle(), settings_.AutoUpdate);
}

bool CKinovueDlg::CreateVideoWindows() {
  videoBackWindow_ = new VideoBackWindow(client_);
  videoWindow_ = new VideoWindow(videoBackWindow_);
  videoWindow_->resize(0, 0);
  videoWindow_->hide();
  videoWindow_->installEventFilter(this);
  videoBackWindow_->installEventFilter(this);
  videoBackWindow_->setMouseTracking(true);
  videoBackWindow_->SetLogoVisible(true);
  // The engine's full-screen key posts mouse messages to the picture.
  videoMessages_ = std::make_unique<platform::MessageWindow>(
      [this](unsigned m, std::uintptr_t, std::intptr_t) -> std::intptr_t {
        modes_.OnVideoMouse(m);
        return 0;
      },
      videoWindow_->winId());
  return true;
}

void CKinovueDlg::StartEngine() {
  // Loaded first: the engine announces the file it opens to the history.
  history_.LoadHistory(settingsPath_);
  engine_ = options_.engineFactory(programFolder_);
  playlist_ = std::make_unique<CGeneralPlayList>();
  playback_.Attach(*engine_, *playlist_, positions_.get());
  playlist_->SetPlayCallback(
      [](const char* path, void* data) { static_cast<CKinovueDlg*>(data)->RequestOpen(path ? path : ""); }, this);
  docking_.SetUpPlayListWindow(*playlist_, StoredPlayListPath(programFolder_), options_.runDialog);

  const EngineStartInfo info = StandardEngineStartInfo(videoWindow_->winId(), programFolder_.c_str(), Handle());
  // Without a working engine library the window still opens.
  engine_->Start(&info);
  modes_.TellEngineTheScreen();
  if (QWindow* window = windowHandle())
    connect(window, &QWindow::screenChanged, this, [this] { modes_.TellEngineTheScreen(); });
}

void CKinovueDlg::LayOutWindow() {
  modes_.LayOut(client_, videoBackWindow_, videoWindow_, controlPanel_.Panel());
  docking_.SetUp();
}

void CKinovueDlg::PublishMediaRemote() {
  MediaRemoteLink::Player player;
  player.engine = [this] { return engine_.get(); };
  player.listHasItems = [this] { return playlist_ && playlist_->Count() > 0; };
  player.raise = [this] {
    if (isMinimized()) showNormal();
    raise();
    activateWindow();
  };
  player.command = [this](int id) { OnCommand(id); };
  player.playPause = [this] { TogglePlayPause(); };
  player.stop = [this] { StopPlayback(); };
  player.next = [this] { PlayNext(); };
  player.previous = [this] { PlayPrevious(); };
  player.seekBy = [this](int seconds) { SeekBy(seconds); };
  player.seekTo = [this](int seconds) {
    // As the go-to dialog does.
    controlPanel_.SetSeekBase(seconds);
    playback_.SeekTo(seconds);
  };
  player.open = [this](const std::string& path) { playback_.OpenChosen(path); };
  player.setVolume = [this](int percent) { SetVolume(percent); };
  player.setSpeed = [this](int speed) { Run(ENGINE_CMD_SET_SPEED, speed); };
  player.setFullScreen = [this](bool on) { modes_.SetFullScreen(on); };
  mediaRemote_.Publish(std::move(player));
}

std::intptr_t CKinovueDlg::OnMessage(unsigned message, std::uintptr_t wParam, std::intptr_t lParam) {
  lastEngineMessageMs_ = platform::TickCountMs();
  if (const auto answer = DeliverUpdateMessage(message, wParam, lParam, *updates_)) return *answer;
  switch (message) {
    case WM_SYSCOMMAND:
      if (wParam == SC_CLOSE) OnCancel();
      break;
    default:
      // The desktop's controls hear what the engine reports after the window acted on it.
      if (DeliverEngineMessage(message, wParam, lParam, playback_)) DeliverEngineMessage(message, wParam, lParam, mediaRemote_);
      break;
  }
  return 0;
}

void CKinovueDlg::OnCancel() {
  if (closing_) return;
  closing_ = true;
  // The user asked to leave: nothing on screen waits for the engine.
  hide();
  // Files handed over from now on are for the next instance, and a check
  // under way is interrupted; one that does not stop at once is left to the
  // process's end rather than waited for.
  singleInstance_.StopTakingFiles();
  updates_->StopForQuit();
  if (playback_.Close()) {
    // Wait for the run to end while handling what the engine still sends;
    // give up after a quiet stretch.
    lastEngineMessageMs_ = platform::TickCountMs();
    while (!playback_.RunEnded() &&
           platform::TickCountMs() - lastEngineMessageMs_ < static_cast<std::uint64_t>(kShutdownQuietMs)) {
      QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
      playback_.WaitForRunEnd(5);
    }
  }
  playback_.Detach();
  engine_.reset();
  playlist_.reset();
  screenSaver_.Release();
  close();
  // Hidden already, so closing it is not seen as the last window closing:
  // the program ends with its main window all the same.
  QCoreApplication::quit();
}

void CKinovueDlg::closeEvent(QCloseEvent* event) {
  if (!closing_) {
    event->ignore();
    OnCancel();
    return;
  }
  QMainWindow::closeEvent(event);
}

void CKinovueDlg::resizeEvent(QResizeEvent* event) {
  QMainWindow::resizeEvent(event);
  modes_.OnResize();
}

bool CKinovueDlg::event(QEvent* event) {
  const bool handled = QMainWindow::event(event);
  // Every move, size change and change of mode (sizes, sound-only strip,
  // full screen) ends in one of these: the docked windows follow.
  if ((event->type() == QEvent::Move || event->type() == QEvent::Resize) && !closing_) docking_.OnMainWindowMoved();
  return handled;
}

QWidget* CKinovueDlg::VideoWidget() const { return videoWindow_; }
QWidget* CKinovueDlg::VideoBackWidget() const { return videoBackWindow_; }
CMplayerOutDlg* CKinovueDlg::OutputWindow() const { return engineOutput_->OutputWindow(); }

void CKinovueDlg::ShowFileAssociation() { association_->Show(); }
void CKinovueDlg::ShowEngineOutput() { engineOutput_->ShowEngineOutput(); }
void CKinovueDlg::ShowKeyHelp() { engineOutput_->ShowKeyHelp(); }

// Keys and clicks: which the window takes for itself and which go on to the
// engine.
bool CKinovueDlg::eventFilter(QObject* watched, QEvent* event) {
  // Only widgets' events: the message targets' events come from other
  // threads, and are read only once their receiver has taken them over.
  if (!watched->isWidgetType()) return false;
  switch (event->type()) {
    case QEvent::KeyPress: {
      // Only keys meant for this window, and only at their first receiver
      // (an unhandled key travels on to the parents); dialogs and menus
      // keep theirs.
      QWidget* first = QApplication::focusWidget() ? QApplication::focusWidget() : this;
      if (watched != first || first->window() != this || QApplication::activeModalWidget() ||
          QApplication::activePopupWidget())
        break;
      auto* key = static_cast<QKeyEvent*>(event);
      if (HandleKeyPress(key->key(), key->modifiers())) return true;
      break;
    }
    case QEvent::MouseMove:
      if (watched == videoWindow_ || watched == videoBackWindow_) {
        auto* mouse = static_cast<QMouseEvent*>(event);
        modes_.OnPictureMouseMove(mouse->position().toPoint(), mouse->globalPosition().toPoint());
      }
      break;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseButtonRelease: {
      auto* mouse = static_cast<QMouseEvent*>(event);
      if (watched == videoWindow_ || watched == videoBackWindow_) {
        if (watched == videoWindow_ && mouse->button() == Qt::LeftButton && event->type() != QEvent::MouseButtonRelease) {
          modes_.OnVideoMouse(event->type() == QEvent::MouseButtonPress ? WM_LBUTTONDOWN : WM_LBUTTONDBLCLK);
          return true;
        }
        if (mouse->button() == Qt::RightButton && event->type() == QEvent::MouseButtonRelease) {
          ShowContextMenu(mouse->globalPosition().toPoint());
          return true;
        }
      } else if (watched == controlPanel_.Panel() && event->type() == QEvent::MouseButtonDblClick &&
                 mouse->button() == Qt::LeftButton) {
        if (modes_.IsVideoPanel())
          modes_.ShowSoundOnlyStrip();
        else
          modes_.ShowVideoArea();
        return true;
      }
      break;
    }
    default:
      break;
  }
  return QMainWindow::eventFilter(watched, event);
}

bool CKinovueDlg::HandleKeyPress(int qtKey, Qt::KeyboardModifiers modifiers) {
  const KeyRoute route = RouteKeyPress(qtKey, modifiers, options_.keys.get());
  switch (route.to) {
    case KeyRoute::To::Command:
      OnCommand(route.command);
      return true;
    case KeyRoute::To::LeaveFullScreen:
      if (modes_.IsFullScreen()) modes_.ToggleFullScreen();
      return true;
    case KeyRoute::To::Engine:
      return engine_ && engine_->HandleKey(route.virtualKey);
    case KeyRoute::To::Nowhere:
      break;
  }
  return false;
}

void CKinovueDlg::ShowContextMenu(const QPoint& globalPos) {
  QMenu* menu = BuildContextMenu();
  menu->exec(globalPos);
  menu->deleteLater();
}

void CKinovueDlg::OnCommand(int id) {
  if (const int drive = menus_.DriveIndex(id); drive >= 0) {
    OpenDisc(static_cast<std::size_t>(drive));
    return;
  }
  if (const int recent = menus_.RecentIndex(id); recent >= 0) {
    playback_.OpenRecent(recent);
    return;
  }
  const CommandRow* row = ResolveCommand(id);
  if (!row) return;
  switch (row->action) {
    case ActionKind::Engine: Run(row->code, row->argument); break;
    case ActionKind::EngineSetting: playback_.ApplyEngineSetting(row->code, row->argument); break;
    case ActionKind::Window: row->window(*this); break;
    case ActionKind::Same:
    case ActionKind::None: break;
  }
}
