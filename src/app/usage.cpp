#include "app/usage.h"

#include <string_view>

#include "app/version.h"

namespace app {

bool IsChineseLocale(const char* lcAll, const char* lcMessages, const char* lang) {
  for (const char* value : {lcAll, lcMessages, lang}) {
    if (value && *value) return std::string_view(value).starts_with("zh");
  }
  return false;
}

std::string UsageText(bool chinese) {
  if (chinese) {
    return "用法: kinovue [文件|网址]...\n"
           "      kinovue -install | -remove\n"
           "播放视频和音频文件、网络地址和视频光盘。给出多个文件时播放第一个,\n"
           "全部依次加入播放列表; 已在运行的 Kinovue 会接过这些文件。\n"
           "\n"
           "  -h, --help   显示本帮助并退出\n"
           "  --version    显示版本并退出\n"
           "  -install     发送安装通知并退出\n"
           "  -remove      发送卸载通知并退出\n";
  }
  return "Usage: kinovue [FILE|URL]...\n"
         "       kinovue -install | -remove\n"
         "Plays video and audio files, network addresses and video discs. Given\n"
         "several files, it plays the first and puts all of them in the playlist;\n"
         "a Kinovue that runs already takes them over.\n"
         "\n"
         "  -h, --help   show this help and exit\n"
         "  --version    show the version and exit\n"
         "  -install     send the installation notice and exit\n"
         "  -remove      send the removal notice and exit\n";
}

std::string VersionText() { return std::string("Kinovue ") + kProgramVersion + "\n"; }

}  // namespace app
