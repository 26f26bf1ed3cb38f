// The two C exports of libmplayer.so, the engine library the host loads from
// the program folder. One call of mplayer() is one playback run: it runs the
// MPlayer program with the host's (translated) arguments, its standard input
// being the command pipe the host put on fd 0 and its console text going to
// outputFd (through a relay that keeps text from the medium from passing
// for the engine's own lines), and returns when MPlayer has exited.
//
// KINOVUE_MPLAYER, when set, names the program to run instead of
// /usr/bin/mplayer (a path; no PATH search).

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <unistd.h>
#include <vector>

#include "enginelib/engine_arguments.h"
#include "enginelib/engine_binary.h"
#include "enginelib/engine_output_relay.h"
#include "enginelib/engine_process.h"

extern char** environ;

namespace {

constexpr const char* kDefaultBinary = "/usr/bin/mplayer";

void Say(int outputFd, const std::string& text) { WriteWithoutSigpipe(outputFd, "kinovue engine: " + text + "\n"); }

int RunOnce(int argc, char** argv, int outputFd) {
  // With no valid output there is nowhere even to say what went wrong.
  if (fcntl(outputFd, F_GETFD) == -1) return -1;
  if (argc < 2 || argv == nullptr) {
    Say(outputFd, "no medium given");
    return -1;
  }
  std::vector<std::string> hostArgs;
  hostArgs.reserve(static_cast<std::size_t>(argc));
  for (int i = 0; i < argc; ++i) {
    if (argv[i] == nullptr) {
      Say(outputFd, "argument " + std::to_string(i) + " is missing");
      return -1;
    }
    hostArgs.emplace_back(argv[i]);
  }

  const char* custom = std::getenv("KINOVUE_MPLAYER");
  const std::string binary = custom && *custom ? custom : kDefaultBinary;
  const auto args =
      TranslateEngineArguments(binary, hostArgs, HaveDisplay(std::getenv("DISPLAY")), EngineHasEnca(binary));
  const auto env = BuildEngineEnvironment(environ);

  EngineChildResult result;
  {
    // The engine's text reaches the host only through the relay.
    const EngineOutputRelay relay(outputFd);
    if (relay.EngineFd() < 0) {
      Say(outputFd, "cannot relay the engine's output");
      return -1;
    }
    result = RunEngineChild(args, env, relay.EngineFd());
  }
  if (result.startError == EBUSY) {
    // The other run's commands are still in fd 0: leave them alone.
    Say(outputFd, "another run is still in progress");
    return -1;
  }
  if (result.startError != 0) {
    // The untranslated text: the host may run under a Chinese locale.
    const char* reason = strerrordesc_np(result.startError);
    Say(outputFd, "cannot start " + binary + ": " + (reason ? reason : "error " + std::to_string(result.startError)));
  }

  // Commands the child never read (a "quit" sent as it ended by itself) would
  // otherwise end the next run. Only now: the host writes a run's first
  // commands right after starting it.
  DrainStandardInput();
  return result.status;
}

}  // namespace

// No exception may reach the host's C caller.
extern "C" __attribute__((visibility("default"))) int mplayer(int argc, char** argv, int outputFd) {
  try {
    return RunOnce(argc, argv, outputFd);
  } catch (...) {
    return -1;
  }
}

extern "C" __attribute__((visibility("default"))) void mplayer_abort(void) {
  try {
    AbortEngineChild();
  } catch (...) {
  }
}
