#include "test_media.h"

#include <QDir>
#include <QFile>
#include <QStringList>
#include <cstdlib>
#include <unistd.h>

#include "run_command.h"

namespace testsupport {
namespace {

QString MediaDir() {
  const char* env = std::getenv("KINOVUE_TEST_MEDIA_DIR");
  QString dir = QString::fromLocal8Bit(env && *env ? env : KINOVUE_TEST_MEDIA_DIR_DEFAULT);
  QDir().mkpath(dir);
  return dir;
}

// Several test processes may ask at once: each renders to its own name and
// renames over the final one, so nobody ever sees a half-written file.
std::string Make(const QString& name, const QStringList& args) {
  const QString target = MediaDir() + "/" + name;
  if (QFile::exists(target)) return target.toStdString();
  const QString partial = target + ".part" + QString::number(getpid()) + "." + name.section('.', -1);
  std::vector<std::string> command{"ffmpeg", "-nostdin", "-loglevel", "error", "-y"};
  for (const QString& arg : args) command.push_back(arg.toStdString());
  command.push_back(partial.toStdString());
  if (RunCommand(command, {}, 120000).exitCode != 0) {
    QFile::remove(partial);
    return {};
  }
  QFile::remove(target);
  if (!QFile::rename(partial, target) && !QFile::exists(target)) return {};
  QFile::remove(partial);
  return target.toStdString();
}

}  // namespace

std::string VideoClip() {
  return Make("clip320.avi", {"-f", "lavfi", "-i", "testsrc=size=320x240:rate=25:duration=3", "-f", "lavfi", "-i",
                              "sine=frequency=440:duration=3", "-c:v", "mpeg4", "-q:v", "5", "-c:a", "libmp3lame",
                              "-b:a", "64k", "-shortest"});
}

std::string LongVideoClip() {
  return Make("clip640.avi", {"-f", "lavfi", "-i", "testsrc=size=640x480:rate=25:duration=25", "-f", "lavfi", "-i",
                              "sine=frequency=440:duration=25", "-c:v", "mpeg4", "-q:v", "5", "-c:a", "libmp3lame",
                              "-b:a", "64k", "-shortest"});
}

std::string FilmClip() {
  return Make("film200.avi", {"-f", "lavfi", "-i", "testsrc=size=160x120:rate=5:duration=200", "-f", "lavfi", "-i",
                              "sine=frequency=440:duration=200", "-c:v", "mpeg4", "-q:v", "10", "-c:a", "libmp3lame",
                              "-b:a", "32k", "-shortest"});
}

std::string SoundClip() {
  return Make("tone.mp3", {"-f", "lavfi", "-i", "sine=frequency=660:duration=3", "-c:a", "libmp3lame", "-b:a", "64k"});
}

std::string BlackClip() {
  return Make("black320.avi", {"-f", "lavfi", "-i", "color=c=black:size=320x240:rate=25:duration=3", "-c:v", "mpeg4",
                               "-q:v", "5"});
}

std::string MadeClip(const std::string& name, const std::vector<std::string>& ffmpegArgs) {
  QStringList args;
  for (const std::string& a : ffmpegArgs) args << QString::fromStdString(a);
  return Make(QString::fromStdString(name), args);
}

std::string ProgramFolder() {
  const char* env = std::getenv("KINOVUE_BIN_DIR");
  std::string dir = env && *env ? env : KINOVUE_BIN_DIR_DEFAULT;
  if (dir.back() != '/') dir += '/';
  return dir;
}

bool CopyProgramInto(const std::string& folder) {
  for (const char* name : {"kinovue", "libmplayer.so", "libautorenew.so", "libkinovue_net.so"}) {
    if (!QFile::copy(QString::fromStdString(ProgramFolder() + name), QString::fromStdString(folder + "/" + name)))
      return false;
  }
  return QFile::setPermissions(QString::fromStdString(folder + "/kinovue"),
                               QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

void SkipFileTypeQuestion(const std::string& folder) {
  QDir().mkpath(QString::fromStdString(folder + "/dat"));
  QFile settings(QString::fromStdString(folder + "/dat/kinovue.ini"));
  if (settings.open(QIODevice::WriteOnly | QIODevice::Truncate)) settings.write("[kinovue]\nCheckFileAssociate=0\n");
}

}  // namespace testsupport
