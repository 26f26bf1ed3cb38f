// first_frame [--runs N] [--library PATH] [--program PATH] [--host-memory MB] CLIP
//
// Time from the start of a run to MPlayer's first "VO: [" line, through the
// engine library (the mplayer export, as the host calls it) and with
// /usr/bin/mplayer started directly with the very arguments the library
// would give it. Prints the median of each and their ratio; the library
// should cost no more than a few percent.
//
// Video goes to X11 when DISPLAY is set, else to the null output. --program
// runs another program in MPlayer's place both ways (through
// KINOVUE_MPLAYER for the library), e.g. one that prints "VO: [" at once, to
// see the bare cost of starting it. --host-memory makes this process as big
// as a host (written memory, which a fork must map for its copy): the
// library starts each run through a supervisor that is a fork of the host.

#include <dlfcn.h>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <future>
#include <string>
#include <thread>
#include <vector>

#include "enginelib/engine_arguments.h"
#include "enginelib/engine_binary.h"

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;
using EngineRun = int (*)(int, char**, int);

struct Pipe {
  int read = -1, write = -1;
  Pipe() {
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0) std::abort();
    read = fds[0];
    write = fds[1];
  }
  ~Pipe() {
    if (read >= 0) close(read);
    if (write >= 0) close(write);
  }
};

std::string gVoLine;  // the last "VO: [" line seen, for the report

// Milliseconds until "VO: [" arrives on fd, or -1.
double WaitForFirstFrame(int fd, Clock::time_point start) {
  std::string text;
  char buffer[4096];
  while (text.find("VO: [") == std::string::npos) {
    pollfd in{fd, POLLIN, 0};
    if (poll(&in, 1, 20000) != 1) return -1;
    const ssize_t n = read(fd, buffer, sizeof buffer);
    if (n <= 0) return -1;
    text.append(buffer, static_cast<std::size_t>(n));
  }
  const double ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
  const auto at = text.find("VO: [");
  gVoLine = text.substr(at, text.find('\n', at) - at);
  return ms;
}

// Keeps a pipe's reader busy so a child blocked on output can finish.
void DrainUntilClosed(int fd) {
  char buffer[4096];
  while (read(fd, buffer, sizeof buffer) > 0) {
  }
}

void SendQuit(int commandWrite) {
  [[maybe_unused]] auto n = write(commandWrite, "quit\n", 5);
}

double ThroughLibrary(EngineRun run, std::vector<std::string> args, int commandWrite) {
  Pipe output;
  std::vector<char*> argv;
  for (auto& arg : args) argv.push_back(arg.data());
  // Timed from the call itself: the host makes the call on a runner thread
  // it starts anyway, and a new thread may wait its turn on a loaded machine.
  std::promise<Clock::time_point> calledAt;
  std::thread call([&] {
    calledAt.set_value(Clock::now());
    run(static_cast<int>(argv.size()), argv.data(), output.write);
  });
  const double ms = WaitForFirstFrame(output.read, calledAt.get_future().get());
  SendQuit(commandWrite);
  std::thread drain([&] { DrainUntilClosed(output.read); });
  call.join();
  close(output.write);
  output.write = -1;
  drain.join();
  return ms;
}

double Directly(std::vector<std::string> args, const std::vector<std::string>& env, int commandWrite) {
  Pipe output;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, output.write, 1);
  posix_spawn_file_actions_adddup2(&actions, output.write, 2);
  std::vector<char*> argv, envp;
  for (auto& arg : args) argv.push_back(arg.data());
  argv.push_back(nullptr);
  for (auto& entry : env) envp.push_back(const_cast<char*>(entry.c_str()));
  envp.push_back(nullptr);

  const auto start = Clock::now();
  pid_t pid = -1;
  const int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), envp.data());
  posix_spawn_file_actions_destroy(&actions);
  if (spawned != 0) return -1;
  close(output.write);
  output.write = -1;
  const double ms = WaitForFirstFrame(output.read, start);
  SendQuit(commandWrite);
  DrainUntilClosed(output.read);
  int status = 0;
  while (waitpid(pid, &status, 0) == -1 && errno == EINTR) {
  }
  return ms;
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const std::size_t n = values.size();
  return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

std::string Join(const std::vector<double>& values) {
  std::string text;
  char number[32];
  for (double v : values) {
    std::snprintf(number, sizeof number, "%s%.1f", text.empty() ? "" : " ", v);
    text += number;
  }
  return text;
}

}  // namespace

int main(int argc, char** argv) {
  int runs = 7;
  std::string library = KINOVUE_ENGINE_LIBRARY;
  std::string program = "/usr/bin/mplayer";
  std::string clip;
  std::size_t hostMegabytes = 0;
  for (int i = 1; i < argc; ++i) {
    if (!std::strcmp(argv[i], "--runs") && i + 1 < argc) {
      runs = std::max(1, std::atoi(argv[++i]));
    } else if (!std::strcmp(argv[i], "--library") && i + 1 < argc) {
      library = argv[++i];
    } else if (!std::strcmp(argv[i], "--program") && i + 1 < argc) {
      program = argv[++i];
    } else if (!std::strcmp(argv[i], "--host-memory") && i + 1 < argc) {
      hostMegabytes = static_cast<std::size_t>(std::max(0, std::atoi(argv[++i])));
    } else {
      clip = argv[i];
    }
  }
  if (clip.empty()) {
    std::fprintf(stderr, "usage: first_frame [--runs N] [--library PATH] [--program PATH] [--host-memory MB] CLIP\n");
    return 2;
  }
  void* handle = dlopen(library.c_str(), RTLD_NOW);
  auto run = handle ? reinterpret_cast<EngineRun>(dlsym(handle, "mplayer")) : nullptr;
  if (!run) {
    std::fprintf(stderr, "first_frame: %s\n", dlerror());
    return 1;
  }

  // The host's vector; the direct run gets the library's translation of it.
  const std::vector<std::string> hostArgs{"kinovue.exe", "-slave", "-identify", "-colorkey", "0x101010", "-vo",
                                          "directx",     "-ao",    "dsound",    "-softvol",  "-max",     "100",
                                          clip};
  const bool display = HaveDisplay(std::getenv("DISPLAY"));
  setenv("KINOVUE_MPLAYER", program.c_str(), 1);
  const auto direct = TranslateEngineArguments(program, hostArgs, display, EngineHasEnca(program));
  const auto env = BuildEngineEnvironment(environ);

  const std::vector<char> hostMemory(hostMegabytes << 20, 1);
  Pipe commands;  // fd 0 of this process, as in the host
  dup2(commands.read, 0);

  // One of each first, so both start from a warm page cache.
  ThroughLibrary(run, hostArgs, commands.write);
  Directly(direct, env, commands.write);
  std::vector<double> viaLibrary, viaProgram;
  for (int i = 0; i < runs; ++i) {
    viaLibrary.push_back(ThroughLibrary(run, hostArgs, commands.write));
    viaProgram.push_back(Directly(direct, env, commands.write));
  }
  const auto failed = [](const std::vector<double>& v) { return std::find(v.begin(), v.end(), -1.0) != v.end(); };
  if (failed(viaLibrary) || failed(viaProgram)) {
    std::fprintf(stderr, "first_frame: a run showed no \"VO: [\" line\n");
    return 1;
  }
  const double a = Median(viaLibrary), b = Median(viaProgram);
  std::printf("video output:   %s\n", gVoLine.c_str());
  std::printf("library runs:   %s ms\n", Join(viaLibrary).c_str());
  std::printf("direct runs:    %s ms\n", Join(viaProgram).c_str());
  // Each pair ran back to back, so its ratio is less disturbed by load that
  // comes and goes on the machine.
  std::vector<double> pairRatios;
  for (std::size_t i = 0; i < viaLibrary.size(); ++i) pairRatios.push_back(viaLibrary[i] / viaProgram[i]);
  std::printf("median library %.1f ms, direct %.1f ms, ratio %.3f; median of paired ratios %.3f\n", a, b, a / b,
              Median(pairRatios));
  return 0;
}
