#pragma once
#include <memory>
#include <string>
#include <vector>

#include "engine/engine_types.h"

// An engine that only records: the main window's side of every exchange,
// without threads or a library. Tests set its state and deliver messages.
class FakeEngine : public CPlayerEngine {
 public:
  struct Command {
    int code;
    std::intptr_t arg;
    std::string file;  // PLAY with a name
  };
  std::vector<Command> commands;
  // Every command code, kept by whoever holds it after the engine is gone.
  std::shared_ptr<std::vector<int>> codes = std::make_shared<std::vector<int>>();
  std::vector<EngineSetting> settings;
  std::vector<unsigned> keys;
  int state = ENGINE_STATE_STOPPED;
  bool keyResult = false;
  std::string file;
  EngineInfo info;  // hasMedia and file follow `file`
  EngineStartInfo startInfo;
  platform::WindowHandle logWindow = 0;  // as the last SetLogWindow left it
  unsigned logMessage = 0;
  // As the real engine: settings announced by Start, and the file and the
  // OPENING state announced by PLAY, at once on the caller's thread.
  std::vector<EngineSetting> announcedAtStart;
  bool announcesRuns = false;

  int Start(const EngineStartInfo* i) override {
    startInfo = *i;
    for (EngineSetting& setting : announcedAtStart)
      platform::SendMessage(i->owner, i->msgSetting, reinterpret_cast<std::uintptr_t>(&setting), 0);
    return 0;
  }
  bool Execute(const EngineCommand* c) override {
    Command recorded{c->code, c->arg, {}};
    if (c->code == ENGINE_CMD_PLAY && c->arg) {
      recorded.file = reinterpret_cast<const char*>(c->arg);
      file = recorded.file;
      state = ENGINE_STATE_OPENING;
    }
    if (c->code == ENGINE_CMD_STOP) state = ENGINE_STATE_STOPPED;
    commands.push_back(recorded);
    codes->push_back(c->code);
    if (announcesRuns && c->code == ENGINE_CMD_PLAY && c->arg) {
      platform::SendMessage(startInfo.owner, startInfo.msgOpen, reinterpret_cast<std::uintptr_t>(file.c_str()), 0);
      platform::SendMessage(startInfo.owner, startInfo.msgState, ENGINE_STATE_OPENING, 0);
    }
    return true;
  }
  int GetLength() override { return 0; }
  EngineInfo* GetInfo(EngineInfo* out) override {
    *out = info;
    out->hasMedia = !file.empty();
    out->file = file.empty() ? nullptr : file.c_str();
    return out;
  }
  void SetLogWindow(platform::WindowHandle window, unsigned message) override {
    logWindow = window;
    logMessage = message;
  }
  int GetState() override { return state; }
  bool ApplySetting(const EngineSetting* s) override {
    settings.push_back(*s);
    return false;
  }
  bool HandleKey(unsigned vk) override {
    keys.push_back(vk);
    return keyResult;
  }
  int EnumKeyHelp(std::intptr_t, KeyHelpCallback) override { return 0; }

  // The files PLAY was asked to open, in order.
  std::vector<std::string> Played() const {
    std::vector<std::string> out;
    for (const Command& c : commands)
      if (c.code == ENGINE_CMD_PLAY && !c.file.empty()) out.push_back(c.file);
    return out;
  }
  int Count(int code) const {
    int n = 0;
    for (const Command& c : commands) n += c.code == code;
    return n;
  }
};
