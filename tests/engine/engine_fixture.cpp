#include "engine_fixture.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QThread>
#include <cstdlib>
#include <sstream>

#include "core_app.h"
#include "engine/key_table.h"

namespace {

// The keys the host's tests press, as the program's table gives them.
constexpr KeyRow kTestKeys[] = {
    {platform::VK_SPACE, 0, true, ENGINE_CMD_PLAY, 0, "Space", "播放/暂停"},
    {platform::VK_RETURN, 0, true, ENGINE_CMD_PLAY, 0, "Enter", ""},
    {platform::VK_RIGHT, 0, true, ENGINE_CMD_SEEK, 10, "Right", ""},
    {'8', KEY_MOD_LSHIFT, true, ENGINE_CMD_CHANGE_VOLUME, 1, "*", ""},
    {'8', 0, true, ENGINE_CMD_SATURATION, 1, "8", ""},
    {'M', 0, false, ENGINE_CMD_MUTE, 0, "m", ""},
    {'F', 0, false, ENGINE_CMD_FULLSCREEN, 0, "f/Esc", ""},
};

}  // namespace

EngineHarness::EngineHarness(const std::string& library) : keys_(std::make_shared<FakeKeyState>()) {
  testsupport::CoreApp();
  symlink(library.c_str(), folder_.File("libmplayer.so").c_str());
  mkdir(folder_.File("dat").c_str(), 0700);
  owner_ = std::make_unique<platform::MessageWindow>([this](unsigned m, std::uintptr_t w, std::intptr_t l) {
    SeenMessage seen{m, w, l, {}};
    if ((m == WM_ENGINE_OPEN || m == WM_ENGINE_ERROR) && w) seen.text = reinterpret_cast<const char*>(w);
    if (m == WM_ENGINE_SETTING && w) {
      const auto* s = reinterpret_cast<const EngineSetting*>(w);
      seen.text = std::to_string(s->kind) + " " + std::to_string(s->value) + " " + std::to_string(s->resumePosition);
    }
    seen_.push_back(seen);
    return std::intptr_t{0};
  });
  video_ = std::make_unique<platform::MessageWindow>([this](unsigned m, std::uintptr_t w, std::intptr_t l) {
    seen_.push_back(SeenMessage{m, w, l, "video"});
    return std::intptr_t{0};
  });
  engine_ = std::make_unique<CMplayerEngine>(folder_.Path(), keys_, kTestKeys);
}

EngineHarness::~EngineHarness() {
  engine_.reset();
  video_.reset();
  owner_.reset();
}

int EngineHarness::Start() {
  const std::string folder = folder_.Path() + "/";
  const EngineStartInfo info = StandardEngineStartInfo(video_->Handle(), folder.c_str(), owner_->Handle());
  return engine_->Start(&info);
}

int EngineHarness::WaitFor(unsigned message, std::size_t from, long long wParam, int timeoutMs) {
  int found = -1;
  testsupport::PumpUntil(
      [&] {
        for (std::size_t i = from; i < seen_.size(); ++i) {
          if (seen_[i].message == message && (wParam < 0 || seen_[i].wParam == static_cast<std::uintptr_t>(wParam))) {
            found = static_cast<int>(i);
            return true;
          }
        }
        return false;
      },
      timeoutMs);
  return found;
}

void EngineHarness::Pump(int ms) {
  testsupport::PumpUntil([] { return false; }, ms);
}

std::vector<std::string> EngineHarness::Names(std::size_t from) const {
  std::vector<std::string> names;
  for (std::size_t i = from; i < seen_.size(); ++i) {
    const SeenMessage& m = seen_[i];
    switch (m.message) {
      case WM_ENGINE_LENGTH: names.push_back("LENGTH " + std::to_string(m.wParam) + " " + std::to_string(m.lParam)); break;
      case WM_ENGINE_FINISHED: names.push_back("FINISHED " + std::to_string(m.wParam)); break;
      case WM_ENGINE_STARTED: names.push_back("STARTED"); break;
      case WM_ENGINE_STATE: names.push_back("STATE " + std::to_string(m.wParam)); break;
      case WM_ENGINE_POSITION: names.push_back("POSITION " + std::to_string(m.wParam)); break;
      case WM_ENGINE_VOLUME: names.push_back("VOLUME " + std::to_string(m.wParam)); break;
      case WM_ENGINE_MUTE: names.push_back("MUTE " + std::to_string(m.wParam)); break;
      case WM_ENGINE_SETTING: names.push_back("SETTING " + m.text); break;
      case WM_ENGINE_OPEN: names.push_back("OPEN " + m.text); break;
      case WM_ENGINE_ERROR: names.push_back("ERROR " + m.text); break;
      default: names.push_back("MSG " + std::to_string(m.message) + " " + m.text); break;
    }
  }
  return names;
}

bool EngineHarness::Play(const std::string& file) {
  return Run(ENGINE_CMD_PLAY, reinterpret_cast<std::intptr_t>(file.c_str()));
}

bool EngineHarness::Run(int code, std::intptr_t arg) {
  EngineCommand command{ENGINE_COMMAND_KIND, code, arg};
  return engine_->Execute(&command);
}

EngineScript::EngineScript(const testsupport::TempDir& dir)
    : scriptPath_(dir.File("script.txt")), recordPath_(dir.File("record.txt")) {
  setenv("KINOVUE_ENGINE_SCRIPT", scriptPath_.c_str(), 1);
  setenv("KINOVUE_ENGINE_RECORD", recordPath_.c_str(), 1);
}

EngineScript::~EngineScript() {
  unsetenv("KINOVUE_ENGINE_SCRIPT");
  unsetenv("KINOVUE_ENGINE_RECORD");
}

void EngineScript::Set(const std::string& script) { testsupport::WriteFileBytes(scriptPath_, script); }

std::string EngineScript::Record() const { return testsupport::ReadFileBytes(recordPath_); }

std::vector<std::string> EngineScript::Commands() const {
  std::vector<std::string> out;
  std::istringstream in(Record());
  for (std::string line; std::getline(in, line);)
    if (line.rfind("cmd ", 0) == 0) out.push_back(line.substr(4));
  return out;
}

std::vector<std::string> EngineScript::Arguments(int run) const {
  // A run's arguments come before its "run" line.
  std::vector<std::string> pending;
  std::istringstream in(Record());
  int current = -1;
  for (std::string line; std::getline(in, line);) {
    if (line.rfind("arg ", 0) == 0) pending.push_back(line.substr(4));
    if (line != "run") continue;
    if (++current == run) return pending;
    pending.clear();
  }
  return {};
}

int EngineScript::Runs() const {
  std::istringstream in(Record());
  int n = 0;
  for (std::string line; std::getline(in, line);) n += line == "run";
  return n;
}

int EngineScript::Ends() const {
  std::istringstream in(Record());
  int n = 0;
  for (std::string line; std::getline(in, line);) n += line == "end";
  return n;
}
