#include "engine/output_parser.h"

#include <algorithm>
#include <climits>
#include <iterator>
#include <cstring>

#include "engine/engine_types.h"
#include "platform/text_rules.h"

namespace {

bool StartsWith(const char* text, const char* prefix) { return std::strncmp(text, prefix, std::strlen(prefix)) == 0; }

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// value * 10 + digit, held at INT_MAX instead of overflowing.
int AppendDigit(int value, char digit) {
  const int d = digit - '0';
  if (value > (INT_MAX - d) / 10) return INT_MAX;
  return value * 10 + d;
}

int PictureSide(int value) { return value > kMaxPictureSide ? kMaxPictureSide : value < 0 ? 0 : value; }

// A run of at least one digit into field (set to 0 first), held to a
// picture side. False when none.
bool ReadNumber(const char*& p, std::atomic<int>& field) {
  field = 0;
  if (!IsDigit(*p)) return false;
  int value = 0;
  while (IsDigit(*p)) value = AppendDigit(value, *p++);
  field = PictureSide(value);
  return true;
}

// "VO: [driver] 320x240 => 640x480 ...": the four sizes. Fields read before
// a failure keep their values; the one that failed is 0.
bool ParseVideoOutputLine(const char* line, MediaFields& f) {
  if (!StartsWith(line, "VO: [")) return false;
  const char* p = line + 5;
  for (;; ++p) {
    if (*p == '\0') return false;
    if (*p == ']') {
      if (p[1] == ' ') break;
      if (p[1] == '\0') return false;
    }
  }
  p += 2;
  if (!ReadNumber(p, f.videoWidth) || *p++ == '\0') return false;
  if (!ReadNumber(p, f.videoHeight)) return false;
  if (!StartsWith(p, " => ")) return false;
  p += 4;
  if (!ReadNumber(p, f.displayWidth) || *p++ == '\0') return false;
  return ReadNumber(p, f.displayHeight);
}

// "AO: [alsa] 44100Hz 2ch s16le ...": an audio output that works. A driver
// that failed ("AO: [pulse] Init failed: ...") is followed by the next one.
bool IsAudioOutputLine(const char* line) {
  if (!StartsWith(line, "AO: [")) return false;
  const char* p = std::strchr(line + 5, ']');
  if (!p || p[1] != ' ' || !IsDigit(p[2])) return false;
  p += 2;
  while (IsDigit(*p)) ++p;
  return StartsWith(p, "Hz");
}

bool IsPlaybackStartLine(const char* line, MediaFields& f) {
  if (f.hasVideo) return ParseVideoOutputLine(line, f);
  if (f.hasAudio) return IsAudioOutputLine(line);
  return false;
}

bool IsFailureLine(const char* line) {
  return StartsWith(line, "kinovue engine: ") || StartsWith(line, "Failed to open ") ||
         StartsWith(line, "File not found: ");
}

}  // namespace

void MediaFields::ClearMedium() {
  length = 0;
  lastPosition = -1;
  videoWidth = videoHeight = displayWidth = displayHeight = 0;
  hasVideo = false;
  hasAudio = false;
  started = false;
}

int StatusLineSeconds(const char* line, std::size_t length, bool hasVideo) {
  if (length <= 7 || (line[0] != 'A' && line[0] != 'V') || line[1] != ':') return -1;
  std::size_t start = 2;
  if (hasVideo) {
    for (std::size_t i = 9; i + 1 < length; ++i) {
      if (line[i] == 'V' && line[i + 1] == ':') {
        start = i + 2;
        break;
      }
    }
  }
  // Every character but a digit is skipped: spaces and signs do not stop the scan.
  int value = 0;
  for (std::size_t i = start; i < length && line[i] != '.'; ++i) {
    if (IsDigit(line[i])) value = AppendDigit(value, line[i]);
  }
  return value;
}

int ParseLengthSeconds(const char* text) {
  const char* p = text;
  while (*p == ' ' || *p == '\t') ++p;
  bool negative = false;
  if (*p == '+' || *p == '-') negative = *p++ == '-';
  double value = 0;
  for (; IsDigit(*p); ++p) value = value * 10 + (*p - '0');
  if (*p == '.') {
    double scale = 0.1;
    for (++p; IsDigit(*p); ++p, scale /= 10) value += (*p - '0') * scale;
  }
  if (negative) value = -value;
  value += 0.5;
  if (value >= static_cast<double>(INT_MAX)) return INT_MAX;
  if (value <= static_cast<double>(INT_MIN)) return INT_MIN;
  return static_cast<int>(value);  // drops the fraction
}

void HandleOutputLine(const char* line, std::size_t length, MediaFields& f, OutputEvents& events) {
  const int seconds = StatusLineSeconds(line, length, f.hasVideo);
  if (seconds >= 0) {
    if (f.lastPosition.exchange(seconds) != seconds) events.OnPosition(seconds, f.length);
    return;
  }
  const int sizes[] = {f.videoWidth, f.videoHeight, f.displayWidth, f.displayHeight};
  if (IsPlaybackStartLine(line, f)) {
    // MPlayer may set up its output twice with the same sizes: the window
    // is fitted once. New sizes (the stream changed) are announced again.
    const int now[] = {f.videoWidth, f.videoHeight, f.displayWidth, f.displayHeight};
    if (!f.started || !std::equal(std::begin(sizes), std::end(sizes), std::begin(now))) {
      f.started = true;
      f.state = ENGINE_STATE_PLAYING;
      events.OnPlaybackStarted();
      return;
    }
  }
  if (StartsWith(line, "ID_")) {
    const char* id = line + 3;
    if (StartsWith(id, "LENGTH=")) {
      f.length = ParseLengthSeconds(id + 7);
      events.OnLength(f.length, f.resumePosition);
      f.resumePosition = 0;
    } else if (StartsWith(id, "VIDEO_")) {
      f.hasVideo = true;
      const char* rest = id + 6;
      if (StartsWith(rest, "WIDTH="))
        f.videoWidth = PictureSide(platform::ParseLeadingInt(rest + 6));
      else if (StartsWith(rest, "HEIGHT="))
        f.videoHeight = PictureSide(platform::ParseLeadingInt(rest + 7));
    } else if (!f.hasAudio && StartsWith(id, "AUDIO")) {
      f.hasAudio = true;
    }
  } else if (IsFailureLine(line)) {
    events.OnFailure(line);
  }
  events.OnLogLine(line);
}
