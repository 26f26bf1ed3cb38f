// The program's commands, one row each, and OnCommand, which carries a row out.
#include "mainwindow/command_table.h"

#include <QDesktopServices>
#include <QMenu>
#include <QUrl>
#include <array>

#include "engine/playback_speed.h"
#include "mainwindow/kinovue_dlg.h"
#include "update/update_coordinator.h"

using namespace platform;

namespace {

constexpr CommandRow Command(int id, const char* name, const char* text = nullptr) {
  CommandRow row;
  row.id = id;
  row.name = name;
  row.text = text;
  return row;
}
// A command that no code names by id: the table numbers it.
constexpr CommandRow Command(const char* name) { return Command(0, name); }
constexpr CommandRow Marker(RowKind kind, const char* text = nullptr) {
  CommandRow row;
  row.kind = kind;
  row.text = text;
  return row;
}
constexpr CommandRow Popup(const char* text) { return Marker(RowKind::Popup, text); }
constexpr CommandRow kSeparator = Marker(RowKind::Separator);
constexpr CommandRow kEnd = Marker(RowKind::EndPopup);

// A key the engine matches; letters answer only while Caps Lock is off.
constexpr CommandKey Key(int order, unsigned vk, const char* label, const char* description, std::uint8_t mods = 0) {
  return {order, vk, mods, true, 0, label, description};
}
constexpr CommandKey Letter(int order, char letter, const char* label, const char* description) {
  return {order, unsigned(letter), 0, false, 0, label, description};
}
// A key the window handles before the engine sees it.
constexpr CommandKey WindowKey(int order, int qtKey, const char* label, const char* description) {
  return {order, 0, 0, true, qtKey, label, description};
}
constexpr unsigned Digit(int n) { return unsigned('0' + n); }
// The "[" and "]" keys come as the codes 0x5B and 0x5D (see VirtualKeyFromQt).
constexpr unsigned kLeftBracket = 0x5B;
constexpr unsigned kRightBracket = 0x5D;

constexpr const char* kHomePage = "https://www.kinovue.example.com/";
constexpr const char* kForumPage = "https://forum.kinovue.example.com/";

// Playback items enabled while a medium runs, and only then.
constexpr const char* kWhilePlaying = ".yyn";

}  // namespace

std::span<const CommandRow> CommandTable() {
  using W = CKinovueDlg;
  static constexpr std::array kRows{
      Marker(RowKind::MenuBar),
      Popup("文件(&F)"),
      Command(ID_OPEN_FILE, "open-file", "打开文件\tCtrl+O").Ctrl('O').Run([](W& w) { w.OpenFileDialog(); }),
      Command(ID_OPEN_URL, "open-url", "打开URL\tCtrl+U").Ctrl('U').Run([](W& w) { w.OpenAddressDialog(); }),
      Popup("打开VCD/DVD"), Command(ID_DISC_PLACEHOLDER, "disc-placeholder", ""), kEnd,
      kSeparator,
      Command(ID_SHOW_PLAYLIST, "show-playlist", "打开播放列表").Run([](W& w) { w.docking_.ShowPlayListWindow(w.playlist_.get()); }),
      Command(ID_AUTO_PLAY_FROM_LIST, "auto-play-from-list", "自动从播放列表中选择播放").Run([](W& w) {
        w.FlipSetting(&MainSettings::AutoPlayFromList);
        w.RefreshPlaybackMenu();
      }),
      Command(ID_PLAYLIST_RANDOM, "playlist-random", "随机选择").Run([](W& w) {
        w.FlipSetting(&MainSettings::PlayListRandom);
        w.RefreshPlaybackMenu();
      }),
      Popup("顺序选择"),
      Command(ID_PLAYLIST_BACKWARD, "playlist-backward", "向后").Run([](W& w) { w.SetPlayListForward(false); }),
      Command(ID_PLAYLIST_FORWARD, "playlist-forward", "向前").Run([](W& w) { w.SetPlayListForward(true); }),
      kEnd,
      Command(ID_PLAYLIST_LOOP, "playlist-loop", "循环播放").Run([](W& w) {
        w.FlipSetting(&MainSettings::PlayListLoop);
        w.RefreshViewMenu();
      }),
      Command(ID_REPEAT_CURRENT, "repeat-current", "重复播放当前文件").Run([](W& w) {
        w.FlipSetting(&MainSettings::RepeatCurrent);
        w.RefreshPlaybackMenu();
      }),
      kSeparator,
      Popup("最近播放文件"), Command(ID_RECENT_PLACEHOLDER, "recent-placeholder", "占位菜单"), kEnd,
      Command(ID_CLEAR_RECENT, "clear-recent", "清除最近播放文件").Run([](W& w) { w.ClearRecentFiles(); }),
      kSeparator,
      Command(ID_EXIT, "exit", "退出\tAlt+X").Alt('X').Run([](W& w) { w.OnCancel(); }),
      kEnd,

      Popup("查看(&V)"),
      Command(ID_NATIVE_SIZE, "native-size", "原始尺寸\tCtrl+R").Ctrl('R').Run([](W& w) { w.modes_.SetVideoSize(1); }),
      Command(ID_DOUBLE_SIZE, "double-size", "2倍尺寸\tCtrl+T").Ctrl('T').Run([](W& w) { w.modes_.SetVideoSize(2); }),
      Command(ID_FULL_SCREEN, "full-screen", "全屏\tCtrl+F").Ctrl('F').Run([](W& w) { w.modes_.ToggleFullScreen(); }),
      Command(ID_TOPMOST, "topmost", "播放时保持在桌面最上端")
          .Key(WindowKey(370, 0, "T", "保持/取消在桌面最上端"))  // a capital T: the window's own rule
          .Run([](W& w) { w.modes_.ToggleTopmost(); }),
      kSeparator,
      Command(ID_VIDEO_PANEL, "video-panel", "视频面板\tCtrl+V").Ctrl('V').Run([](W& w) { w.modes_.ShowVideoArea(); }),
      Command(ID_AUDIO_PANEL, "audio-panel", "音频面板\tCtrl+A").Ctrl('A').Run([](W& w) { w.modes_.ShowSoundOnlyStrip(); }),
      kSeparator,
      Command(ID_SHOW_ENGINE_OUTPUT, "engine-output", "引擎输出信息").Run([](W& w) { w.ShowEngineOutput(); }),
      kEnd,

      Popup("播放(&P)"),
      // Argument 0 resumes, or replays the file the engine still knows; the
      // engine makes a key's PLAY a pause while playing.
      Command(ID_PLAY, "play", "播放\tEnter/Space")
          .Engine(ENGINE_CMD_PLAY)
          .Key(Key(190, VK_SPACE, "Space", "播放/暂停"))
          .Key(Key(200, VK_RETURN, "Enter", "播放/暂停"))
          .States("nnym"),
      Command(ID_PAUSE, "pause", "暂停\tEnter/Space").Engine(ENGINE_CMD_PAUSE).States("nynn"),
      Command(ID_STOP, "stop", "停止").Run([](W& w) { w.StopPlayback(); }).States("nyyn"),
      // Go to keeps whatever it had while paused.
      Command(ID_GO_TO, "go-to", "转到\tCtrl+G").Run([](W& w) { w.GoToTime(); }).States("ny.n"),
      kSeparator,
      Command(ID_NEXT, "next", "下一个\tCtrl+N").Ctrl('N').Run([](W& w) { w.PlayNext(); }).States("nyyn"),
      Command(ID_PREVIOUS, "previous", "前一个\tCtrl+P").Ctrl('P').Run([](W& w) { w.PlayPrevious(); }).States("nyyn"),
      kSeparator,
      // The engine restarts the medium with the new setting; the radio checks
      // follow when it reports the setting back.
      Popup("声道"),
      Command(ID_STEREO, "stereo", "立体声").Setting(ENGINE_SETTING_CHANNELS, 0),
      Command(ID_LEFT_CHANNEL, "left-channel", "左声道").Setting(ENGINE_SETTING_CHANNELS, 1),
      Command(ID_RIGHT_CHANNEL, "right-channel", "右声道").Setting(ENGINE_SETTING_CHANNELS, 2),
      kEnd,
      Popup("进度调节"),
      Command(ID_SEEK_FORWARD_10S, "seek-forward-10s", "前进10秒(Right)")
          .Engine(ENGINE_CMD_SEEK, 10).Key(Key(20, VK_RIGHT, "Right", "前进10秒")).States(kWhilePlaying),
      Command(ID_SEEK_BACK_10S, "seek-back-10s", "后退10秒(Left)")
          .Engine(ENGINE_CMD_SEEK, -10).Key(Key(10, VK_LEFT, "Left", "后退10秒")).States(kWhilePlaying),
      Command(ID_SEEK_FORWARD_1M, "seek-forward-1m", "前进1分(Down)")
          .Engine(ENGINE_CMD_SEEK, 60)
          .Key(Key(40, VK_DOWN, "Down", "前进1分"))
          .Key(Key(60, kRightBracket, "]", "前进1分"))
          .States(kWhilePlaying),
      Command(ID_SEEK_BACK_1M, "seek-back-1m", "后退1分(Up)")
          .Engine(ENGINE_CMD_SEEK, -60)
          .Key(Key(30, VK_UP, "Up", "后退1分"))
          .Key(Key(50, kLeftBracket, "[", "后退1分"))
          .States(kWhilePlaying),
      Command(ID_SEEK_FORWARD_10M, "seek-forward-10m", "前进10分(PageDown)")
          .Engine(ENGINE_CMD_SEEK, 600).Key(Key(80, VK_NEXT, "PageDown", "前进10分")).States(kWhilePlaying),
      Command(ID_SEEK_BACK_10M, "seek-back-10m", "后退10分(PageUp)")
          .Engine(ENGINE_CMD_SEEK, -600).Key(Key(70, VK_PRIOR, "PageUp", "后退10分")).States(kWhilePlaying),
      Command(ID_FRAME_STEP, "frame-step", "逐帧步进(.)")
          .Engine(ENGINE_CMD_FRAME_STEP).Key(Key(230, VK_OEM_PERIOD, ".", "逐帧步进")).States(kWhilePlaying),
      kEnd,
      Popup("亮度调节"),
      Command(ID_BRIGHTNESS_UP, "brightness-up", "增加亮度(&4)")
          .Engine(ENGINE_CMD_BRIGHTNESS, 1).Key(Key(270, Digit(4), "4", "增加亮度")),
      Command(ID_BRIGHTNESS_DOWN, "brightness-down", "减少亮度(&3)")
          .Engine(ENGINE_CMD_BRIGHTNESS, -1).Key(Key(260, Digit(3), "3", "降低亮度")),
      kEnd,
      Popup("对比度调节"),
      Command(ID_CONTRAST_UP, "contrast-up", "增加对比度(&2)")
          .Engine(ENGINE_CMD_CONTRAST, 1).Key(Key(250, Digit(2), "2", "增加对比度")),
      Command(ID_CONTRAST_DOWN, "contrast-down", "减少对比度(&1)")
          .Engine(ENGINE_CMD_CONTRAST, -1).Key(Key(240, Digit(1), "1", "降低对比度")),
      kEnd,
      // The mnemonics "-" and "+" of these items are the other way round from
      // the keypad keys of the same labels.
      Popup("声音同步"),
      Command(ID_AUDIO_EARLIER, "audio-earlier", "声音快进0.1秒(&-)")
          .Engine(ENGINE_CMD_AUDIO_DELAY, -100).Key(Key(90, VK_ADD, "+", "声音相对视频快0.1秒")),
      Command(ID_AUDIO_LATER, "audio-later", "声音延迟0.1秒(&+)")
          .Engine(ENGINE_CMD_AUDIO_DELAY, 100).Key(Key(100, VK_SUBTRACT, "-", "声音相对视频慢0.1秒")),
      kEnd,
      Popup("字幕同步"),
      Command(ID_SUBTITLE_EARLIER, "subtitle-earlier", "字幕快进0.1秒(&z)")
          .Engine(ENGINE_CMD_SUB_DELAY, -100).Key(Letter(210, 'Z', "z", "字幕比画面快0.1秒")),
      Command(ID_SUBTITLE_LATER, "subtitle-later", "字幕延迟0.1秒(&x)")
          .Engine(ENGINE_CMD_SUB_DELAY, 100).Key(Letter(220, 'X', "x", "字幕比画面慢0.1秒")),
      kEnd,
      kSeparator,
      Command(ID_SWITCH_AUDIO, "switch-audio", "切换音轨(&a)")
          .Engine(ENGINE_CMD_SWITCH_AUDIO).Key(Letter(350, 'A', "a", "切换音轨")),
      Command(ID_SWITCH_SUBTITLE, "switch-subtitle", "切换字幕语言(&j)")
          .Engine(ENGINE_CMD_VOBSUB_LANG).Key(Letter(360, 'J', "j", "切换字幕语言")),
      kSeparator,
      // The radio check follows the speed the engine reports back.
      Popup("播放速度"),
      Command(ID_SPEED_50, "speed-0.5", "0.5×").Engine(ENGINE_CMD_SET_SPEED, 50),
      Command(ID_SPEED_75, "speed-0.75", "0.75×").Engine(ENGINE_CMD_SET_SPEED, 75),
      Command(ID_SPEED_100, "speed-1", "1.0×\tBackspace")
          .Engine(ENGINE_CMD_SET_SPEED, kNormalSpeed)
          .Key(WindowKey(400, Qt::Key_Backspace, "Backspace", "恢复正常播放速度")),
      Command(ID_SPEED_125, "speed-1.25", "1.25×").Engine(ENGINE_CMD_SET_SPEED, 125),
      Command(ID_SPEED_150, "speed-1.5", "1.5×").Engine(ENGINE_CMD_SET_SPEED, 150),
      Command(ID_SPEED_200, "speed-2", "2.0×").Engine(ENGINE_CMD_SET_SPEED, 200),
      kEnd,
      Command(ID_REMEMBER_POSITION, "remember-position", "记住播放位置").Run([](W& w) {
        w.FlipSetting(&MainSettings::RememberPlayPosition);
        w.ApplyRememberPlayPosition();
      }),
      kEnd,

      Popup("工具(&T)"),
      Command(ID_PLAY_SETTINGS, "play-settings", "播放设置").Run([](W& w) { w.PlaySettings(); }),
      kSeparator,
      Popup("外观比例"),
      Command(ID_ASPECT_AUTO, "aspect-auto", "自动(&A)").Setting(ENGINE_SETTING_ASPECT, 0),
      Command(ID_ASPECT_4_3, "aspect-4:3", "4:3").Setting(ENGINE_SETTING_ASPECT, 1),
      Command(ID_ASPECT_16_9, "aspect-16:9", "16:9").Setting(ENGINE_SETTING_ASPECT, 2),
      Command(ID_ASPECT_16_10, "aspect-16:10", "16:10").Setting(ENGINE_SETTING_ASPECT, 3),
      kEnd,
      Popup("去交错"),
      Command(ID_DEINTERLACE_OFF, "deinterlace-off", "关闭").Setting(ENGINE_SETTING_DEINTERLACE, 0),
      Command(ID_DEINTERLACE_SIMPLE, "deinterlace-simple", "简单").Setting(ENGINE_SETTING_DEINTERLACE, 1),
      Command(ID_DEINTERLACE_ADAPTIVE, "deinterlace-adaptive", "适应").Setting(ENGINE_SETTING_DEINTERLACE, 2),
      kEnd,
      kSeparator,
      Command(ID_FILE_ASSOCIATION, "file-association", "文件关联(&A)").Run([](W& w) { w.ShowFileAssociation(); }),
      kEnd,

      Popup("帮助(&H)"),
      Command(ID_AUTO_UPDATE, "auto-update", "自动检查新版本").Run([](W& w) {
        w.FlipSetting(&MainSettings::AutoUpdate);
        w.RefreshPlaybackMenu();
      }),
      Command(ID_CHECK_UPDATE, "check-update", "立刻检查新版本").Run([](W& w) { w.updates_->CheckNow(); }),
      kSeparator,
      Command(ID_KEY_HELP, "key-help", "快捷键帮助").Run([](W& w) { w.ShowKeyHelp(); }),
      Command(ID_HOME_PAGE, "home-page", "访问Kinovue主页").Run([](W&) { QDesktopServices::openUrl(QUrl(kHomePage)); }),
      Command(ID_FORUM, "forum", "访问Kinovue论坛").Run([](W&) { QDesktopServices::openUrl(QUrl(kForumPage)); }),
      kSeparator,
      Command(ID_ABOUT, "about", "关于(&A)...").Run([](W& w) { w.ShowAbout(); }),
      kEnd,

      // The untitled sixth popup: skins are not built.
      Popup(""),
      Command(ID_SKIN_DEFAULT, "skin-default", "default.smf"),
      kSeparator,
      Command(ID_LOAD_SKIN, "load-skin", "载入皮肤(&L)"),
      Command(ID_CLEAR_SKIN, "clear-skin", "清除皮肤(&C)"),
      kEnd,

      Marker(RowKind::ContextMenu),
      // While a run opens, it can be stopped or skipped but not paused yet.
      Command(ID_CONTEXT_PLAY, "context-play", "播放(&P)").Like(ID_PLAY).States("nnyn"),
      Command(ID_CONTEXT_PAUSE, "context-pause", "暂停(&A)").Like(ID_PAUSE).States("nynn"),
      Command(ID_CONTEXT_STOP, "context-stop", "停止(&S)").Like(ID_STOP).States("yyyn"),
      kSeparator,
      Command(ID_CONTEXT_NEXT, "context-next", "下一个(&N)").Like(ID_NEXT).States("yyyn"),
      Command(ID_CONTEXT_PREVIOUS, "context-previous", "上一个(&R)").Like(ID_PREVIOUS).States("yyyn"),
      kSeparator,
      Command(ID_CONTEXT_FULL_SCREEN, "context-full-screen", "全屏(&F)")
          .Like(ID_FULL_SCREEN)
          .Checked([](const W& w) { return w.Modes().IsFullScreen(); }),
      Command(ID_CONTEXT_TOPMOST, "context-topmost", "保持在窗口最上端(&T)")
          .Like(ID_TOPMOST)
          .Checked([](const W& w) { return w.Settings().Topmost; }),
      kSeparator,
      Command(ID_CONTEXT_EXIT, "context-exit", "退出(&X)").Like(ID_EXIT),

      Marker(RowKind::NoMenu),
      Command(ID_OK, "ok"),
      Command(ID_CANCEL, "cancel").Like(ID_EXIT),
      Command(ID_SYSTEM_ABOUT, "system-about").Like(ID_ABOUT),
      Command("volume-up")
          .Engine(ENGINE_CMD_CHANGE_VOLUME, 1)
          .Key(Key(110, Digit(0), "0", "增大音量"))
          .Key(Key(130, Digit(8), "*", "增大音量", KEY_MOD_LSHIFT))
          .Key(Key(140, Digit(8), "", "", KEY_MOD_RSHIFT)),
      Command("volume-down")
          .Engine(ENGINE_CMD_CHANGE_VOLUME, -1)
          .Key(Key(120, Digit(9), "9", "减小音量"))
          .Key(Key(150, VK_OEM_2, "/", "减小音量")),
      Command("mute").Engine(ENGINE_CMD_MUTE).Key(Letter(160, 'M', "m", "静音")),
      // The engine answers with a double click on the picture, as the window's full screen does.
      Command("engine-full-screen")
          .Engine(ENGINE_CMD_FULLSCREEN).Key(Letter(170, 'F', "f/Esc", "切换窗口模式和全屏模式")),
      Command("osd").Engine(ENGINE_CMD_OSD, -1).Key(Letter(180, 'O', "o", "切换OSD状态")),
      Command("hue-down").Engine(ENGINE_CMD_HUE, -1).Key(Key(280, Digit(5), "5", "降低色相")),
      Command("hue-up").Engine(ENGINE_CMD_HUE, 1).Key(Key(290, Digit(6), "6", "增加色相")),
      Command("saturation-down")
          .Engine(ENGINE_CMD_SATURATION, -1).Key(Key(300, Digit(7), "7", "降低饱和度")),
      Command("saturation-up")
          .Engine(ENGINE_CMD_SATURATION, 1).Key(Key(310, Digit(8), "8", "增加饱和度")),
      Command("subtitle-down").Engine(ENGINE_CMD_SUB_POS, -1).Key(Letter(320, 'R', "r", "降低字幕位置")),
      Command("subtitle-up").Engine(ENGINE_CMD_SUB_POS, 1).Key(Letter(330, 'T', "t", "抬高字幕位置")),
      Command("screenshot").Engine(ENGINE_CMD_SCREENSHOT).Key(Letter(340, 'S', "s", "屏幕快照")),
      Command(ID_SPEED_SLOWER, "speed-slower")
          .Key(WindowKey(380, Qt::Key_BraceLeft, "{", "减慢播放速度"))
          .Run([](W& w) { w.Run(ENGINE_CMD_SET_SPEED, SlowerSpeed(w.CurrentSpeed())); }),
      Command(ID_SPEED_FASTER, "speed-faster")
          .Key(WindowKey(390, Qt::Key_BraceRight, "}", "加快播放速度"))
          .Run([](W& w) { w.Run(ENGINE_CMD_SET_SPEED, FasterSpeed(w.CurrentSpeed())); }),
  };
  return kRows;
}

// The window's side of its menus.

void CKinovueDlg::FlipSetting(bool MainSettings::*field) {
  settings_.*field = !(settings_.*field);
  WriteMainSetting(settingsFile_, settings_, field);
}

void CKinovueDlg::SetPlayListForward(bool forward) {
  settings_.PlayListForward = forward;
  WriteMainSetting(settingsFile_, settings_, &MainSettings::PlayListForward);
  RefreshPlaybackMenu();
}

void CKinovueDlg::ApplyRememberPlayPosition() {
  if (positions_) positions_->SetEnabled(settings_.RememberPlayPosition);
  SetChecked(ID_REMEMBER_POSITION, settings_.RememberPlayPosition);
}

void CKinovueDlg::ClearRecentFiles() {
  history_.ClearHistory();
  menus_.ClearRecentMenu();
}
