#pragma once

#include <sys/types.h>

// Every run is a whole: MPlayer, and what it forks (its cache process for
// streams and "-cache"), lives in a process group of its own, and a small
// supervisor, our child, ends that group with SIGKILL when MPlayer ends, when
// the host aborts the run, and when the host dies however it dies (the
// parent-death signal reaches the supervisor even after a SIGKILL of the
// host; MPlayer's own parent-death signal does not pass to what it forks).
//
//   host (runner thread) ── supervisor ── MPlayer ── cache process
//                           own group     its own group, ended as a whole
//
// The supervisor is a fork of the host that never executes anything else:
// it runs raw system calls only (the host has other threads, whose locks the
// copy may hold), on a stack of its own, and closes the host's files. MPlayer
// is then started from it the way posix_spawn starts children: clone with
// CLONE_VM | CLONE_VFORK (the supervisor's small memory, not the host's), as
// posix_spawn cannot set the parent-death signal.

// Starts the supervisor of one run: MPlayer is path with argv and envp, its
// output on outputFd. The supervisor writes the start's errno (0: MPlayer
// runs) on reportFd. Returns the supervisor's pid, or -1 with errno.
pid_t StartEngineSupervisor(const char* path, char* const* argv, char* const* envp, int outputFd, int reportFd);
