// CMplayerEngine's library loading, pipes and threads: the engine's
// lifetime, the start of each run (queued when the previous run does not end
// at once), the runner thread that calls the library and reports the run's
// end, and the reader thread that hands the engine's output to the parser.
#include "engine/mplayer_engine.h"

#include <array>
#include <chrono>
#include <cerrno>
#include <cstdio>
#include <string_view>
#include <thread>

#include "engine/output_lines.h"
#include "engine/run_arguments.h"
#include "platform/clock.h"
#include "platform/font_lookup.h"
#include "platform/pipe.h"
#include "platform/program_folder.h"

namespace {

constexpr const char* kLibraryName = "libmplayer.so";
constexpr std::size_t kMaxCommandBytes = 128;  // with its LF
// Reads no longer than the splitter's longest line: no line is handed on longer.
constexpr std::size_t kReadSize = LineSplitter::kMaxLine;
// How long the end-of-run report waits for the reader to handle the run's
// last output.
constexpr int kReaderCatchUpMs = 2000;
// Posted to the engine's own message target when a queued run may start.
constexpr unsigned kStartQueuedMessage = 1;

std::string WithSlash(std::string folder) {
  if (folder.empty() || folder.back() != '/') folder += '/';
  return folder;
}

}  // namespace

CMplayerEngine::CMplayerEngine(const std::string& folder, std::shared_ptr<const platform::KeyState> keys,
                               std::span<const KeyRow> keyTable)
    : folder_(folder), iniPath_(platform::SettingsFilePath(folder)), ini_(iniPath_), keys_(std::move(keys)),
      keyTable_(keyTable) {}

CMplayerEngine::~CMplayerEngine() {
  // From here on nothing waits for the owner, so no thread can hold us up.
  gate_.Close();
  queue_.reset();  // a queued start is dropped
  if (!runIdleEvent_.IsSet()) {
    // A "quit" sent earlier (the owner's STOP) already started the grace
    // time; the deadline timer ends the run when it runs out.
    if (!quitSent_.exchange(true)) {
      WriteCommand("quit");
      std::lock_guard lock(runMutex_);
      quitDeadline_.Arm(kQuitGraceMs, runNumber_);
    }
    const int left = quitDeadline_.Remaining();
    if (!runIdleEvent_.Wait((left < 0 ? 0 : left) + kAbortGraceMs)) {
      AbortRun();
      runIdleEvent_.Wait(kAbortGraceMs);
    }
  }
  quitDeadline_.Disarm();
  ReapRunners(true);
  if (fontLookup_.joinable()) fontLookup_.join();
  // The reader's read ends once the last write end of the output pipe closes.
  platform::ClosePipe(outputWrite_);
  if (readerThread_.joinable()) readerThread_.join();
  platform::ClosePipe(outputRead_);
  platform::ClosePipe(inputWrite_);
  platform::ClosePipe(inputRead_);
  std::lock_guard lock(libraryMutex_);
  library_.Free();
}

int CMplayerEngine::Start(const EngineStartInfo* info) {
  if (!info) return EINVAL;
  if (started_) return EALREADY;
  videoWindow_ = info->videoWindow;
  if (info->folder) folder_ = info->folder;
  owner_ = info->owner;
  msgLength_ = info->msgLength;
  msgFinished_ = info->msgFinished;
  msgStarted_ = info->msgStarted;
  msgState_ = info->msgState;
  msgPosition_ = info->msgPosition;
  msgVolume_ = info->msgVolume;
  msgMute_ = info->msgMute;
  msgSetting_ = info->msgSetting;
  msgOpen_ = info->msgOpen;

  arguments_.clear();
  runIdleEvent_.Set();
  LoadEngineSettings(ini_, settings_);

  if (int error = platform::CreatePipe(inputRead_, inputWrite_)) return error;
  if (int error = platform::ReplaceStandardInput(inputRead_)) return error;
  // A full pipe (nothing reads it) must drop a command, not hang the UI.
  if (int error = platform::SetNonBlocking(inputWrite_)) return error;
  if (int error = platform::CreatePipe(outputRead_, outputWrite_)) return error;

  {
    std::lock_guard lock(libraryMutex_);
    const std::string path = WithSlash(folder_) + kLibraryName;
    int error = 0;
    if (!library_.Load(path)) {
      error = ENOENT;
      startError_ = "无法加载引擎库: " + library_.ErrorText();
    } else if (!(entry_ = reinterpret_cast<EntryFunction>(library_.Symbol("mplayer")))) {
      error = ENOSYS;
      startError_ = "引擎库 " + path + " 没有 mplayer 入口";
    }
    if (error) {
      Notify(WM_ENGINE_ERROR, reinterpret_cast<std::uintptr_t>(startError_.c_str()), 0);
      return error;
    }
    abort_ = reinterpret_cast<AbortFunction>(library_.Symbol("mplayer_abort"));
  }
  started_ = true;
  queue_ = std::make_unique<platform::MessageWindow>([this](unsigned message, std::uintptr_t, std::intptr_t) {
    if (message == kStartQueuedMessage) StartQueuedRun();
    return std::intptr_t{0};
  });
  queueHandle_ = queue_->Handle();
  readerThread_ = std::thread(&CMplayerEngine::ReaderMain, this);
  // Looking up the subtitle font starts a program; have it ready before the
  // first run instead of delaying that run.
  fontLookup_ = std::thread([] { platform::CjkFontFile(); });

  EngineSetting record;
  for (auto [kind, value] : {std::pair{ENGINE_SETTING_CHANNELS, settings_.channels},
                             std::pair{ENGINE_SETTING_ASPECT, settings_.aspect},
                             std::pair{ENGINE_SETTING_DEINTERLACE, settings_.deinterlace}}) {
    record.kind = kind;
    record.value = value;
    record.resumePosition = 0;
    Notify(msgSetting_, reinterpret_cast<std::uintptr_t>(&record), 0);
  }
  return 0;
}

bool CMplayerEngine::WriteCommand(const std::string& text) {
  if (text.empty() || text.size() + 1 > kMaxCommandBytes) return false;
  // Between runs nothing reads the pipe: the command would be carried out by
  // the next run. What it changes is kept and sent again at each run start.
  if (!runReading_) return true;
  const std::string line = text + "\n";
  if (platform::WritePipe(inputWrite_, line.data(), line.size())) {
    commandsDropped_ = false;
    return true;
  }
  // MPlayer has stopped reading (a held key outran it, or it hangs).
  if (!commandsDropped_) std::fprintf(stderr, "kinovue: the engine does not read its commands; dropping them\n");
  commandsDropped_ = true;
  Log("kinovue: command dropped, the engine does not read: " + text);
  return false;
}

void CMplayerEngine::Log(const std::string& text) {
  if (const platform::WindowHandle log = logWindow_)
    platform::SendMessage(log, logMessage_, reinterpret_cast<std::uintptr_t>(text.c_str()), 0, nullptr, &gate_);
}

int CMplayerEngine::BeginRun(const char* name) {
  if (!started_) return -2;
  if (name) {
    if (media_.state != ENGINE_STATE_STOPPED) {
      EngineCommand stop{ENGINE_COMMAND_KIND, ENGINE_CMD_STOP, 0};
      Execute(&stop);
    }
    if (!*name) return -2;
    fileName_ = name;
    hasFileName_ = true;
  } else if (!hasFileName_ || media_.state != ENGINE_STATE_STOPPED) {
    return -2;
  }
  const bool opening = name != nullptr;
  // A run that ends at once (it read "quit") is waited for, so the common
  // case keeps its simple order; one that does not is not waited for on the
  // owner's thread: the new run starts when the old one has gone.
  if (!WaitForIdle(kBriefWaitMs)) {
    if (QueueStart(opening)) {
      media_.ClearMedium();
      media_.state = opening ? ENGINE_STATE_OPENING : ENGINE_STATE_PLAYING;
      return 0;
    }
    // Its end is being reported: that takes no longer than the owner needs.
    if (!WaitForRunEnd()) return -3;
  }
  StartRun(opening);
  return 0;
}

bool CMplayerEngine::QueueStart(bool opening) {
  std::lock_guard lock(runMutex_);
  if (endDecided_ && !startQueued_) return false;
  startQueued_ = true;
  queuedOpening_ = opening;
  return true;
}

void CMplayerEngine::StartQueuedRun() {
  {
    std::lock_guard lock(runMutex_);
    if (!startQueued_ || !runIdleEvent_.IsSet()) return;
    startQueued_ = false;
  }
  StartRun(queuedOpening_);
}

void CMplayerEngine::CancelQueuedStart() {
  bool handedOver = false;
  {
    std::lock_guard lock(runMutex_);
    if (!startQueued_) return;
    startQueued_ = false;
    handedOver = endHandedOver_;
  }
  // The old run left its end to the new one, which will not come now: the
  // owner still needs to hear that playback has finished.
  if (handedOver) platform::PostMessage(owner_, msgFinished_, ENGINE_STATE_STOPPED, 0);
}

void CMplayerEngine::StartRun(bool opening) {
  runIdleEvent_.Reset();
  ReapRunners(false);
  // Whatever was written while no run read the pipe is not for this run.
  platform::DrainPipe(inputRead_);

  // A new medium starts with nothing known: flags of the previous one would
  // make the wrong output line count as the start of playback.
  media_.ClearMedium();
  arguments_ = BuildRunArguments(settings_, videoWindow_, fileName_, platform::CjkFontFile(), screen_);
  media_.state = opening ? ENGINE_STATE_OPENING : ENGINE_STATE_PLAYING;
  quitSent_ = false;
  quitDeadline_.Disarm();
  runReading_ = true;

  auto done = std::make_shared<std::atomic<bool>>(false);
  {
    std::lock_guard lock(runMutex_);
    ++runNumber_;
    endDecided_ = false;
    endHandedOver_ = false;
    runners_.push_back(Runner{std::thread([this, done] {
                                RunnerMain();
                                *done = true;
                              }),
                              done});
  }

  if (settings_.audioOut > 1) {
    EngineCommand volume{ENGINE_COMMAND_KIND, ENGINE_CMD_SET_VOLUME, settings_.volume};
    Execute(&volume);
  }
  if (settings_.mute) {
    settings_.mute = false;
    EngineCommand mute{ENGINE_COMMAND_KIND, ENGINE_CMD_MUTE, 0};
    Execute(&mute);
  }
  EngineCommand osd{ENGINE_COMMAND_KIND, ENGINE_CMD_OSD, settings_.osdLevel};
  Execute(&osd);
}

bool CMplayerEngine::WaitForIdle(int ms) {
  // The runner reports the end of its run to this thread before it signals
  // idle, so its messages are handled while we wait.
  const std::uint64_t deadline = platform::TickCountMs() + static_cast<std::uint64_t>(ms);
  while (!runIdleEvent_.Wait(ms < 5 ? ms : 5)) {
    platform::DispatchSentMessages();
    if (platform::TickCountMs() >= deadline) return runIdleEvent_.IsSet();
  }
  return true;
}

bool CMplayerEngine::WaitForRunEnd() {
  if (WaitForIdle(kQuitGraceMs)) return true;
  AbortRun();
  return WaitForIdle(kAbortGraceMs);
}

void CMplayerEngine::AbortRun() {
  std::lock_guard lock(libraryMutex_);
  if (abort_) abort_();
}

void CMplayerEngine::OnQuitDeadline(std::uint64_t run) {
  // The run did not act on "quit" (stuck opening an unreachable address, or
  // stopped). Only that run is ended: the number is checked under the lock
  // that starting a run takes.
  std::lock_guard lock(runMutex_);
  if (run == runNumber_ && !runIdleEvent_.IsSet()) AbortRun();
}

void CMplayerEngine::ReapRunners(bool all) {
  for (auto it = runners_.begin(); it != runners_.end();) {
    if (all || *it->done) {
      it->thread.join();
      it = runners_.erase(it);
    } else {
      ++it;
    }
  }
}

void CMplayerEngine::RunnerMain() {
  EntryFunction entry = nullptr;
  {
    std::lock_guard lock(libraryMutex_);
    entry_ = nullptr;
    abort_ = nullptr;
    library_.Free();
    if (library_.Load(WithSlash(folder_) + kLibraryName)) {
      entry_ = reinterpret_cast<EntryFunction>(library_.Symbol("mplayer"));
      abort_ = reinterpret_cast<AbortFunction>(library_.Symbol("mplayer_abort"));
    }
    entry = entry_;
  }
  if (entry) {
    std::vector<char*> argv;
    argv.reserve(arguments_.size());
    for (std::string& a : arguments_) argv.push_back(a.data());
    if (const platform::WindowHandle log = logWindow_) {
      std::string joined;
      for (const std::string& a : arguments_) joined += a + " ";
      platform::SendMessage(log, logMessage_, reinterpret_cast<std::uintptr_t>(joined.c_str()), 0, nullptr, &gate_);
    }
    entry(static_cast<int>(argv.size()), argv.data(), outputWrite_);
  }
  runReading_ = false;

  // The report reads what the reader learned: let it finish this run's output
  // first (bounded, it may be held up by a busy owner). The run has ended, so
  // its output is all in the pipe; it is handled when the pipe is empty and
  // the reader holds nothing. Nothing in the output itself says so: a
  // medium's text could. The line end finishes a line the run left open.
  if (platform::WritePipe(outputWrite_, "\n", 1)) {
    const std::uint64_t deadline = platform::TickCountMs() + kReaderCatchUpMs;
    while ((platform::BytesWaiting(outputRead_) > 0 || readerHandling_) && platform::TickCountMs() < deadline) {
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
  }

  bool handOver = false;
  {
    std::lock_guard lock(runMutex_);
    handOver = startQueued_;
    endDecided_ = true;
    endHandedOver_ = handOver;
  }
  if (!handOver) {
    // End-of-run report. A run that ended within 2 s of its length ended by
    // itself; anything else that was not stopped ended early.
    if (quitSent_ || static_cast<long long>(media_.length) - media_.lastPosition < 2)
      media_.state = ENGINE_STATE_STOPPED;
    if (media_.state.exchange(ENGINE_STATE_STOPPED) != ENGINE_STATE_STOPPED) Notify(msgState_, ENGINE_STATE_ABORTED, 0);
    Notify(msgState_, ENGINE_STATE_STOPPED, 0);
    platform::PostMessage(owner_, msgFinished_, ENGINE_STATE_STOPPED, 0);
  }
  runIdleEvent_.Set();
  // The owner has already been told about the run that waited for this one.
  if (handOver) platform::PostMessage(queueHandle_, kStartQueuedMessage, 0, 0);
}

void CMplayerEngine::ReaderMain() {
  std::array<char, kReadSize + 1> buffer;
  LineSplitter splitter;
  auto handle = [this](const char* line, std::size_t length) { HandleOutputLine(line, length, media_, *this); };
  for (;;) {
    // Marked before the read takes bytes out of the pipe: output is always
    // either in the pipe or held here while the runner waits for it.
    if (!platform::WaitReadable(outputRead_)) break;
    readerHandling_ = true;
    const long n = platform::ReadPipe(outputRead_, buffer.data(), kReadSize);
    if (n <= 0) break;
    splitter.Feed(buffer.data(), static_cast<std::size_t>(n), handle);
    readerHandling_ = false;
  }
  readerHandling_ = false;
  splitter.Finish(handle);
}

void CMplayerEngine::OnLength(int length, int resumePosition) {
  Notify(msgLength_, static_cast<std::uintptr_t>(length), resumePosition);
}

void CMplayerEngine::OnPosition(int position, int length) {
  Notify(msgPosition_, static_cast<std::uintptr_t>(position), length);
}

void CMplayerEngine::OnPlaybackStarted() {
  Notify(msgState_, ENGINE_STATE_PLAYING, 0);
  Notify(msgStarted_, 0, 0);
}

void CMplayerEngine::OnFailure(const char* line) { Notify(WM_ENGINE_ERROR, reinterpret_cast<std::uintptr_t>(line), 0); }

void CMplayerEngine::OnLogLine(const char* line) {
  if (const platform::WindowHandle log = logWindow_)
    platform::SendMessage(log, logMessage_, reinterpret_cast<std::uintptr_t>(line), 0, nullptr, &gate_);
}
