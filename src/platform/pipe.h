#pragma once
#include <cstddef>

// Anonymous pipes between our threads and the engine library.
// Descriptors are plain ints; -1 means "none". Every function retries when
// interrupted by a signal. Writing to a pipe whose reader is gone fails with
// EPIPE instead of killing the process (SIGPIPE is ignored once a pipe exists).
namespace platform {

// Creates a pipe with both ends close-on-exec. Returns 0 or an errno value.
int CreatePipe(int& readFd, int& writeFd);

// Makes fd the process's standard input (descriptor 0). The original fd
// stays open and owned by the caller. Returns 0 or an errno value.
int ReplaceStandardInput(int fd);

// Blocks until at least one byte is there. Returns the count, 0 at end of
// file (every write end closed), -1 on error.
long ReadPipe(int fd, char* buffer, std::size_t size);

// Blocks until fd has something to read or every write end has closed.
// False on an error.
bool WaitReadable(int fd);

// The bytes written to the pipe and not read yet from its read end fd; 0 on
// an error.
std::size_t BytesWaiting(int fd);

// Writes all bytes (a pipe write of up to 4096 bytes is atomic). False when
// any byte could not be written; on a non-blocking end a full pipe gives
// false at once and, for up to 4096 bytes, writes nothing.
bool WritePipe(int fd, const char* data, std::size_t size);

// Makes writes to fd fail instead of waiting when the pipe is full. Returns 0
// or an errno value.
int SetNonBlocking(int fd);

// Reads and discards what is waiting in the pipe's read end fd, without
// blocking. Returns the number of bytes thrown away.
std::size_t DrainPipe(int fd);

// Closes fd if it is open and sets it to -1.
void ClosePipe(int& fd);

}  // namespace platform
