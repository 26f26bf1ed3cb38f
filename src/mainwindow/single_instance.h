#pragma once
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/message_window.h"

class IniFile;
namespace platform {
class HandOverServer;
class NamedMutex;
}  // namespace platform

// One instance at a time: the first instance holds the named lock, keeps its
// window handle under "RunningHandle" and takes the files of later instances;
// a later instance hands its files to the first and ends.
class SingleInstance {
 public:
  // Runs on the UI thread with the paths of each later instance's hand-over
  // (never none).
  using PathHandler = std::function<void(const std::vector<std::string>& paths)>;

  // settings: the settings file that keeps "RunningHandle"; it must outlive
  // this object. runtimeFolder: where the lock and the hand-over socket
  // live (the user's private runtime folder when empty).
  SingleInstance(IniFile& settings, std::string runtimeFolder);
  ~SingleInstance();
  SingleInstance(const SingleInstance&) = delete;
  SingleInstance& operator=(const SingleInstance&) = delete;

  // True when this is the first instance: the lock is held for the life of
  // this object, handle is written under "RunningHandle" and hand-overs go
  // to onPaths. False when another instance runs: paths were handed to it
  // (or there were none), and ExitCode() says how that went; what it did not
  // take is named on stderr. A running instance that ends while the paths
  // are being handed over (it was closing) leaves its place to this one,
  // which then is the first.
  bool Claim(platform::WindowHandle handle, const std::vector<std::string>& paths, PathHandler onPaths);

  // The program is closing: later instances are no longer answered, so they
  // wait for its end and run in its place instead of handing it a file that
  // would never be opened. The lock stays held until the process ends.
  void StopTakingFiles();

  // After a false Claim: 0, or 1 when the running instance did not take a
  // path, which is then not opened anywhere.
  int ExitCode() const { return exitCode_; }

 private:
  // Keeps "RunningHandle" and takes the files of later instances.
  bool TakeFiles(platform::WindowHandle handle, PathHandler onPaths);

  IniFile& settings_;
  std::string runtimeFolder_;
  std::unique_ptr<platform::NamedMutex> lock_;
  std::unique_ptr<platform::HandOverServer> handOver_;  // goes before the lock
  int exitCode_ = 0;
};
