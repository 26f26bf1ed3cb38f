#include "picture_session.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <climits>
#include <thread>

#include "test_media.h"

namespace picturetest {
namespace {

using Clock = std::chrono::steady_clock;

void Pause() { std::this_thread::sleep_for(std::chrono::milliseconds(150)); }

}  // namespace

PictureSession::PictureSession(int screenWidth, int screenHeight, const std::string& scale)
    : width_(screenWidth), height_(screenHeight), scale_(scale), x_(screenWidth, screenHeight) {}

std::string PictureSession::Sh(const std::string& command, int timeoutMs) {
  return testsupport::RunWithDisplay(x_.Display(), command, timeoutMs);
}

bool PictureSession::Start(const std::string& clip, const std::string& subtitleText,
                           const std::string& engineSettings) {
  if (!x_.Running()) return problem_ = "Xvfb did not start", false;
  const std::string program = folder_.File("program");
  mkdir(program.c_str(), 0700);
  mkdir((program + "/dat").c_str(), 0700);
  mkdir(folder_.File("runtime").c_str(), 0700);
  if (!testsupport::CopyProgramInto(program)) return problem_ = "the program could not be copied", false;
  testsupport::WriteFileBytes(program + "/dat/kinovue.ini",
                              "[kinovue]\nCheckFileAssociate=0\nAutoUpdate=0\n[mplayer]\n" + engineSettings);
  // A name of this session's own: the engine is found by it among others.
  clipPath_ = folder_.File("picture-" + std::to_string(getpid()) + "-" + folder_.Path().substr(folder_.Path().rfind('/') + 1) + ".avi");
  if (symlink(clip.c_str(), clipPath_.c_str()) != 0) return problem_ = "no link to the clip", false;
  if (!subtitleText.empty())
    testsupport::WriteFileBytes(clipPath_.substr(0, clipPath_.size() - 4) + ".srt", subtitleText);
  program_ = std::make_unique<testsupport::RunningCommand>(
      std::vector<std::string>{program + "/kinovue", clipPath_},
      std::vector<std::string>{"DISPLAY=" + x_.Display(), "QT_QPA_PLATFORM=xcb", "QT_SCALE_FACTOR=" + scale_,
                               "XDG_RUNTIME_DIR=" + folder_.File("runtime"), "XDG_CONFIG_HOME=" + folder_.File("config"),
                               "XDG_DATA_HOME=" + folder_.File("data"), "KINOVUE_STATS_SERVER=127.0.0.1:9",
                               "KINOVUE_UPDATE_SERVER=127.0.0.1:1"});
  const std::string playing = "Kinovue  正在播放: " + clipPath_.substr(clipPath_.rfind('/') + 1);
  for (const auto end = Clock::now() + std::chrono::seconds(30); Clock::now() < end; Pause()) {
    if (mainWindow_.empty()) mainWindow_ = Sh("xdotool search --onlyvisible --name '^Kinovue' 2>/dev/null | head -n 1");
    if (!mainWindow_.empty() && Sh("xdotool getwindowname " + mainWindow_) == playing) return true;
  }
  problem_ = mainWindow_.empty() ? "no main window; the X server: " + x_.Health()
                                 : "the title never said it plays: " + Sh("xdotool getwindowname " + mainWindow_);
  return false;
}

void PictureSession::Key(const std::string& key) {
  Sh("xdotool windowfocus --sync " + mainWindow_ + " key --clearmodifiers " + key);
}

Box PictureSession::PictureWindow() {
  const std::string id =
      Sh("pgrep -a mplayer | grep -F -- '" + clipPath_ + "' | sed -E 's/.*-wid ([0-9]+).*/\\1/' | head -n 1");
  if (id.empty()) return {};
  const std::string info = Sh("xwininfo -id " + id);
  auto field = [&](const std::string& name) {
    const std::size_t at = info.find(name);
    return at == std::string::npos ? 0 : std::atoi(info.c_str() + at + name.size());
  };
  if (info.find("IsViewable") == std::string::npos) return {};
  return {field("Absolute upper-left X:"), field("Absolute upper-left Y:"), field("Width:"), field("Height:")};
}

std::string PictureSession::Grab(const Box& box) {
  // Only what lies on the screen.
  const int x = std::max(box.x, 0), y = std::max(box.y, 0);
  const int w = std::min(box.x + box.width, width_) - x, h = std::min(box.y + box.height, height_) - y;
  if (w <= 0 || h <= 0) return {};
  const std::string file = folder_.File("grab.gray");
  Sh("import -silent -window root -crop " + std::to_string(w) + "x" + std::to_string(h) + "+" + std::to_string(x) +
     "+" + std::to_string(y) + " -depth 8 gray:" + file);
  std::string grey = testsupport::ReadFileBytes(file);
  return grey.size() == static_cast<std::size_t>(w) * static_cast<std::size_t>(h) ? grey : std::string();
}

Box PictureSession::SettledSquare(Box* window, const std::function<bool(const Box&)>& ready) {
  Box last;
  for (const auto end = Clock::now() + std::chrono::seconds(15); Clock::now() < end; Pause()) {
    const Box w = PictureWindow();
    if (w.width <= 0 || (ready && !ready(w))) continue;
    const std::string grey = Grab(w);
    if (grey.empty()) continue;
    const int gw = std::min(w.x + w.width, width_) - std::max(w.x, 0);
    int left = INT_MAX, top = INT_MAX, right = -1, bottom = -1;
    for (std::size_t i = 0; i < grey.size(); ++i) {
      if (static_cast<unsigned char>(grey[i]) < 200) continue;
      const int px = static_cast<int>(i % static_cast<std::size_t>(gw)), py = static_cast<int>(i / static_cast<std::size_t>(gw));
      left = std::min(left, px), right = std::max(right, px), top = std::min(top, py), bottom = std::max(bottom, py);
    }
    if (right < 0) continue;
    const Box square{std::max(w.x, 0) + left, std::max(w.y, 0) + top, right - left + 1, bottom - top + 1};
    if (square == last && *window == w) return square;
    last = square;
    *window = w;
  }
  return {};
}

int PictureSession::TextPixelsInBand(int want, int timeoutMs) {
  int count = 0;
  for (const auto end = Clock::now() + std::chrono::milliseconds(timeoutMs); Clock::now() < end; Pause()) {
    const Box w = PictureWindow();
    if (w.height <= 0) continue;
    const Box band{w.x, w.y + w.height * 2 / 3, w.width, w.height - w.height * 2 / 3};
    const std::string grey = Grab(band);
    count = static_cast<int>(std::count_if(grey.begin(), grey.end(), [](char c) { return static_cast<unsigned char>(c) > 200; }));
    if (count >= want) break;
  }
  return count;
}

}  // namespace picturetest
