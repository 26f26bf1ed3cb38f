// CMplayerEngine's operations on the owner's thread: commands (planned by
// PlanCommand, carried out here), settings, keys and what the owner reads.
#include "engine/mplayer_engine.h"

#include <algorithm>
#include <climits>

#include "engine/command_planner.h"
#include "engine/key_table.h"

bool CMplayerEngine::Notify(unsigned message, std::uintptr_t wParam, std::intptr_t lParam) {
  return platform::SendMessage(owner_, message, wParam, lParam, nullptr, &gate_);
}

void CMplayerEngine::SetStateAndAnnounce(int noted, int newState) {
  // Only if nobody else moved the state meanwhile: a run that ended on the
  // runner thread must not be brought back by a late PAUSE.
  if (newState != noted && media_.state.compare_exchange_strong(noted, newState)) Notify(msgState_, newState, 0);
}

bool CMplayerEngine::Execute(const EngineCommand* command) {
  if (!command || command->kind != ENGINE_COMMAND_KIND) return false;
  const int noted = media_.state;
  CommandPlan plan = PlanCommand(noted, settings_, command->code, command->arg);
  settings_ = std::move(plan.settings);
  const std::string& text = plan.text;

  switch (plan.step) {
    case CommandPlan::Step::Reject:
      return false;
    case CommandPlan::Step::Done:
      return true;
    case CommandPlan::Step::StoreCache:
      WriteEngineSetting(ini_, settings_, &EngineSettings::playCache);
      return true;
    case CommandPlan::Step::OpenFile: {
      const char* name = reinterpret_cast<const char*>(command->arg);
      if (!started_) {
        fileName_ = name;
        hasFileName_ = true;
        // The window opened without a working engine: say why on every try.
        Notify(WM_ENGINE_ERROR, reinterpret_cast<std::uintptr_t>(startError_.c_str()), 0);
        Notify(msgState_, ENGINE_STATE_ABORTED, 0);
        Notify(msgState_, ENGINE_STATE_STOPPED, 0);
        return false;
      }
      const int result = BeginRun(name);
      Notify(msgOpen_, reinterpret_cast<std::uintptr_t>(hasFileName_ ? fileName_.c_str() : nullptr), 0);
      if (result != 0) return false;
      // BeginRun already holds the new state: announce it as the change it was.
      Notify(msgState_, ENGINE_STATE_OPENING, 0);
      return true;
    }
    case CommandPlan::Step::Replay:
      if (BeginRun(nullptr) != 0) return false;
      Notify(msgState_, ENGINE_STATE_PLAYING, 0);
      return true;
    case CommandPlan::Step::FullScreen:
      platform::PostMessage(videoWindow_, WM_LBUTTONDOWN, MK_LBUTTON, 0);
      platform::PostMessage(videoWindow_, WM_LBUTTONDBLCLK, MK_LBUTTON, 0);
      return true;
    case CommandPlan::Step::Speed: {
      // Kept like the volume even when the engine does not read: the next
      // run starts at it.
      const bool written = text.empty() || WriteCommand(text);
      WriteEngineSetting(ini_, settings_, &EngineSettings::speed);
      const EngineSetting speed{ENGINE_SETTING_SPEED, settings_.speed, 0};
      Notify(msgSetting_, reinterpret_cast<std::uintptr_t>(&speed), 0);
      return written;
    }
    case CommandPlan::Step::ResumeAt:
      media_.resumePosition = command->arg > 0 ? static_cast<int>(std::min<std::intptr_t>(command->arg, INT_MAX)) : 0;
      return true;
    case CommandPlan::Step::Write:
      break;
  }

  if (command->code == ENGINE_CMD_STOP) {
    // The run may end the moment it reads "quit": tell the runner first that
    // this end was asked for, so it is not reported as an early end. A stop
    // always stops: a run that cannot take "quit" is ended when its grace
    // time runs out, and a start still waiting for the old run is dropped.
    quitSent_ = true;
    WriteCommand(text);
    {
      std::lock_guard lock(runMutex_);
      if (!runIdleEvent_.IsSet()) quitDeadline_.Arm(kQuitGraceMs, runNumber_);
    }
    CancelQueuedStart();
  } else if (!WriteCommand(text)) {
    return false;
  }

  switch (command->code) {
    case ENGINE_CMD_STOP:
      media_.ClearMedium();
      // Announced even when the runner got there first: the user's stop is a change.
      media_.state = ENGINE_STATE_STOPPED;
      Notify(msgState_, ENGINE_STATE_STOPPED, 0);
      return true;
    case ENGINE_CMD_SET_VOLUME:
    case ENGINE_CMD_CHANGE_VOLUME:
      Notify(msgVolume_, static_cast<std::uintptr_t>(settings_.volume), 0);
      WriteEngineSetting(ini_, settings_, &EngineSettings::volume);
      break;
    case ENGINE_CMD_MUTE:
      Notify(msgMute_, settings_.mute ? 1 : 0, 0);
      WriteEngineSetting(ini_, settings_, &EngineSettings::mute);
      break;
    case ENGINE_CMD_OSD:
      WriteEngineSetting(ini_, settings_, &EngineSettings::osdLevel);
      break;
    default:
      break;
  }
  SetStateAndAnnounce(noted, plan.newState);
  return true;
}

EngineInfo* CMplayerEngine::GetInfo(EngineInfo* info) {
  if (!info) return info;
  info->hasMedia = hasFileName_;
  info->file = hasFileName_ ? fileName_.c_str() : nullptr;
  info->videoWidth = media_.videoWidth;
  info->videoHeight = media_.videoHeight;
  info->displayWidth = media_.displayWidth;
  info->displayHeight = media_.displayHeight;
  info->volumeMin = 0;
  info->volumeMax = 100;
  info->volume = settings_.volume;
  info->mute = settings_.mute;
  info->hasVideo = media_.hasVideo;
  info->hasAudio = media_.hasAudio;
  info->channels = settings_.channels;
  info->speed = settings_.speed;
  return info;
}

void CMplayerEngine::SetLogWindow(platform::WindowHandle window, unsigned message) {
  logMessage_ = message;
  logWindow_ = window;
}

bool CMplayerEngine::ApplySetting(const EngineSetting* setting) {
  if (!setting) return false;
  switch (setting->kind) {
    case ENGINE_SETTING_CHANNELS:
      if (setting->value >= 0 && setting->value <= 2) settings_.channels = setting->value;
      break;
    case ENGINE_SETTING_ASPECT:
      settings_.aspect = setting->value;
      WriteEngineSetting(ini_, settings_, &EngineSettings::aspect);
      break;
    case ENGINE_SETTING_DEINTERLACE:
      settings_.deinterlace = setting->value;
      WriteEngineSetting(ini_, settings_, &EngineSettings::deinterlace);
      break;
    default:
      return false;
  }
  if (media_.state == ENGINE_STATE_STOPPED) return false;
  EngineCommand stop{ENGINE_COMMAND_KIND, ENGINE_CMD_STOP, 0};
  if (!Execute(&stop)) return false;
  media_.resumePosition = setting->resumePosition;
  EngineCommand play{ENGINE_COMMAND_KIND, ENGINE_CMD_PLAY, 0};
  const bool result = Execute(&play);
  Notify(msgSetting_, reinterpret_cast<std::uintptr_t>(setting), 0);
  return result;
}

bool CMplayerEngine::HandleKey(unsigned virtualKey) {
  if (!keys_) keys_ = platform::MakeKeyState();
  const KeyRow* row = MatchKey(keyTable_, virtualKey, *keys_);
  if (!row) return false;
  EngineCommand command{ENGINE_COMMAND_KIND, row->code, row->arg};
  if (command.code == ENGINE_CMD_PLAY && media_.state == ENGINE_STATE_PLAYING) command.code = ENGINE_CMD_PAUSE;
  if (command.code == ENGINE_CMD_CLOSE)
    Notify(WM_SYSCOMMAND, SC_CLOSE, 0);
  else
    Execute(&command);
  return true;
}

int CMplayerEngine::EnumKeyHelp(std::intptr_t context, KeyHelpCallback callback) {
  if (!callback) return 0;
  for (const KeyRow& row : keyTable_) callback(context, KeyHelpLine(row).c_str());
  return 0;
}
