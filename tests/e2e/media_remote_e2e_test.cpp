// The desktop's media controls as a desktop uses them: playerctl on a
// private session bus drives the main window under Xvfb with the real
// MPlayer. The window runs in this process so that the test can give it a
// playlist (a drop, otherwise).
#include <gtest/gtest.h>

#include <QFile>

#include "core_app.h"
#include "mainwindow/command_ids.h"
#include "mainwindow/kinovue_dlg.h"
#include "platform/optical_drives.h"
#include "run_command.h"
#include "session_bus.h"
#include "temp_dir.h"
#include "test_media.h"
#include "test_window.h"
#include "widget_app.h"

namespace {

std::string BaseName(const std::string& path) { return path.substr(path.rfind('/') + 1); }

// playerctl against the player, with the event loop running meanwhile (the
// window answers it from this thread); its output, trimmed. Started without
// QProcess, which would hide this thread's locking from the race checker.
std::string Ctl(const QStringList& arguments) {
  std::vector<std::string> argv{"playerctl", "--player=kinovue"};
  for (const QString& argument : arguments) argv.push_back(argument.toStdString());
  testsupport::RunningCommand ctl(argv);
  testsupport::PumpUntil([&] { return !ctl.Running(); }, 8000);
  ctl.Kill();
  return QString::fromStdString(ctl.Output()).trimmed().toStdString();
}

// Asks until the answer is want (or time is up); returns the last answer.
std::string CtlUntil(const QStringList& arguments, const std::string& want, int timeoutMs = 15000) {
  std::string answer;
  testsupport::PumpUntil([&] { return (answer = Ctl(arguments)) == want; }, timeoutMs);
  return answer;
}

// A property of the player's object through gdbus (playerctl has no
// command for the rate or full screen): Get gives "(<value>,)".
std::string Property(const char* interface, const char* name, const char* setTo = nullptr) {
  std::vector<std::string> argv{"gdbus", "call", "--session", "--dest", "org.mpris.MediaPlayer2.kinovue",
                                "--object-path", "/org/mpris/MediaPlayer2", "--method",
                                setTo ? "org.freedesktop.DBus.Properties.Set" : "org.freedesktop.DBus.Properties.Get",
                                interface, name};
  if (setTo) argv.push_back(setTo);
  testsupport::RunningCommand call(argv);
  testsupport::PumpUntil([&] { return !call.Running(); }, 8000);
  call.Kill();
  return QString::fromStdString(call.Output()).trimmed().toStdString();
}

double Seconds(const std::string& text) { return text.empty() ? -1.0 : std::atof(text.c_str()); }

TEST(MediaRemote, PlayerctlSeesAndDrivesPlaybackThroughTheWindow) {
  const std::string longClip = testsupport::LongVideoClip();
  const std::string shortClip = testsupport::VideoClip();
  ASSERT_FALSE(longClip.empty());
  ASSERT_FALSE(shortClip.empty());
  testsupport::TempDir folder;
  testsupport::SessionBus bus(folder.Path());
  ASSERT_FALSE(bus.Address().empty()) << "dbus-daemon did not start";
  ASSERT_TRUE(QFile::copy(QString::fromStdString(testsupport::ProgramFolder() + "libmplayer.so"),
                          QString::fromStdString(folder.File("libmplayer.so"))));
  qputenv("DBUS_SESSION_BUS_ADDRESS", QByteArray::fromStdString(bus.Address()));
  ASSERT_NE(testsupport::WidgetAppOnXvfb(), nullptr) << "Xvfb did not start";

  KinovueOptions options = testsupport::TestWindowOptions(folder);
  testsupport::UseRealEngine(options);
  options.drives = platform::MakeOpticalDrives();
  auto window = std::make_unique<CKinovueDlg>(std::move(options));
  ASSERT_TRUE(window->OnInitDialog());
  window->show();
  window->PlayList()->Add(shortClip);
  window->PlayList()->Add(longClip);
  ASSERT_EQ(CtlUntil({"status"}, "Stopped"), "Stopped") << "not published";

  Ctl({"open", "file://" + QString::fromStdString(longClip)});
  EXPECT_EQ(CtlUntil({"status"}, "Playing"), "Playing");
  const std::string want = BaseName(longClip) + "|25000000";
  EXPECT_EQ(CtlUntil({"metadata", "--format", "{{xesam:title}}|{{mpris:length}}"}, want), want);

  // The change to Paused arrives as a signal to a client that only listens.
  testsupport::RunningCommand follower({"playerctl", "--player=kinovue", "--follow", "status"});
  const auto followed = [&](const char* status) { return follower.Output().find(status) != std::string::npos; };
  testsupport::PumpUntil([&] { return followed("Playing"); }, 5000);
  Ctl({"play-pause"});
  testsupport::PumpUntil([&] { return followed("Paused"); }, 5000);
  follower.Kill();
  EXPECT_TRUE(followed("Paused")) << follower.Output();
  EXPECT_EQ(window->Engine()->GetState(), ENGINE_STATE_PAUSED);
  EXPECT_EQ(CtlUntil({"status"}, "Paused"), "Paused");
  Ctl({"play-pause"});
  EXPECT_EQ(CtlUntil({"status"}, "Playing"), "Playing");

  // An absolute position, then a step from there.
  Ctl({"position", "12"});
  std::string position;
  testsupport::PumpUntil([&] { return Seconds(position = Ctl({"position"})) >= 12.0; }, 10000);
  EXPECT_GE(Seconds(position), 12.0);
  Ctl({"position", "5+"});
  testsupport::PumpUntil([&] { return Seconds(position = Ctl({"position"})) >= 17.0; }, 10000);
  EXPECT_GE(Seconds(position), 17.0);
  EXPECT_LT(Seconds(position), 24.0);

  Ctl({"volume", "0.3"});
  EXPECT_EQ(CtlUntil({"volume"}, "0.300000"), "0.300000");
  EngineInfo info;
  EXPECT_EQ(window->Engine()->GetInfo(&info)->volume, 30);

  constexpr const char* kPlayer = "org.mpris.MediaPlayer2.Player";
  constexpr const char* kRoot = "org.mpris.MediaPlayer2";
  EXPECT_EQ(Property(kPlayer, "Rate"), "(<1.0>,)");
  EXPECT_EQ(Property(kPlayer, "MinimumRate"), "(<0.5>,)");
  EXPECT_EQ(Property(kPlayer, "MaximumRate"), "(<2.0>,)");
  Property(kPlayer, "Rate", "<1.5>");
  EXPECT_TRUE(testsupport::PumpUntil([&] { return window->Engine()->GetInfo(&info)->speed == 150; }, 5000));
  EXPECT_EQ(Property(kPlayer, "Rate"), "(<1.5>,)");
  Property(kPlayer, "Rate", "<3.0>");  // beyond the range offered: not taken
  EXPECT_EQ(Property(kPlayer, "Rate"), "(<1.5>,)");
  EXPECT_EQ(Property(kRoot, "CanSetFullscreen"), "(<true>,)");
  Property(kRoot, "Fullscreen", "<true>");
  EXPECT_TRUE(testsupport::PumpUntil([&] { return window->Modes().IsFullScreen(); }, 5000));
  EXPECT_EQ(Property(kRoot, "Fullscreen"), "(<true>,)");
  window->OnCommand(ID_FULL_SCREEN);  // left from the window: the bus follows
  EXPECT_EQ(Property(kRoot, "Fullscreen"), "(<false>,)");

  // Next from an item the list did not start: its first item.
  Ctl({"next"});
  const std::string next = BaseName(shortClip);
  EXPECT_EQ(CtlUntil({"metadata", "--format", "{{xesam:title}}"}, next), next);

  window->OnCancel();
  window.reset();
}

}  // namespace
