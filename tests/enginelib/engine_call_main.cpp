// engine_call LIBRARY ARG...: loads an engine library and makes one mplayer
// call with {"kinovue.exe", ARG...}, output on fd 1, commands from fd 0.
// A separate process, so a test can kill it the way a crash would.

#include <dlfcn.h>

#include <cstdio>
#include <vector>

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: engine_call LIBRARY ARG...\n");
    return 2;
  }
  void* library = dlopen(argv[1], RTLD_NOW);
  auto run = library ? reinterpret_cast<int (*)(int, char**, int)>(dlsym(library, "mplayer")) : nullptr;
  if (!run) {
    std::fprintf(stderr, "engine_call: %s\n", dlerror());
    return 2;
  }
  char name[] = "kinovue.exe";
  std::vector<char*> args{name};
  args.insert(args.end(), argv + 2, argv + argc);
  return run(static_cast<int>(args.size()), args.data(), 1) == 0 ? 0 : 1;
}
