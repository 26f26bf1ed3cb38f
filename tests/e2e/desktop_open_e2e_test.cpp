// A clip opened from the desktop the way a file manager opens it: Kinovue
// installed into a prefix of the test's own, made the default for the clip's
// type in a private desktop home, started by `gio open`. The desktop's media
// controls must then know the clip from the start.
#include <gtest/gtest.h>

#include <dirent.h>
#include <signal.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <thread>

#include "run_command.h"
#include "session_bus.h"
#include "temp_dir.h"
#include "test_media.h"
#include "xvfb.h"

namespace {

using Clock = std::chrono::steady_clock;

// The processes running the program file at exe.
std::vector<pid_t> ProcessesOf(const std::string& exe) {
  std::vector<pid_t> found;
  DIR* proc = opendir("/proc");
  if (!proc) return found;
  while (dirent* entry = readdir(proc)) {
    const pid_t pid = std::atoi(entry->d_name);
    char target[4096];
    const ssize_t n = pid > 0 ? readlink(("/proc/" + std::to_string(pid) + "/exe").c_str(), target, sizeof target) : -1;
    if (n > 0 && std::string(target, static_cast<std::size_t>(n)) == exe) found.push_back(pid);
  }
  closedir(proc);
  return found;
}

// Asks until the answer is want or the time is up; the last answer.
std::string AskUntil(const std::vector<std::string>& argv, const std::vector<std::string>& environment,
                     const std::string& want, int timeoutMs) {
  const auto until = Clock::now() + std::chrono::milliseconds(timeoutMs);
  std::string answer;
  while (Clock::now() < until) {
    answer = testsupport::RunCommand(argv, environment, 5000).output;
    while (!answer.empty() && (answer.back() == '\n' || answer.back() == ' ')) answer.pop_back();
    if (answer == want) break;
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
  }
  return answer;
}

// Kills what is left of the installed program when the test ends.
struct ProgramReaper {
  std::string exe;
  ~ProgramReaper() {
    for (pid_t pid : ProcessesOf(exe)) kill(pid, SIGKILL);
  }
};

TEST(DesktopOpen, AClipOpenedWithGioIsKnownToTheMediaControlsFromTheStart) {
  const std::string clip = testsupport::LongVideoClip();
  ASSERT_FALSE(clip.empty()) << "no test clip";
  testsupport::TempDir work;
  const std::string prefix = work.File("prefix");
  const auto install = testsupport::RunCommand({"cmake", "--install", KINOVUE_BUILD_DIR, "--prefix", prefix}, {}, 120000);
  ASSERT_EQ(install.exitCode, 0) << install.output;
  testsupport::SkipFileTypeQuestion(prefix + "/lib/kinovue");
  const ProgramReaper reaper{prefix + "/lib/kinovue/kinovue"};

  const std::string home = work.File("home");
  const std::string runtime = work.File("runtime");
  for (const std::string& folder : {home + "/.config", home + "/.local/share", runtime})
    ASSERT_TRUE(std::filesystem::create_directories(folder));
  std::filesystem::permissions(runtime, std::filesystem::perms::owner_all);
  const std::string named = work.File("clip.avi");
  ASSERT_EQ(symlink(clip.c_str(), named.c_str()), 0);

  testsupport::Xvfb display;
  ASSERT_TRUE(display.Running()) << display.Health();
  testsupport::SessionBus bus(work.Path());
  ASSERT_FALSE(bus.Address().empty()) << "dbus-daemon did not start";
  const char* path = std::getenv("PATH");
  const std::vector<std::string> desktop{
      "HOME=" + home,
      "XDG_CONFIG_HOME=" + home + "/.config",
      "XDG_DATA_HOME=" + home + "/.local/share",
      "XDG_DATA_DIRS=" + prefix + "/share:/usr/local/share:/usr/share",
      "XDG_RUNTIME_DIR=" + runtime,
      "PATH=" + prefix + "/bin:" + (path ? path : "/usr/bin:/bin"),
      "DISPLAY=" + display.Display(),
      "DBUS_SESSION_BUS_ADDRESS=" + bus.Address(),
      "QT_QPA_PLATFORM=xcb",
      // No update server may be asked from a test.
      "KINOVUE_UPDATE_SERVER=127.0.0.1:1",
  };

  const auto chosen = testsupport::RunCommand({"gio", "mime", "video/x-msvideo", "kinovue.desktop"}, desktop);
  ASSERT_EQ(chosen.exitCode, 0) << "Kinovue could not be made the default: " << chosen.output;
  ASSERT_EQ(testsupport::RunCommand({"gio", "open", named}, desktop, 20000).exitCode, 0);

  // Title and length (25 s) of the clip the program was started with.
  const std::vector<std::string> metadata{"playerctl", "--player=kinovue", "metadata", "--format",
                                          "{{xesam:title}}|{{mpris:length}}"};
  EXPECT_EQ(AskUntil(metadata, desktop, "clip.avi|25000000", 30000), "clip.avi|25000000");
  EXPECT_EQ(AskUntil({"playerctl", "--player=kinovue", "status"}, desktop, "Playing", 10000), "Playing");

  // The desktop's own way to close a player (the Quit of its media controls).
  testsupport::RunCommand({"dbus-send", "--session", "--type=method_call", "--dest=org.mpris.MediaPlayer2.kinovue",
                           "/org/mpris/MediaPlayer2", "org.mpris.MediaPlayer2.Quit"},
                          desktop);
  const auto until = Clock::now() + std::chrono::seconds(15);
  while (!reaper.exe.empty() && !ProcessesOf(reaper.exe).empty() && Clock::now() < until)
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  EXPECT_TRUE(ProcessesOf(reaper.exe).empty()) << "the program did not end when the desktop asked it to quit";
}

}  // namespace
