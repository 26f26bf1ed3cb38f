// Kinovue as a user meets it: the built program under Xvfb with the real
// MPlayer, driven with xdotool.
#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <chrono>
#include <iostream>
#include <set>
#include <thread>

#include "association/file_association.h"
#include "association/media_extensions.h"
#include "core_app.h"
#include "loopback_server.h"
#include "session_bus.h"
#include "temp_dir.h"
#include "test_media.h"
#include "xvfb.h"

using testsupport::RunWithDisplay;

namespace {

class Player : public ::testing::Test {
 protected:
  void SetUp() override {
    testsupport::CoreApp();
    ASSERT_TRUE(x.Running()) << "Xvfb did not start";
    // A program folder of its own, so its dat/ folder is this test's.
    ASSERT_TRUE(testsupport::CopyProgramInto(folder.Path()));
    QDir().mkpath(QString::fromStdString(runtime.Path()));
    // A desktop of its own where every media type is Kinovue's already, so
    // the start-up check asks nothing.
    AssociationPlaces places;
    places.configHome = ConfigHome();
    places.executablePath = folder.File("kinovue");
    FileAssociation assoc(places);
    for (const MediaExtension& e : kMediaExtensionTable) assoc.Associate(e.extension, e.type);
  }
  std::string ConfigHome() const { return xdgHome.File("config"); }
  void TearDown() override {
    for (auto& p : players) {
      if (p->state() != QProcess::NotRunning) {
        p->kill();
        p->waitForFinished(3000);
      }
    }
  }

  QProcess* Start(const QStringList& args, const std::string& workingFolder = {}) {
    auto process = std::make_unique<QProcess>();
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("DISPLAY", QString::fromStdString(x.Display()));
    env.insert("XDG_RUNTIME_DIR", QString::fromStdString(runtime.Path()));
    env.insert("XDG_CONFIG_HOME", QString::fromStdString(ConfigHome()));
    env.insert("XDG_DATA_HOME", QString::fromStdString(xdgHome.File("data")));
    env.insert("KINOVUE_STATS_SERVER", statsServer);
    env.insert("KINOVUE_UPDATE_SERVER", "127.0.0.1:1");  // nobody listens
    env.remove("QT_QPA_PLATFORM");
    process->setProcessEnvironment(env);
    process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    if (!workingFolder.empty()) process->setWorkingDirectory(QString::fromStdString(workingFolder));
    process->start(QString::fromStdString(folder.File("kinovue")), args);
    process->waitForStarted(5000);
    players.push_back(std::move(process));
    return players.back().get();
  }

  std::string Sh(const std::string& command, int timeoutMs = 10000) {
    return RunWithDisplay(x.Display(), command, timeoutMs);
  }
  std::string FindWindow() { return Sh("xdotool search --onlyvisible --name '^Kinovue' 2>/dev/null | head -n 1"); }
  std::string Title(const std::string& window) { return Sh("xdotool getwindowname " + window); }
  // Polls the title until it equals want; returns the last title seen.
  std::string WaitTitle(const std::string& window, const std::string& want, int timeoutMs = 20000) {
    std::string title;
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (std::chrono::steady_clock::now() < end) {
      title = Title(window);
      if (title == want) break;
      std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return title;
  }
  std::string WaitWindow(int timeoutMs = 15000) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    std::string window;
    while (window.empty() && std::chrono::steady_clock::now() < end) {
      window = FindWindow();
      if (window.empty()) std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    if (window.empty()) std::cerr << "no window; the X server: " << x.Health() << "\n";
    return window;
  }
  // Presses key until the title reads want (a key sent before the window
  // holds the focus is lost on a busy machine); returns the last title.
  std::string PressUntilTitle(const std::string& window, const std::string& key, const std::string& want) {
    std::string title;
    for (int attempt = 0; attempt < 3 && title != want; ++attempt) {
      Key(window, key);
      title = WaitTitle(window, want, 3000);
    }
    return title;
  }
  void Key(const std::string& window, const std::string& key) {
    Sh("xdotool windowfocus --sync " + window + " key --clearmodifiers " + key);
  }
  // MPlayer processes playing the named file (the bracket keeps the shell
  // that asks from matching itself).
  int EnginesPlaying(const std::string& file) {
    return std::stoi("0" + Sh("pgrep -c -f -- 'mplayer.*[" + file.substr(0, 1) + "]" + file.substr(1) + "' || true"));
  }

  testsupport::Xvfb x;
  testsupport::TempDir folder;
  testsupport::TempDir runtime;
  testsupport::TempDir xdgHome;
  QString statsServer = "127.0.0.1:9";
  std::vector<std::unique_ptr<QProcess>> players;
};

std::string BaseName(const std::string& path) { return path.substr(path.rfind('/') + 1); }

TEST_F(Player, PlaysPausesResumesAndClosesCleanly) {
  // A name of this test's own: other tests play the shared clip meanwhile.
  const std::string clip = folder.File("own-clip.avi");
  ASSERT_FALSE(testsupport::LongVideoClip().empty());
  ASSERT_EQ(symlink(testsupport::LongVideoClip().c_str(), clip.c_str()), 0);
  QProcess* player = Start({QString::fromStdString(clip)});
  const std::string window = WaitWindow();
  ASSERT_FALSE(window.empty()) << "no main window";
  const std::string playing = "Kinovue  正在播放: " + BaseName(clip);
  ASSERT_EQ(WaitTitle(window, playing), playing);
  const std::string paused = "Kinovue  暂停: " + BaseName(clip);
  EXPECT_EQ(PressUntilTitle(window, "space", paused), paused);
  EXPECT_EQ(PressUntilTitle(window, "space", playing), playing);
  Key(window, "Right");
  EXPECT_EQ(Title(window), playing);

  const auto start = std::chrono::steady_clock::now();
  Key(window, "alt+x");
  ASSERT_TRUE(player->waitForFinished(5000)) << "the program did not end";
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(2500));
  EXPECT_EQ(EnginesPlaying(clip), 0) << "an MPlayer process was left behind";

  const std::string ini = testsupport::ReadFileBytes(folder.File("dat/kinovue.ini"));
  for (const char* key : {"LastOpen=", "VideoMutiple=", "Topmost=", "LockFaceProportion=", "PlayListRandom=",
                          "RepeatCurrent=", "PlayListLoop=", "PlayListForward=", "AutoPlayFromList=",
                          "PlayFromList=", "CheckFileAssociate=", "AutoUpdate=", "RunningHandle=", "PlayCache=",
                          "Volume=", "Mute=", "OSDLevel=", "AudioDev=", "AudioOut=", "AudioID=", "SubID=",
                          "Postproc=", "Deinterlace=", "Aspect=", "ReIndex=", "SoftVol=", "PriorityBoost=",
                          "Params="})
    EXPECT_NE(ini.find(std::string("\n") + key), std::string::npos) << key;
  EXPECT_NE(ini.find("[history_list]"), std::string::npos);
  EXPECT_NE(ini.find(clip), std::string::npos);
}

// A polite stop (a logout's SIGTERM, a closed terminal's SIGHUP) quits as
// Exit does, within 2 s; SIGKILL gives no chance to act. Either way no engine
// process is left a second later, MPlayer's cache process included, and
// after a polite stop the settings, the playlist and where the film was left
// are all on disk.
TEST_F(Player, SignalsLeaveNoEngineProcessAndPoliteOnesKeepEverything) {
  const std::string film = testsupport::FilmClip();
  ASSERT_FALSE(film.empty());
  testsupport::TempDir media;
  testsupport::LoopbackServer server(testsupport::LoopbackServer::Files(media.Path()));
  // Where the film is, asked of the program on a bus of its own.
  testsupport::SessionBus bus(media.Path());
  ASSERT_FALSE(bus.Address().empty());
  qputenv("DBUS_SESSION_BUS_ADDRESS", QByteArray::fromStdString(bus.Address()));
  QDir().mkpath(QString::fromStdString(folder.File("dat")));
  const std::string playlist = "/m/one.avi\r\n/m/two.avi\r\n";
  const struct {
    int signal;
    bool stream;
  } rows[] = {{SIGTERM, true}, {SIGHUP, false}, {SIGTERM, false}, {SIGKILL, true}, {SIGKILL, false}};
  for (const auto& row : rows) {
    const bool polite = row.signal != SIGKILL;
    const std::string name = "sig" + std::to_string(row.signal) + (row.stream ? "-stream-" : "-file-") +
                             std::to_string(getpid()) + ".avi";
    SCOPED_TRACE(name);
    ASSERT_EQ(symlink(film.c_str(), media.File(name).c_str()), 0);
    const std::string medium =
        row.stream ? "http://127.0.0.1:" + std::to_string(server.Port()) + "/" + name : media.File(name);
    // The cache for a local file too, through the extra engine parameters.
    ASSERT_TRUE(testsupport::WriteFileBytes(folder.File("dat/kinovue.ini"), "[mplayer]\nParams=-cache 2048\nVolume=50\n"));
    ASSERT_TRUE(testsupport::WriteFileBytes(folder.File("dat/PlayList.dat"), playlist));
    std::remove(folder.File("dat/PlayPositions.dat").c_str());
    const std::string pattern = "'[" + name.substr(0, 1) + "]" + name.substr(1) + "'";
    auto processes = [&](const std::string& extra = {}) {
      return std::stoi("0" + Sh("pgrep -c -f -- " + extra + pattern + " || true"));
    };

    QProcess* player = Start({QString::fromStdString(medium)});
    const std::string window = WaitWindow();
    ASSERT_FALSE(window.empty());
    ASSERT_TRUE(testsupport::PumpUntil([&] { return Title(window).starts_with("Kinovue  正在播放"); }, 20000));
    // What changes during the run: the volume, and where the film is.
    Key(window, "9");
    if (!row.stream) {
      Key(window, "Down");
      EXPECT_TRUE(testsupport::PumpUntil(
          [&] { return std::atof(Sh("playerctl --player=kinovue position 2>/dev/null").c_str()) >= 60; }, 10000));
    }
    const std::string ini = folder.File("dat/kinovue.ini");
    EXPECT_TRUE(testsupport::PumpUntil(
        [&] { return testsupport::ReadFileBytes(ini).find("\nVolume=49\n") != std::string::npos; }, 5000));
    const std::string settings = testsupport::ReadFileBytes(ini);
    // MPlayer and the cache process it forked.
    ASSERT_TRUE(testsupport::PumpUntil([&] { return processes("'^/usr/bin/mplayer '.*") >= 2; }, 10000))
        << processes("'^/usr/bin/mplayer '.*");

    const auto sent = std::chrono::steady_clock::now();
    ASSERT_EQ(kill(static_cast<pid_t>(player->processId()), row.signal), 0);
    ASSERT_TRUE(player->waitForFinished(5000));
    if (polite) {
      EXPECT_LT(std::chrono::steady_clock::now() - sent, std::chrono::milliseconds(2000));
      EXPECT_EQ(player->exitStatus(), QProcess::NormalExit) << "ended by the grace time, not in order";
      EXPECT_EQ(player->exitCode(), 128 + row.signal);
    }
    // A second later nothing of the run is left.
    const auto end = sent + std::chrono::seconds(1);
    while (processes() > 0 && std::chrono::steady_clock::now() < end)
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_EQ(processes(), 0) << "an engine process outlived the program";
    Sh("pkill -KILL -f -- " + pattern + " || true");
    if (!polite) continue;
    const std::string after = testsupport::ReadFileBytes(ini);
    for (std::size_t at = 0, end = 0; at < settings.size(); at = end + 1) {
      end = settings.find('\n', at);
      const std::string line = settings.substr(at, end - at);
      EXPECT_NE(after.find(line), std::string::npos) << "lost: " << line;
    }
    EXPECT_EQ(testsupport::ReadFileBytes(folder.File("dat/PlayList.dat")), playlist);
    if (!row.stream) {
      const std::string positions = testsupport::ReadFileBytes(folder.File("dat/PlayPositions.dat"));
      EXPECT_NE(positions.find(" " + media.File(name) + "\n"), std::string::npos) << positions;
    }
  }
  qunsetenv("DBUS_SESSION_BUS_ADDRESS");
}

TEST_F(Player, ASecondInstanceHandsItsFileToTheFirst) {
  const std::string first = testsupport::LongVideoClip();
  const std::string second = testsupport::VideoClip();
  ASSERT_FALSE(first.empty());
  ASSERT_FALSE(second.empty());
  Start({QString::fromStdString(first)});
  const std::string window = WaitWindow();
  ASSERT_FALSE(window.empty());
  ASSERT_EQ(WaitTitle(window, "Kinovue  正在播放: " + BaseName(first)), "Kinovue  正在播放: " + BaseName(first));
  QProcess* other = Start({QString::fromStdString("\"" + second + "\"")});
  ASSERT_TRUE(other->waitForFinished(8000)) << "the second instance did not exit";
  EXPECT_EQ(other->exitCode(), 0);
  const std::string want = "Kinovue  正在播放: " + BaseName(second);
  EXPECT_EQ(WaitTitle(window, want), want);
}

// kinovue a.avi b.avi, as a shell expands *.avi, in a running Kinovue: a
// plays, and b follows from the playlist when a (3 s) has ended.
TEST_F(Player, ASecondInstanceWithSeveralFilesPlaysTheFirstAndQueuesAll) {
  const std::string running = testsupport::LongVideoClip();
  const std::string shortClip = testsupport::VideoClip();
  ASSERT_FALSE(running.empty());
  ASSERT_FALSE(shortClip.empty());
  testsupport::TempDir clips;
  ASSERT_TRUE(QFile::link(QString::fromStdString(shortClip), QString::fromStdString(clips.File("a.avi"))));
  ASSERT_TRUE(QFile::link(QString::fromStdString(running), QString::fromStdString(clips.File("b.avi"))));
  Start({QString::fromStdString(running)});
  const std::string window = WaitWindow();
  ASSERT_FALSE(window.empty());
  ASSERT_EQ(WaitTitle(window, "Kinovue  正在播放: " + BaseName(running)), "Kinovue  正在播放: " + BaseName(running));
  QProcess* other = Start({"a.avi", "b.avi"}, clips.Path());
  ASSERT_TRUE(other->waitForFinished(8000)) << "the second instance did not exit";
  EXPECT_EQ(other->exitCode(), 0);
  EXPECT_EQ(WaitTitle(window, "Kinovue  正在播放: a.avi"), "Kinovue  正在播放: a.avi");
  EXPECT_EQ(WaitTitle(window, "Kinovue  正在播放: b.avi"), "Kinovue  正在播放: b.avi");
}

TEST_F(Player, AFirstStartAsksAboutFileTypesBeforeTheWindowAndEscLeavesThemAlone) {
  QDir(QString::fromStdString(ConfigHome())).removeRecursively();
  const std::string clip = testsupport::VideoClip();
  ASSERT_FALSE(clip.empty());
  Start({QString::fromStdString(clip)});
  std::string dialog;
  for (int i = 0; i < 150 && dialog.empty(); ++i) {
    dialog = Sh("xdotool search --onlyvisible --name '^文件关联$' 2>/dev/null | head -n 1");
    if (dialog.empty()) std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
  ASSERT_FALSE(dialog.empty()) << "no file association dialog";
  EXPECT_TRUE(FindWindow().empty()) << "the main window came before the check";
  for (int attempt = 0; attempt < 3 && !Sh("xdotool search --onlyvisible --name '^文件关联$' 2>/dev/null").empty(); ++attempt) {
    Key(dialog, "Escape");
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
  }
  const std::string window = WaitWindow();
  ASSERT_FALSE(window.empty()) << "no main window after the dialog closed";
  const std::string want = "Kinovue  正在播放: " + BaseName(clip);
  EXPECT_EQ(WaitTitle(window, want), want);
  FileAssociation assoc(platform::Registry::ClassesPath(ConfigHome()), "");
  EXPECT_FALSE(assoc.IsAssociated(".avi", 0));
  EXPECT_TRUE(platform::Registry(platform::Registry::ClassesPath(ConfigHome())).KeyExists("kinovue_0\\shell"));
}

TEST_F(Player, ABurstOfSecondInstancesEndsOnTheLastFileAnswered) {
  const std::string clip = testsupport::LongVideoClip();
  ASSERT_FALSE(clip.empty());
  testsupport::TempDir clips;
  constexpr int kSenders = 50;
  auto name = [](int i) { return "burst" + std::to_string(i) + ".avi"; };
  for (int i = 0; i < kSenders; ++i)
    ASSERT_TRUE(QFile::link(QString::fromStdString(clip), QString::fromStdString(clips.File(name(i)))));
  Start({QString::fromStdString(clip)});
  const std::string window = WaitWindow();
  ASSERT_FALSE(window.empty());
  ASSERT_EQ(WaitTitle(window, "Kinovue  正在播放: " + BaseName(clip)), "Kinovue  正在播放: " + BaseName(clip));

  // All at once, each naming its file relative to its own working folder.
  std::vector<QProcess*> senders;
  for (int i = 0; i < kSenders; ++i) senders.push_back(Start({QString::fromStdString(name(i))}, clips.Path()));
  std::set<std::string> answered;
  for (int i = 0; i < kSenders; ++i) {
    ASSERT_TRUE(senders[i]->waitForFinished(60000)) << "sender " << i << " did not end";
    EXPECT_EQ(senders[i]->exitStatus(), QProcess::NormalExit) << "sender " << i;
    if (senders[i]->exitCode() == 0) answered.insert(clips.File(name(i)));
    else EXPECT_EQ(senders[i]->exitCode(), 1) << "sender " << i;
  }
  ASSERT_FALSE(answered.empty());
  // Each hand-over is remembered as it is handled and answered, so the file
  // remembered last is the last one answered.
  const std::string ini = testsupport::ReadFileBytes(folder.File("dat/kinovue.ini"));
  const std::size_t at = ini.find("\nLastOpen=");
  ASSERT_NE(at, std::string::npos);
  const std::string last = ini.substr(at + 10, ini.find('\n', at + 1) - at - 10);
  EXPECT_EQ(answered.count(last), 1u) << last;
  const std::string want = "Kinovue  正在播放: " + BaseName(last);
  EXPECT_EQ(WaitTitle(window, want), want);
  std::this_thread::sleep_for(std::chrono::milliseconds(1000));
  const std::string title = Title(window);
  EXPECT_EQ(title.substr(title.rfind(": ") + 2), BaseName(last)) << "another file took its place";
  std::cout << "[ burst    ] " << answered.size() << " of " << kSenders << " senders answered\n";
}

TEST_F(Player, InstallModeSendsThePingAndOpensNoWindow) {
  testsupport::LoopbackServer server;
  statsServer = "127.0.0.1:" + QString::number(server.Port());
  QProcess* player = Start({"-install"});
  ASSERT_TRUE(testsupport::PumpUntil([&] { return player->state() == QProcess::NotRunning; }, 15000));
  EXPECT_TRUE(server.Request().starts_with("GET /statistics.php?name=kinovue&ver=1.0.1008&act=install HTTP/1.1\r\n"))
      << server.Request();
  EXPECT_TRUE(FindWindow().empty());
}

// Qt's network library is for pings and updates only: a start that plays a
// file without checking for updates never maps it.
TEST_F(Player, WithoutAnUpdateCheckAPlayingStartMapsNoNetworkLibrary) {
  QDir().mkpath(QString::fromStdString(folder.File("dat")));
  ASSERT_TRUE(testsupport::WriteFileBytes(folder.File("dat/kinovue.ini"), "[kinovue]\nAutoUpdate=0\n"));
  const std::string clip = testsupport::VideoClip();
  ASSERT_FALSE(clip.empty());
  QProcess* player = Start({QString::fromStdString(clip)});
  const std::string window = WaitWindow();
  ASSERT_FALSE(window.empty()) << "no main window";
  const std::string playing = "Kinovue  正在播放: " + BaseName(clip);
  ASSERT_EQ(WaitTitle(window, playing), playing);
  const std::string maps = testsupport::ReadFileBytes("/proc/" + std::to_string(player->processId()) + "/maps");
  ASSERT_NE(maps.find("libmplayer.so"), std::string::npos) << "not the playing program's map";
  EXPECT_EQ(maps.find("libQt6Network"), std::string::npos);
  EXPECT_EQ(maps.find("libkinovue_net.so"), std::string::npos);
}

}  // namespace

namespace {

struct Geometry {
  int x = 0, y = 0, width = 0, height = 0;
  bool operator==(const Geometry&) const = default;
};

class PlayerWindow : public Player {
 protected:
  // Position and size of a window, from xwininfo (absolute coordinates).
  Geometry WindowGeometry(const std::string& window) {
    const std::string info = Sh("xwininfo -id " + window);
    auto field = [&](const std::string& name) {
      const std::size_t at = info.find(name);
      return at == std::string::npos ? -1 : std::atoi(info.c_str() + at + name.size());
    };
    return {field("Absolute upper-left X:"), field("Absolute upper-left Y:"), field("Width:"), field("Height:")};
  }
  // The picture window: the one the engine was given with "-wid".
  std::string PictureWindow(const std::string& clip) {
    return Sh("pgrep -a mplayer | grep -F -- '" + clip + "' | sed -E 's/.*-wid ([0-9]+).*/\\1/' | head -n 1");
  }
  // The colour of one screen pixel as "r,g,b" (0..255).
  std::string Pixel(int x, int y) {
    return Sh("import -silent -window root -crop 1x1+" + std::to_string(x) + "+" + std::to_string(y) +
              " -depth 8 txt:- | tail -n 1 | sed -E 's/.*\\(([0-9]+),([0-9]+),([0-9]+).*/\\1,\\2,\\3/'");
  }
  bool Bright(const std::string& rgb) {
    int r = 0, g = 0, b = 0;
    return std::sscanf(rgb.c_str(), "%d,%d,%d", &r, &g, &b) == 3 && r + g + b > 200;
  }
};

TEST_F(PlayerWindow, DoubleSizeShowsThePictureAndFullScreenRestoresTheWindow) {
  const std::string clip = testsupport::LongVideoClip();
  ASSERT_FALSE(clip.empty());
  Start({QString::fromStdString(clip)});
  const std::string window = WaitWindow();
  ASSERT_FALSE(window.empty());
  const std::string playing = "Kinovue  正在播放: " + BaseName(clip);
  ASSERT_EQ(WaitTitle(window, playing), playing);
  // Double size of 640 x 480: 1280 x 960 and the window around it would
  // not fit the 1280 x 1024 screen, so the window takes what the screen has.
  Key(window, "ctrl+t");
  std::this_thread::sleep_for(std::chrono::milliseconds(800));
  const std::string picture = PictureWindow(clip);
  ASSERT_FALSE(picture.empty());
  const Geometry shown = WindowGeometry(picture);
  const Geometry outer = WindowGeometry(window);
  EXPECT_GE(shown.height, 900) << shown.width << "x" << shown.height;
  EXPECT_LE(shown.height, 960);
  EXPECT_GE(shown.width, 1150);
  EXPECT_GE(outer.y, 0);
  EXPECT_LE(outer.y + outer.height, 1024) << outer.y << " " << outer.height;
  // The engine really draws there: the test picture's colours, not the dark background.
  int bright = 0;
  for (int i = 1; i <= 4; ++i)
    bright += Bright(Pixel(shown.x + shown.width * i / 5, shown.y + shown.height / 3));
  EXPECT_GE(bright, 3);

  Key(window, "ctrl+r");
  std::this_thread::sleep_for(std::chrono::milliseconds(500));
  const Geometry before = WindowGeometry(window);
  Key(window, "ctrl+f");
  std::this_thread::sleep_for(std::chrono::milliseconds(800));
  const Geometry full = WindowGeometry(window);
  EXPECT_EQ(full.x, 0);
  EXPECT_EQ(full.y, 0);
  EXPECT_EQ(full.width, 1280);
  EXPECT_EQ(full.height, 1024);
  Key(window, "Escape");
  std::this_thread::sleep_for(std::chrono::milliseconds(800));
  EXPECT_EQ(WindowGeometry(window), before);
  EXPECT_EQ(Title(window), playing);  // Esc left full screen and closed nothing
}

TEST_F(PlayerWindow, SoundOnlyCollapsesToTheStripAndAddressDialogOpensATypedPath) {
  const std::string tone = testsupport::SoundClip();
  const std::string clip = testsupport::LongVideoClip();
  ASSERT_FALSE(tone.empty());
  Start({});
  const std::string window = WaitWindow();
  ASSERT_FALSE(window.empty());
  const int fullHeight = WindowGeometry(window).height;
  Key(window, "ctrl+u");
  std::this_thread::sleep_for(std::chrono::milliseconds(500));
  Sh("xdotool type --delay 2 '" + tone + "'; xdotool key Return");
  const std::string playing = "Kinovue  正在播放: " + BaseName(tone);
  ASSERT_EQ(WaitTitle(window, playing), playing);
  std::this_thread::sleep_for(std::chrono::milliseconds(500));
  const int stripHeight = WindowGeometry(window).height;
  EXPECT_LT(stripHeight, fullHeight / 2) << "the window did not collapse to the strip";
  Key(window, "ctrl+u");
  std::this_thread::sleep_for(std::chrono::milliseconds(500));
  Sh("xdotool type --delay 2 '" + clip + "'; xdotool key Return");
  const std::string video = "Kinovue  正在播放: " + BaseName(clip);
  ASSERT_EQ(WaitTitle(window, video), video);
  std::this_thread::sleep_for(std::chrono::milliseconds(500));
  EXPECT_GE(WindowGeometry(window).height, fullHeight) << "a video did not grow the window back";
}

}  // namespace
