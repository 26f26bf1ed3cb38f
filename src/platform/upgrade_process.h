#pragma once
#include <string>

// What the upgrade helper needs from the system: a handle to a process that
// a child can inherit and wait on, and a named event between the old process
// and the helper.
namespace platform {

// A pidfd for this process that stays open across exec (its number goes on
// the helper's command line), or -1.
int OpenInheritableOwnProcessHandle();
// True when fd is an open pidfd (an inherited handle, not some other file).
bool IsProcessHandle(int fd);
// Waits until the process behind the pidfd has ended, at most timeoutMs
// (negative: no limit). True when it ended.
bool WaitProcessHandle(int fd, int timeoutMs);
void CloseHandle(int fd);

// A named event that one process waits on and another signals once: a FIFO
// in the private runtime folder. The waiter creates it; the object removes
// it when it goes away.
class NamedEventWaiter {
 public:
  // runtimeFolder empty: the user's private one.
  explicit NamedEventWaiter(const std::string& name, const std::string& runtimeFolder = {});
  ~NamedEventWaiter();
  NamedEventWaiter(const NamedEventWaiter&) = delete;
  NamedEventWaiter& operator=(const NamedEventWaiter&) = delete;

  bool IsValid() const { return fd_ >= 0; }
  // True when signalled within timeoutMs.
  bool Wait(int timeoutMs);

 private:
  std::string path_;
  int fd_ = -1;
};

// Signals the event if someone waits on it; false when nobody does.
bool SignalNamedEvent(const std::string& name, const std::string& runtimeFolder = {});

}  // namespace platform
