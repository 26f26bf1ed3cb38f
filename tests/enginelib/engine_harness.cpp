#include "engine_harness.h"

#include <dlfcn.h>
#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <cstdlib>

namespace enginetest {

EngineLibrary::EngineLibrary(const std::string& path) {
  handle_ = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!handle_) {
    error_ = dlerror();
    return;
  }
  run_ = reinterpret_cast<int (*)(int, char**, int)>(dlsym(handle_, "mplayer"));
  abort_ = reinterpret_cast<void (*)()>(dlsym(handle_, "mplayer_abort"));
  if (!Loaded()) error_ = path + ": export missing";
}

EngineLibrary::~EngineLibrary() {
  if (handle_) dlclose(handle_);
}

CommandPipe::CommandPipe() {
  int fds[2];
  if (pipe2(fds, O_CLOEXEC) != 0) std::abort();
  savedStdin_ = fcntl(0, F_DUPFD_CLOEXEC, 3);
  dup2(fds[0], 0);
  close(fds[0]);
  write_ = fds[1];
}

CommandPipe::~CommandPipe() {
  close(write_);
  if (savedStdin_ >= 0) {
    dup2(savedStdin_, 0);
    close(savedStdin_);
  } else {
    close(0);
  }
}

bool CommandPipe::Send(std::string_view text) {
  return write(write_, text.data(), text.size()) == static_cast<ssize_t>(text.size());
}

bool CommandPipe::HasUnread() const {
  pollfd in{0, POLLIN, 0};
  return poll(&in, 1, 0) == 1 && (in.revents & POLLIN);
}

OutputPipe::OutputPipe() {
  int fds[2];
  if (pipe2(fds, O_CLOEXEC) != 0) std::abort();
  read_ = fds[0];
  write_ = fds[1];
  reader_ = std::thread([this] { ReadLoop(); });
}

OutputPipe::~OutputPipe() {
  // A stray engine child may still hold the write end, so no waiting for EOF.
  stop_ = true;
  reader_.join();
  close(read_);
  close(write_);
}

void OutputPipe::ReadLoop() {
  char buffer[4096];
  while (!stop_) {
    pollfd in{read_, POLLIN, 0};
    if (poll(&in, 1, 20) != 1) continue;
    const ssize_t n = read(read_, buffer, sizeof buffer);
    if (n <= 0) continue;
    std::lock_guard lock(mutex_);
    text_.append(buffer, static_cast<std::size_t>(n));
    chunks_.emplace_back(buffer, static_cast<std::size_t>(n));
  }
}

std::string OutputPipe::Text() const {
  std::lock_guard lock(mutex_);
  return text_;
}

std::vector<std::string> OutputPipe::Chunks() const {
  std::lock_guard lock(mutex_);
  return chunks_;
}

bool OutputPipe::WaitFor(std::string_view needle, std::chrono::milliseconds timeout) const {
  // Polled under the lock rather than through the condition's timed wait,
  // whose hand-back of the lock the race checker does not always follow.
  const auto end = std::chrono::steady_clock::now() + timeout;
  for (;;) {
    {
      std::lock_guard lock(mutex_);
      if (text_.find(needle) != std::string::npos) return true;
    }
    if (std::chrono::steady_clock::now() >= end) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
}

EngineCall::EngineCall(const EngineLibrary& library, std::vector<std::string> args, int outputFd)
    : library_(library), args_(std::move(args)) {
  worker_ = std::thread([this, outputFd] {
    std::vector<char*> argv;
    for (auto& arg : args_) argv.push_back(arg.data());
    library_.Run(static_cast<int>(argv.size()), argv.data(), outputFd);
    std::lock_guard lock(mutex_);
    done_ = true;
    doneAt_ = Clock::now();
    doneChanged_.notify_all();
  });
}

EngineCall::~EngineCall() {
  if (!WaitDone(0ms)) library_.Abort();
  worker_.join();
}

bool EngineCall::WaitDone(std::chrono::milliseconds timeout) {
  std::unique_lock lock(mutex_);
  return doneChanged_.wait_for(lock, timeout, [&] { return done_; });
}

bool EngineCall::Done() const {
  std::lock_guard lock(mutex_);
  return done_;
}

Clock::time_point EngineCall::DoneAt() const {
  std::lock_guard lock(mutex_);
  return doneAt_;
}

std::vector<std::string> HostArgs(const std::string& medium, const std::vector<std::string>& extra) {
  std::vector<std::string> args{"kinovue.exe", "-slave", "-identify",  "-wid",     "12345",    "-colorkey",
                                "0x101010",    "-vo",    "directx",    "-ao",      "dsound",   "-priority",
                                "abovenormal", "-softvol", "-max",     "100"};
  args.insert(args.end(), extra.begin(), extra.end());
  args.push_back(medium);
  return args;
}

}  // namespace enginetest
