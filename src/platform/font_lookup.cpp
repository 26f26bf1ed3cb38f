#include "platform/font_lookup.h"

#include <QFileInfo>
#include <QProcess>
#include <mutex>

namespace platform {

std::string CjkFontFile() {
  static std::once_flag once;
  static std::string file;
  std::call_once(once, [] {
    QProcess match;
    match.start("fc-match", {"--format=%{file}", "sans-serif:lang=zh-cn"});
    if (!match.waitForFinished(5000) || match.exitCode() != 0) return;
    const QString path = QString::fromLocal8Bit(match.readAllStandardOutput()).trimmed();
    // fontconfig answers with its best match even without Chinese glyphs;
    // only files of known CJK families are worth handing to the engine.
    const QString name = QFileInfo(path).fileName().toLower();
    const bool cjk = name.contains("wqy") || name.contains("cjk") || name.contains("droidsansfallback") ||
                     name.contains("simhei") || name.contains("simsun") || name.contains("arphic") ||
                     name.contains("uming") || name.contains("ukai");
    if (cjk && QFileInfo(path).isFile()) file = path.toStdString();
  });
  return file;
}

}  // namespace platform
