#pragma once
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// The MPlayer child of one playback run: start, wait, abort.
//
// RunEngineChild starts argv[0] (a path; no PATH search) with `argv` and the
// environment `env`; its standard input is our fd 0 and its standard output
// and error are `outputFd`. It blocks until the run has ended and its
// processes have been reaped (waits retry on EINTR, no zombie is left),
// except after an abort: a run that half a second later has still not ended
// is stuck in the kernel (uninterruptible I/O, a dead optical drive) and the
// call returns without it; a thread of the library reaps it whenever it ends.
//
// A run is a whole and never outlives the process: MPlayer and whatever it
// forks (the cache process of streams and "-cache") share a process group of
// their own, which a small supervisor process, started in between, ends with
// SIGKILL when MPlayer exits, when the run is aborted, and when the host dies,
// even by SIGKILL (the supervisor asks the kernel for a signal when its
// parent goes, PR_SET_PDEATHSIG). Linux sends that signal when the *thread*
// that started the supervisor ends, not the process; that is the calling
// thread, which stays here until the run is gone, so it cannot fire early.
//
// One run at a time: a call while another is in progress starts nothing and
// reports EBUSY.
struct EngineChildResult {
  int status = -1;     // exit code, 128 + signal number when killed, -1 when not started
  int startError = 0;  // errno when the child could not be started, else 0
};
EngineChildResult RunEngineChild(const std::vector<std::string>& argv, const std::vector<std::string>& env,
                                 int outputFd);

// Ends the run in progress at once: its supervisor kills the whole group with
// SIGKILL, from any thread. "quit" has already had its chance when the host
// gets here, and MPlayer holds nothing that outlives it (the X server drops
// its windows with the connection), so a gentler signal would only add
// delay. Also stops a run that is still being started. Does nothing when no
// run is in progress; never signals a process that is not our unreaped child.
void AbortEngineChild();

// Reads and discards whatever is waiting in fd 0, without blocking. Returns
// the number of bytes thrown away (bounded, in case a writer never stops).
std::size_t DrainStandardInput();

// Writes all of `text` to `fd`; a reader that has gone gives false instead of
// SIGPIPE.
bool WriteWithoutSigpipe(int fd, std::string_view text);
