#include "mainwindow/time_text.h"

#include <array>
#include <cstdio>
#include <cstring>

#include "platform/atomic_file.h"
#include "platform/file_name.h"

std::string ClockText(int seconds) {
  if (seconds < 0) seconds = 0;
  char text[16];
  std::snprintf(text, sizeof text, "%02d:%02d:%02d", seconds / 3600 % 24, seconds % 3600 / 60, seconds % 60);
  return text;
}

std::string PlaybackTimeText(int positionSeconds, int lengthSeconds) {
  return ClockText(positionSeconds) + "/" + ClockText(lengthSeconds);
}

std::string ResumeNoticeText(int seconds) { return "从 " + ClockText(seconds) + " 继续播放"; }

const char* EngineStateName(int engineState) {
  static constexpr std::array<const char*, 5> kNames{"正在缓冲数据...", "正在播放", "暂停", "停止", "无法播放剪辑"};
  if (engineState < 0 || engineState >= static_cast<int>(kNames.size())) return "";
  return kNames[static_cast<std::size_t>(engineState)];
}

std::string MediaDisplayName(const char* file) {
  std::string name = file ? file : "";
  if (name.find("://") == std::string::npos) {
    const std::size_t slash = name.rfind('/');
    if (slash != std::string::npos) name.erase(0, slash + 1);
  }
  return name;
}

QString WindowTitle(int engineState, const char* file) {
  return QString("Kinovue  ") + QString::fromUtf8(EngineStateName(engineState)) + ": " +
         platform::DisplayName(MediaDisplayName(file));
}

QString SaveProblemNote(const std::string& path, int error) {
  return QString("  [未能保存 ") + platform::DisplayName(MediaDisplayName(path.c_str())) + ": " +
         QString::fromStdString(platform::WriteErrorText(error)) + "]";
}
