#pragma once
#include <QMainWindow>
#include <QPointer>
#include <QTimer>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "association/file_association.h"
#include "controls/control_panel.h"
#include "engine/engine_types.h"
#include "history/history_list.h"
#include "history/play_position_memory.h"
#include "mainwindow/command_menus.h"
#include "mainwindow/main_settings.h"
#include "mainwindow/main_window_dock.h"
#include "mainwindow/media_remote_link.h"
#include "mainwindow/single_instance.h"
#include "mainwindow/window_modes.h"
#include "platform/clock.h"
#include "platform/key_state.h"
#include "platform/message_window.h"
#include "platform/screen_saver.h"
#include "player/playback_controller.h"
#include "playlist/general_play_list.h"
#include "settings/ini_file.h"

class AssociationPrompt;
class CMplayerOutDlg;
class EngineOutputWindows;
class QAction;
class QDialog;
class QMenu;
class VideoWindow;
class VideoBackWindow;
class UpdateCoordinator;
class UpdatePromptBoxes;

// What the program gives the main window: main() hands in the real parts,
// tests their own (engine, key state, drives, folders).
namespace platform {
class OpticalDrives;
}

struct KinovueOptions {
  std::string programFolder;  // ends in '/'; the running executable's folder when empty
  std::string executableLink;  // where that folder is read; /proc/self/exe when empty
  std::string commandLine;    // the whole argument text
  // The arguments one by one; when there are none, commandLine is the one.
  std::vector<std::string> arguments;
  std::string runtimeFolder;  // single-instance lock and hand-over socket; the user's private one when empty
  // Makes the engine; required (the window does not start without it).
  std::function<std::unique_ptr<CPlayerEngine>(const std::string& programFolder)> engineFactory;
  std::shared_ptr<const platform::KeyState> keys;         // modifiers and Caps Lock; none held when null
  std::shared_ptr<const platform::OpticalDrives> drives;  // no optical drives when null
  // Shows the About box (the program's own, from the application shell).
  std::function<void(QWidget* parent)> showAbout;
  // Shows a modal dialog; tests replace it to answer without a user.
  std::function<int(QDialog&)> runDialog;
  // Registry file, desktop folders and program path of the file association.
  AssociationPlaces association;
  std::string updateServer;       // "host[:port]" of the update server; the program's own when empty
  std::string updateLibraryPath;  // the program folder's libautorenew.so when empty
  std::string updateKeyHex;       // key of the update server's signature; KINOVUE_UPDATE_KEY or the built-in one when empty
};

// The main window: owns the engine, the playlist, the history, the controls
// and the parts that decide (the playback controller, the update
// coordinator) or keep a concern (window modes, docking, menus, the
// desktop's media controls). It draws, routes input and messages to those
// parts and runs the command table's rows. Everything runs on the UI thread.
class CKinovueDlg : public QMainWindow {
  Q_OBJECT

 public:
  explicit CKinovueDlg(KinovueOptions options);
  ~CKinovueDlg() override;

  // Everything done before the window is first shown. False: the program
  // ends without showing it (a second instance, a failed start).
  bool OnInitDialog();
  // The process's exit status after OnInitDialog returned false: not 0 when
  // a second instance could not hand its file over.
  int ExitCode() const { return singleInstance_.ExitCode(); }

  // The main window's operations used by the other parts.
  void RequestOpen(const std::string& path);
  void TogglePlayPause();
  void StopPlayback();
  void PlayNext();
  void PlayPrevious();
  void SeekBy(int seconds);
  void SetVolume(int volume);
  void ToggleMute();
  void RefreshPlaybackMenu();
  void RefreshViewMenu() { menus_.ShowViewState(settings_, modes_.IsFullScreen()); }
  void RebuildRecentMenu() { menus_.RebuildRecentMenu(history_); }

  // Runs a command id as the menus, accelerators and buttons do.
  void OnCommand(int id);
  // The command table's window actions reach the window's operations.
  friend std::span<const CommandRow> CommandTable();

  // The window's message target (engine notifications, hand-over).
  platform::WindowHandle Handle() const { return messageWindow_->Handle(); }
  // Handles one message as if it had been sent to the window.
  std::intptr_t OnMessage(unsigned message, std::uintptr_t wParam, std::intptr_t lParam);

  // Read access for tests and the other parts.
  CPlayerEngine* Engine() const { return engine_.get(); }
  CGeneralPlayList* PlayList() const { return playlist_.get(); }
  WindowDock* Dock() const { return docking_.Dock(); }
  const MainSettings& Settings() const { return settings_; }
  QAction* Action(int id) const { return menus_.Action(id); }  // menu bar item by command id
  QMenu* RecentMenu() const { return menus_.RecentMenu(); }
  // The context menu enabled and checked for now.
  QMenu* BuildContextMenu() { return menus_.BuildContextMenu(this, CurrentEngineState(), *this); }
  ControlPanel& Panel() { return controlPanel_; }
  const std::string& SettingsPath() const { return settingsPath_; }
  UpdateCoordinator& Updates() const { return *updates_; }
  PlaybackController& Playback() { return playback_; }
  WindowModes& Modes() { return modes_; }
  const WindowModes& Modes() const { return modes_; }
  QWidget* VideoWidget() const;
  QWidget* VideoBackWidget() const;
  CMplayerOutDlg* OutputWindow() const;  // null until first opened

  // Ends the program as the Exit command does: stops the engine and waits
  // for it (bounded), then closes the window.
  void OnCancel();

 protected:
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;
  bool event(QEvent* event) override;

 private:
  // Start-up.
  bool PlayerInitialise();
  bool CreateVideoWindows();
  void StartEngine();
  void LayOutWindow();
  void HandOverReceived(const std::vector<std::string>& paths);
  // What the command line names; what names nothing is said on stderr.
  void ReadCommandLine();

  // Playback as the window shows it (playback_view.cpp); the controller decides.
  friend class WindowPlaybackView;
  static std::unique_ptr<PlaybackView> MakePlaybackView(CKinovueDlg& window);
  PlaybackHooks MakePlaybackHooks();
  // The control strip's requests become the window's operations.
  void ConnectControlPanel();
  // Checks the radio items of the settings the engine announced so far.
  void CheckAnnouncedSettings();
  void Run(int code, std::intptr_t arg = 0) { playback_.Run(code, arg); }
  void ShowTime();
  // A settings or playlist file could not be saved: the title says so for
  // the rest of the run (the first such failure; no dialog).
  void OnSaveFailed(const std::string& path, int error);
  // The engine's speed (normal without an engine), and the check of its item.
  int CurrentSpeed() const { return playback_.CurrentSpeed(); }
  void ShowSpeed(int speed);

  // Settings and menus.
  void FlipSetting(bool MainSettings::*field);
  void SetPlayListForward(bool forward);
  void ApplyRememberPlayPosition();
  void ClearRecentFiles();
  void SetChecked(int id, bool checked) { menus_.SetChecked(id, checked); }
  void SetEnabled(int id, bool enabled) { menus_.SetEnabled(id, enabled); }
  void CheckRadio(const std::vector<int>& group, int id) { menus_.CheckRadio(group, id); }

  // Opening media.
  void CollectDiscDrives();
  void OpenDisc(std::size_t driveIndex);
  void OpenFileDialog();
  void OpenAddressDialog();
  void GoToTime();
  void PlaySettings();
  void ShowAbout();
  // The file-association dialog of the tools menu.
  void ShowFileAssociation();
  // The engine output window and the shortcut help.
  void ShowEngineOutput();
  void ShowKeyHelp();

  void ShowContextMenu(const QPoint& globalPos);

  // Where a key press goes (see eventFilter).
  bool HandleKeyPress(int qtKey, Qt::KeyboardModifiers modifiers);

  // The desktop's media controls: what their requests do in this window.
  void PublishMediaRemote();

  // The engine's state; STOPPED without an engine.
  int CurrentEngineState() const { return playback_.EngineState(); }

  KinovueOptions options_;
  std::string programFolder_;
  std::string settingsPath_;
  IniFile settingsFile_;
  MainSettings settings_;

  std::unique_ptr<platform::MessageWindow> messageWindow_;
  SingleInstance singleInstance_;  // the lock is held for the life of the window
  std::string handedOverPath_;  // the latest file handed over, until it is opened
  std::vector<std::string> commandLineFiles_;  // the first plays at start, all are queued
  std::unique_ptr<CPlayerEngine> engine_;
  // The docked windows unregister while the playlist goes: declared first.
  MainWindowDock docking_;
  std::unique_ptr<CGeneralPlayList> playlist_;
  CHistoryList history_;
  std::unique_ptr<PlayPositionMemory> positions_;  // made once the data folder is known
  ControlPanel controlPanel_;

  QPointer<QWidget> client_;
  QPointer<VideoBackWindow> videoBackWindow_;
  QPointer<VideoWindow> videoWindow_;
  std::unique_ptr<platform::MessageWindow> videoMessages_;
  CommandMenus menus_;

  std::vector<std::string> cdromDrives_;
  std::unique_ptr<PlaybackView> playbackView_;
  PlaybackController playback_;
  std::string resumeNotice_;  // shown instead of the time while not empty
  QTimer resumeNoticeTimer_;
  QString saveProblem_;                     // the title's note once a save failed

  WindowModes modes_;
  platform::ScreenSaverInhibitor screenSaver_;
  MediaRemoteLink mediaRemote_;

  std::unique_ptr<UpdatePromptBoxes> updatePrompts_;
  std::unique_ptr<UpdateCoordinator> updates_;
  std::unique_ptr<AssociationPrompt> association_;
  std::unique_ptr<EngineOutputWindows> engineOutput_;

  std::uint64_t lastEngineMessageMs_ = 0;  // for the quiet wait at shutdown
  bool closing_ = false;
};
