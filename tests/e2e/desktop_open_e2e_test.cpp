// A clip opened from the desktop the way a file manager opens it: Kinovue
// installed into a prefix of the test's own, made the default for the clip's
// type in a private desktop home, started by `gio open`. The desktop's media
// controls must then know the clip from the start.
#include <gtest/gtest.h>

#include <signal.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "core_app.h"
#include "run_command.h"
#include "session_bus.h"
#include "temp_dir.h"
#include "test_media.h"
#include "xvfb.h"

namespace {

// Kills what is left of the program and its MPlayer (both name the clip on
// their command lines) when the test ends.
struct ProgramReaper {
  std::string clip;
  ~ProgramReaper() {
    for (int pid : testsupport::ProcessesMentioning(clip)) kill(pid, SIGKILL);
  }
};

TEST(DesktopOpen, AClipOpenedWithGioIsKnownToTheMediaControlsFromTheStart) {
  testsupport::CoreApp();
  const std::string clip = testsupport::LongVideoClip();
  ASSERT_FALSE(clip.empty()) << "no test clip";
  testsupport::TempDir work;
  const std::string prefix = work.File("prefix");
  const auto install = testsupport::RunCommand({"cmake", "--install", KINOVUE_BUILD_DIR, "--prefix", prefix}, {}, 120000);
  ASSERT_EQ(install.exitCode, 0) << install.output;
  testsupport::SkipFileTypeQuestion(prefix + "/lib/kinovue");
  const ProgramReaper reaper{work.File("clip.avi")};
  const std::string home = work.File("home");
  for (const std::string& folder : {home + "/.config", home + "/.local/share", work.File("runtime")})
    ASSERT_TRUE(std::filesystem::create_directories(folder));
  std::filesystem::permissions(work.File("runtime"), std::filesystem::perms::owner_all);
  ASSERT_EQ(symlink(clip.c_str(), work.File("clip.avi").c_str()), 0);

  testsupport::Xvfb display;
  ASSERT_TRUE(display.Running()) << display.Health();
  testsupport::SessionBus bus(work.Path());
  ASSERT_FALSE(bus.Address().empty()) << "dbus-daemon did not start";
  const char* path = std::getenv("PATH");
  const std::vector<std::string> desktop{
      "HOME=" + home, "XDG_CONFIG_HOME=" + home + "/.config", "XDG_DATA_HOME=" + home + "/.local/share",
      "XDG_DATA_DIRS=" + prefix + "/share:/usr/local/share:/usr/share", "XDG_RUNTIME_DIR=" + work.File("runtime"),
      "PATH=" + prefix + "/bin:" + (path ? path : "/usr/bin:/bin"), "DISPLAY=" + display.Display(),
      "DBUS_SESSION_BUS_ADDRESS=" + bus.Address(), "QT_QPA_PLATFORM=xcb",
      "KINOVUE_UPDATE_SERVER=127.0.0.1:1",  // no update server may be asked from a test
  };
  const auto chosen = testsupport::RunCommand({"gio", "mime", "video/x-msvideo", "kinovue.desktop"}, desktop);
  ASSERT_EQ(chosen.exitCode, 0) << "Kinovue could not be made the default: " << chosen.output;
  ASSERT_EQ(testsupport::RunCommand({"gio", "open", work.File("clip.avi")}, desktop, 20000).exitCode, 0);

  // Title and length (25 s) of the clip the program was started with.
  const auto answerUntil = [&](const std::vector<std::string>& question, const std::string& want) {
    std::string answer;
    testsupport::PumpUntil([&] {
      answer = QString::fromStdString(testsupport::RunCommand(question, desktop, 5000).output).trimmed().toStdString();
      return answer == want;
    }, 30000);
    return answer;
  };
  EXPECT_EQ(answerUntil({"playerctl", "--player=kinovue", "metadata", "--format", "{{xesam:title}}|{{mpris:length}}"},
                        "clip.avi|25000000"),
            "clip.avi|25000000");
  EXPECT_EQ(answerUntil({"playerctl", "--player=kinovue", "status"}, "Playing"), "Playing");

  // The desktop's own way to close a player: the Quit of its media controls.
  testsupport::RunCommand({"dbus-send", "--session", "--type=method_call", "--dest=org.mpris.MediaPlayer2.kinovue",
                           "/org/mpris/MediaPlayer2", "org.mpris.MediaPlayer2.Quit"},
                          desktop);
  EXPECT_TRUE(testsupport::PumpUntil([&] { return testsupport::ProcessesMentioning(reaper.clip).empty(); }, 15000))
      << "the program did not end when the desktop asked it to quit";
}

}  // namespace
