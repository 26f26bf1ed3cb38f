#pragma once
#include <functional>
#include <memory>
#include <string>

#include "run_command.h"
#include "temp_dir.h"
#include "xvfb.h"

// One start of the built program, as a user makes it (a file on the command
// line), on a private X server of a given size, read back from the screen.
namespace picturetest {

// A rectangle on the screen, in device pixels; width 0 when there is none.
struct Box {
  int x = 0, y = 0, width = 0, height = 0;
  bool operator==(const Box&) const = default;
};

class PictureSession {
 public:
  // scale: QT_SCALE_FACTOR for the program ("1" for none).
  PictureSession(int screenWidth, int screenHeight, const std::string& scale = "1");

  // Starts the program on clip (linked into a folder of this session's own,
  // with subtitleText beside it as the same-named .srt when not empty), with
  // the settings file's "[mplayer]" lines extra; true once the title says
  // that it plays.
  bool Start(const std::string& clip, const std::string& subtitleText, const std::string& engineSettings = "");
  // Why Start failed, for a test's message.
  const std::string& Problem() const { return problem_; }

  // Presses a key in the main window.
  void Key(const std::string& key);
  // The window the engine draws into.
  Box PictureWindow();
  // The bounding box of the white square in the picture window, once it is
  // where it was at the last look and the window passes ready (any window
  // when null); the window it was found in goes to *window. An empty box
  // when it does not settle within 15 s.
  Box SettledSquare(Box* window, const std::function<bool(const Box&)>& ready = nullptr);
  // The number of near-white pixels in the lowest third of the picture
  // window (where subtitles are drawn), waiting up to timeoutMs for at least
  // want of them; the last count seen.
  int TextPixelsInBand(int want, int timeoutMs);

 private:
  std::string Sh(const std::string& command, int timeoutMs = 10000);
  // The picture window's pixels as 8-bit grey; empty when it could not be read.
  std::string Grab(const Box& box);

  int width_, height_;
  std::string scale_;
  testsupport::Xvfb x_;
  testsupport::TempDir folder_;
  std::string clipPath_;
  std::string mainWindow_;
  std::string problem_;
  std::unique_ptr<testsupport::RunningCommand> program_;
};

}  // namespace picturetest
