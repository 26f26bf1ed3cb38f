#pragma once
#include <QMainWindow>
#include <QPointer>
#include <QTimer>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "association/file_association.h"
#include "controls/control_panel.h"
#include "engine/engine_types.h"
#include "history/history_list.h"
#include "history/play_position_memory.h"
#include "mainwindow/main_settings.h"
#include "mainwindow/main_window_dock.h"
#include "mainwindow/media_remote_link.h"
#include "mainwindow/single_instance.h"
#include "mainwindow/window_modes.h"
#include "platform/clock.h"
#include "platform/key_state.h"
#include "platform/manual_reset_event.h"
#include "platform/message_window.h"
#include "platform/screen_saver.h"
#include "playlist/general_play_list.h"
#include "settings/ini_file.h"

class CMplayerOutDlg;
struct NextToPlayAction;
class QAction;
class QDialog;
class QMenu;
class VideoWindow;
class VideoBackWindow;
class UpdateLibrary;
struct CachedUpdatePaths;

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

// The main window: owns the engine, the playlist, the history and the
// controls, turns every user action into engine commands and reacts to the
// engine's messages. Everything runs on the UI thread.
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
  void RefreshViewMenu();
  void RebuildRecentMenu(bool clearOnly);

  // Runs a command id as the menus, accelerators and buttons do.
  void OnCommand(int id);

  // The window's message target (engine notifications, hand-over).
  platform::WindowHandle Handle() const;
  // Handles one message as if it had been sent to the window.
  std::intptr_t OnMessage(unsigned message, std::uintptr_t wParam, std::intptr_t lParam);

  // Read access for tests and the other parts.
  CPlayerEngine* Engine() const { return engine_.get(); }
  CGeneralPlayList* PlayList() const { return playlist_.get(); }
  WindowDock* Dock() const { return docking_.Dock(); }
  const MainSettings& Settings() const { return settings_; }
  QAction* Action(int id) const;            // menu bar item by command id
  QMenu* RecentMenu() const;
  QMenu* BuildContextMenu();                // menu 171 enabled and checked for now
  ControlPanel& Panel() { return controlPanel_; }
  const std::string& SettingsPath() const { return settingsPath_; }
  bool UpdateRunning() const { return updateRunning_; }
  std::deque<std::string>& DiscQueue() { return discQueue_; }
  const std::string& PendingPath() const { return pendingPath_; }
  int PositionSeconds() const { return positionSeconds_; }
  WindowModes& Modes() { return modes_; }
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
  void BuildMenuBar();
  void HandOverReceived(const std::vector<std::string>& paths);
  // What the command line names; what names nothing is said on stderr.
  void ReadCommandLine();
  // Puts paths in the playlist in their order, the first one current, so
  // that the list goes on with the second.
  void QueueInPlayList(const std::vector<std::string>& paths);

  // Online update (update_glue.cpp).
  std::string UpdateDataFolder() const;
  void ShowUpdateMessage(const std::string& text, const std::string& caption, QWidget* parent);
  bool RunAsUpgradeHelper();
  void SeedUpdateFiles();
  bool StartPendingUpdate();
  bool LoadUpdater();
  bool LaunchHelper(const std::string& cacheFolder, const std::string& targetFolder);
  void CheckForUpdateNow();
  void OnUpdateResult(int code);
  void OnUpdateCached(const CachedUpdatePaths* paths);
  std::intptr_t AskRestartNow();

  // Playback (engine messages).
  void OnEngineFinished(std::uintptr_t finalState);
  // The file a decision of NextToPlay names, taken off its queue; empty when
  // there is none.
  std::string TakeNextPath(const NextToPlayAction& next);
  // The control strip's requests become the window's operations.
  void ConnectControlPanel();
  void OnEngineLength(int length, int resume);
  void OnEngineState(int state);
  void OnEngineStarted();
  void OnEnginePosition(int position);
  void OnEngineSetting(const EngineSetting* setting);
  // Checks the radio items of the settings the engine announced so far.
  void CheckAnnouncedSettings();
  void OnEngineOpen(const char* file);
  void OnEngineError(const char* reason);
  void Run(int code, std::intptr_t arg = 0);
  void PostFinishedToSelf();
  // Stops the engine, or when it is stopped already makes the window decide
  // at once what to play; either way the finished handler comes next.
  void FinishCurrentRun();
  void ApplyEngineSetting(int kind, int value);
  void ShowTime();
  // "从 HH:MM:SS 继续播放" in the time read-out for a few seconds.
  void ShowResumeNotice(int seconds);
  void UpdateTitle();
  // A settings or playlist file could not be saved: the title says so for
  // the rest of the run (the first such failure; no dialog).
  void OnSaveFailed(const std::string& path, int error);
  // The engine's speed (normal without an engine), and the check of its item.
  int CurrentSpeed() const;
  void ShowSpeed(int speed);

  // Settings and menus.
  void FlipSetting(bool MainSettings::*field);
  void SetChecked(int id, bool checked);
  void SetEnabled(int id, bool enabled);
  void CheckRadio(const std::vector<int>& group, int id);

  // Opening media.
  void CollectDiscDrives();
  void OpenDisc(std::size_t driveIndex);
  void OpenRecent(int index);
  void OpenFileDialog();
  void OpenAddressDialog();
  void GoToTime();
  void PlaySettings();
  void ShowAbout();
  // File association: the start-up check and the menu command.
  void CheckFileAssociation();
  void ShowFileAssociation();
  void OpenDroppedFiles(const std::vector<std::string>& paths);
  // The engine output window and the shortcut help.
  void ShowEngineOutput();
  void ShowKeyHelp();
  // Opening: a playing or paused engine is stopped, otherwise the window
  // decides at once; the finished handler then opens what was asked for.
  void StopOrPostFinished();
  void RememberLastOpen(const std::string& path);

  void ShowContextMenu(const QPoint& globalPos);

  // Key routing (input_routing.cpp, with eventFilter).
  bool HandleKeyPress(int qtKey, Qt::KeyboardModifiers modifiers);

  // The desktop's media controls: what their requests do in this window.
  void PublishMediaRemote();

  // The engine's state; STOPPED without an engine.
  int CurrentEngineState() const;

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
  std::unique_ptr<platform::ManualResetEvent> idleEvent_;

  QPointer<QWidget> client_;
  QPointer<VideoBackWindow> videoBackWindow_;
  QPointer<VideoWindow> videoWindow_;
  QPointer<CMplayerOutDlg> outputWindow_;  // a child: lives as long as the window
  std::unique_ptr<platform::MessageWindow> videoMessages_;
  std::map<int, QAction*> actions_;
  QMenu* discMenu_ = nullptr;
  QMenu* recentMenu_ = nullptr;
  QMenu* orderMenu_ = nullptr;

  std::vector<std::string> cdromDrives_;
  std::deque<std::string> discQueue_;
  std::string pendingPath_;
  bool stopRequested_ = false;
  bool nextRequested_ = false;
  bool previousRequested_ = false;
  int positionSeconds_ = 0;
  int lengthSeconds_ = 0;
  int shownLengthSeconds_ = 0;
  std::string timeText_;
  std::string resumeNotice_;  // shown instead of the time while not empty
  QTimer resumeNoticeTimer_;
  int titleState_ = ENGINE_STATE_STOPPED;  // the state the title names, as last announced
  std::string failureReason_;               // why the last run could not play
  QString saveProblem_;                     // the title's note once a save failed
  std::map<int, int> announcedSettings_;    // setting kind -> value the engine last announced

  WindowModes modes_;
  platform::ScreenSaverInhibitor screenSaver_;
  MediaRemoteLink mediaRemote_;

  int driveIdTop_ = 0xFFFF;
  int driveIdNext_ = 0xFFFF;
  int recentIdTop_ = 0xFFFF;
  int recentIdNext_ = 0xFFFF;

  std::unique_ptr<UpdateLibrary> updater_;
  bool updateRunning_ = false;
  bool showUpdateResult_ = false;

  std::uint64_t lastEngineMessageMs_ = 0;  // for the quiet wait at shutdown
  bool closing_ = false;
};
