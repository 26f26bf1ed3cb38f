#pragma once
#include <cstdint>

#include "platform/message_window.h"
#include "playback/engine_state.h"

// The types the main window and the engine share.

// Window messages between the parts of the program (numbers fixed).
enum : unsigned {
  WM_ENGINE_LENGTH = 0x40a,    // wParam length (s), lParam resume position (s)
  WM_ENGINE_FINISHED = 0x40b,  // posted; wParam final state (3), or 0 from the window itself
  WM_ENGINE_STARTED = 0x40c,   // playback really started
  WM_ENGINE_STATE = 0x40d,     // wParam new EngineState
  WM_ENGINE_POSITION = 0x40e,  // wParam position (s), lParam length (s)
  WM_ENGINE_VOLUME = 0x40f,    // wParam volume 0..100
  WM_ENGINE_MUTE = 0x410,      // wParam 0 or 1
  WM_ENGINE_SETTING = 0x412,   // wParam const EngineSetting*
  WM_ENGINE_OPEN = 0x413,      // wParam const char* file name (may be null)
  // 0x414, 0x415 and 0x417: the update check's (update/update_events.h)
  WM_ENGINE_ERROR = 0x416,     // wParam const char* why the engine or its run failed
  WM_ENGINE_LOG_LINE = 0x464,  // wParam const char* line
};

// Mouse and system messages the engine sends or posts.
enum : unsigned {
  WM_LBUTTONDOWN = 0x201,
  WM_LBUTTONDBLCLK = 0x203,
  WM_SYSCOMMAND = 0x112,
  MK_LBUTTON = 0x1,
  SC_CLOSE = 0xF060,
};

constexpr int ENGINE_COMMAND_KIND = 12;

enum EngineCommandCode : int {
  ENGINE_CMD_NONE = 0,
  ENGINE_CMD_SET_CACHE = 1,
  ENGINE_CMD_PLAY = 2,
  ENGINE_CMD_PAUSE = 3,
  ENGINE_CMD_STOP = 4,
  ENGINE_CMD_CLOSE = 5,
  ENGINE_CMD_SEEK = 6,
  ENGINE_CMD_SEEK_TO = 7,
  ENGINE_CMD_SEEK_PERCENT = 8,
  ENGINE_CMD_AUDIO_DELAY = 9,
  ENGINE_CMD_SET_VOLUME = 10,
  ENGINE_CMD_CHANGE_VOLUME = 11,
  ENGINE_CMD_MUTE = 12,
  ENGINE_CMD_QUERY_PERCENT = 13,
  ENGINE_CMD_FRAME_STEP = 14,
  ENGINE_CMD_FRAME_DROP = 15,
  ENGINE_CMD_OSD = 16,
  ENGINE_CMD_FULLSCREEN = 17,
  ENGINE_CMD_PLAYTREE_UP = 18,
  ENGINE_CMD_PLAYTREE_STEP = 19,
  ENGINE_CMD_ALT_SOURCE_STEP = 20,
  ENGINE_CMD_SUB_DELAY = 21,
  ENGINE_CMD_CONTRAST = 22,
  ENGINE_CMD_BRIGHTNESS = 23,
  ENGINE_CMD_HUE = 24,
  ENGINE_CMD_SATURATION = 25,
  ENGINE_CMD_SUB_POS = 26,
  ENGINE_CMD_SCREENSHOT = 27,
  ENGINE_CMD_PANSCAN = 28,
  ENGINE_CMD_SWITCH_AUDIO = 29,
  ENGINE_CMD_AUDIO_LANG = 30,
  ENGINE_CMD_VOBSUB_LANG = 31,
  ENGINE_CMD_TXTSUB_LANG = 32,
  ENGINE_CMD_DVDSUB_LANG = 33,
  ENGINE_CMD_KEEP_ASPECT = 34,
  // Beyond the classic set.
  ENGINE_CMD_SET_SPEED = 35,  // arg: percent of normal speed; kept and re-applied at each run
  ENGINE_CMD_RESUME_AT = 36,  // arg: whole seconds the next run begun starts at (0: the beginning)
};

// One command for Execute. arg is a number, or for PLAY a const char* file
// name (cast to intptr_t) or 0.
struct EngineCommand {
  int kind = ENGINE_COMMAND_KIND;
  int code = ENGINE_CMD_NONE;
  std::intptr_t arg = 0;
};

enum EngineSettingKind : int {
  ENGINE_SETTING_CHANNELS = 0,     // 0 stereo, 1 left, 2 right
  ENGINE_SETTING_ASPECT = 1,       // 0 automatic, 1 4:3, 2 16:9, 3 16:10
  ENGINE_SETTING_DEINTERLACE = 2,  // 0 off, 1 simple, 2 adaptive
  ENGINE_SETTING_SPEED = 3,        // percent of normal speed; reported only, never applied through ApplySetting
};

struct EngineSetting {
  int kind = ENGINE_SETTING_CHANNELS;
  int value = 0;
  int resumePosition = 0;  // whole seconds to come back to after the restart
};

struct EngineStartInfo {
  platform::WindowHandle videoWindow = 0;  // the engine draws here (X11 window id)
  const char* folder = nullptr;            // program folder, ending in '/'
  platform::WindowHandle owner = 0;        // receives every notification
  unsigned msgLength = 0, msgFinished = 0, msgStarted = 0, msgState = 0, msgPosition = 0, msgVolume = 0,
           msgMute = 0, msgSetting = 0, msgOpen = 0;
};

// The start record the main window gives its engine: the fixed message
// numbers of this program.
inline EngineStartInfo StandardEngineStartInfo(platform::WindowHandle videoWindow, const char* folder,
                                               platform::WindowHandle owner) {
  EngineStartInfo info;
  info.videoWindow = videoWindow;
  info.folder = folder;
  info.owner = owner;
  info.msgLength = WM_ENGINE_LENGTH;
  info.msgFinished = WM_ENGINE_FINISHED;
  info.msgStarted = WM_ENGINE_STARTED;
  info.msgState = WM_ENGINE_STATE;
  info.msgPosition = WM_ENGINE_POSITION;
  info.msgVolume = WM_ENGINE_VOLUME;
  info.msgMute = WM_ENGINE_MUTE;
  info.msgSetting = WM_ENGINE_SETTING;
  info.msgOpen = WM_ENGINE_OPEN;
  return info;
}

struct EngineInfo {
  bool hasMedia = false;     // a file name is stored
  const char* file = nullptr;  // the engine's copy, valid until the next PLAY with a name
  int videoWidth = 0, videoHeight = 0, displayWidth = 0, displayHeight = 0;
  int volumeMin = 0;
  int volumeMax = 100;
  int volume = 0;
  bool mute = false;
  bool hasVideo = false;
  bool hasAudio = false;
  int channels = 0;
  int speed = 100;  // percent of normal speed
};

// Receives one help line of the key table per call.
using KeyHelpCallback = void (*)(std::intptr_t context, const char* line);

// The engine as the main window sees it.
class CPlayerEngine {
 public:
  virtual ~CPlayerEngine() = default;
  // 0, or the error code of the step that failed.
  virtual int Start(const EngineStartInfo* info) = 0;
  virtual bool Execute(const EngineCommand* command) = 0;
  virtual int GetLength() = 0;
  virtual EngineInfo* GetInfo(EngineInfo* info) = 0;
  virtual void SetLogWindow(platform::WindowHandle window, unsigned message) = 0;
  virtual int GetState() = 0;
  virtual bool ApplySetting(const EngineSetting* setting) = 0;
  // True when a row of the key table matched.
  virtual bool HandleKey(unsigned virtualKey) = 0;
  // Calls back once per key table row, in order; returns 0.
  virtual int EnumKeyHelp(std::intptr_t context, KeyHelpCallback callback) = 0;
  // The size in device pixels of the screen the picture is shown on, for
  // the runs that start from now on. An engine that draws nothing needs none.
  virtual void SetScreenSize(int /*width*/, int /*height*/) {}
};
