#include "mainwindow/command_rows.h"

#include <algorithm>
#include <array>
#include <utility>

#include "engine/engine_types.h"
#include "mainwindow/command_ids.h"

namespace {

constexpr CommandRow Engine(int id, int code, int argument = 0) {
  return {id, CommandKind::EngineCommand, code, argument};
}
constexpr CommandRow Setting(int id, int kind, int value) { return {id, CommandKind::EngineSetting, kind, value}; }

constexpr std::array kCommands{
    // arg 0 resumes, or replays the file the engine still knows.
    Engine(ID_PLAY, ENGINE_CMD_PLAY),
    Engine(ID_PAUSE, ENGINE_CMD_PAUSE),
    Engine(ID_SEEK_FORWARD_10S, ENGINE_CMD_SEEK, 10),
    Engine(ID_SEEK_BACK_10S, ENGINE_CMD_SEEK, -10),
    Engine(ID_SEEK_FORWARD_1M, ENGINE_CMD_SEEK, 60),
    Engine(ID_SEEK_BACK_1M, ENGINE_CMD_SEEK, -60),
    Engine(ID_SEEK_FORWARD_10M, ENGINE_CMD_SEEK, 600),
    Engine(ID_SEEK_BACK_10M, ENGINE_CMD_SEEK, -600),
    Engine(ID_FRAME_STEP, ENGINE_CMD_FRAME_STEP),
    Engine(ID_BRIGHTNESS_UP, ENGINE_CMD_BRIGHTNESS, 1),
    Engine(ID_BRIGHTNESS_DOWN, ENGINE_CMD_BRIGHTNESS, -1),
    Engine(ID_CONTRAST_UP, ENGINE_CMD_CONTRAST, 1),
    Engine(ID_CONTRAST_DOWN, ENGINE_CMD_CONTRAST, -1),
    Engine(ID_AUDIO_EARLIER, ENGINE_CMD_AUDIO_DELAY, -100),
    Engine(ID_AUDIO_LATER, ENGINE_CMD_AUDIO_DELAY, 100),
    Engine(ID_SUBTITLE_EARLIER, ENGINE_CMD_SUB_DELAY, -100),
    Engine(ID_SUBTITLE_LATER, ENGINE_CMD_SUB_DELAY, 100),
    Engine(ID_SWITCH_AUDIO, ENGINE_CMD_SWITCH_AUDIO),
    Engine(ID_SWITCH_SUBTITLE, ENGINE_CMD_VOBSUB_LANG),
    // The radio check follows the speed the engine reports back.
    Engine(ID_SPEED_50, ENGINE_CMD_SET_SPEED, 50),
    Engine(ID_SPEED_75, ENGINE_CMD_SET_SPEED, 75),
    Engine(ID_SPEED_100, ENGINE_CMD_SET_SPEED, 100),
    Engine(ID_SPEED_125, ENGINE_CMD_SET_SPEED, 125),
    Engine(ID_SPEED_150, ENGINE_CMD_SET_SPEED, 150),
    Engine(ID_SPEED_200, ENGINE_CMD_SET_SPEED, 200),
    // The engine restarts the medium with the new setting; the window's
    // radio checks follow when it reports the setting back.
    Setting(ID_STEREO, ENGINE_SETTING_CHANNELS, 0),
    Setting(ID_LEFT_CHANNEL, ENGINE_SETTING_CHANNELS, 1),
    Setting(ID_RIGHT_CHANNEL, ENGINE_SETTING_CHANNELS, 2),
    Setting(ID_ASPECT_AUTO, ENGINE_SETTING_ASPECT, 0),
    Setting(ID_ASPECT_4_3, ENGINE_SETTING_ASPECT, 1),
    Setting(ID_ASPECT_16_9, ENGINE_SETTING_ASPECT, 2),
    Setting(ID_ASPECT_16_10, ENGINE_SETTING_ASPECT, 3),
    Setting(ID_DEINTERLACE_OFF, ENGINE_SETTING_DEINTERLACE, 0),
    Setting(ID_DEINTERLACE_SIMPLE, ENGINE_SETTING_DEINTERLACE, 1),
    Setting(ID_DEINTERLACE_ADAPTIVE, ENGINE_SETTING_DEINTERLACE, 2),
};

constexpr std::array<std::pair<int, int>, 10> kTwins{{
    {ID_CONTEXT_PLAY, ID_PLAY},
    {ID_CONTEXT_PAUSE, ID_PAUSE},
    {ID_CONTEXT_STOP, ID_STOP},
    {ID_CONTEXT_NEXT, ID_NEXT},
    {ID_CONTEXT_PREVIOUS, ID_PREVIOUS},
    {ID_CONTEXT_FULL_SCREEN, ID_FULL_SCREEN},
    {ID_CONTEXT_TOPMOST, ID_TOPMOST},
    {ID_CONTEXT_EXIT, ID_EXIT},
    {ID_CANCEL, ID_EXIT},
    {ID_SYSTEM_ABOUT, ID_ABOUT},
}};

template <std::size_t N, std::size_t M>
constexpr std::array<int, N + M> Join(const std::array<int, N>& a, const std::array<int, M>& b) {
  std::array<int, N + M> joined{};
  std::ranges::copy(a, joined.begin());
  std::ranges::copy(b, joined.begin() + N);
  return joined;
}

constexpr std::array<int, 7> kSeekAndStep{ID_SEEK_FORWARD_10S, ID_SEEK_BACK_10S, ID_SEEK_FORWARD_1M, ID_SEEK_BACK_1M,
                                          ID_SEEK_FORWARD_10M, ID_SEEK_BACK_10M, ID_FRAME_STEP};

constexpr std::array<int, 6> kOpeningDisabled{ID_PLAY, ID_PAUSE, ID_STOP, ID_GO_TO, ID_NEXT, ID_PREVIOUS};
constexpr auto kPlayingEnabled =
    Join(std::array<int, 5>{ID_PAUSE, ID_STOP, ID_GO_TO, ID_NEXT, ID_PREVIOUS}, kSeekAndStep);
constexpr std::array<int, 1> kPlayingDisabled{ID_PLAY};
// Go to keeps whatever it had while paused.
constexpr auto kPausedEnabled = Join(std::array<int, 4>{ID_PLAY, ID_STOP, ID_NEXT, ID_PREVIOUS}, kSeekAndStep);
constexpr std::array<int, 1> kPausedDisabled{ID_PAUSE};
constexpr auto kStoppedDisabled =
    Join(std::array<int, 5>{ID_PAUSE, ID_STOP, ID_GO_TO, ID_NEXT, ID_PREVIOUS}, kSeekAndStep);

constexpr std::array<PlaybackMenuRow, 4> kPlaybackMenu{{
    {ENGINE_STATE_OPENING, {}, kOpeningDisabled, false},
    {ENGINE_STATE_PLAYING, kPlayingEnabled, kPlayingDisabled, false},
    {ENGINE_STATE_PAUSED, kPausedEnabled, kPausedDisabled, false},
    {ENGINE_STATE_STOPPED, {}, kStoppedDisabled, true},
}};

}  // namespace

int MenuBarTwin(int id) {
  const auto it = std::ranges::find(kTwins, id, &std::pair<int, int>::first);
  return it == kTwins.end() ? id : it->second;
}

const CommandRow* FindCommandRow(int id) {
  const auto it = std::ranges::find(kCommands, id, &CommandRow::id);
  return it == kCommands.end() ? nullptr : &*it;
}

int SpeedCommandId(int speed) {
  const auto it = std::ranges::find_if(
      kCommands, [speed](const CommandRow& row) { return row.code == ENGINE_CMD_SET_SPEED && row.argument == speed; });
  return it == kCommands.end() ? 0 : it->id;
}

std::span<const CommandRow> CommandRows() { return kCommands; }

const PlaybackMenuRow* FindPlaybackMenuRow(int state) {
  const auto it = std::ranges::find(kPlaybackMenu, state, &PlaybackMenuRow::state);
  return it == kPlaybackMenu.end() ? nullptr : &*it;
}
