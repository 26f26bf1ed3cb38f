// How the built program starts where it cannot run.
#include <gtest/gtest.h>

#include <QProcess>
#include <optional>

#include "core_app.h"

namespace {

TEST(ProgramStart, WithoutAnX11DisplayOneLineSaysSoAndTheExitStatusIsOne) {
  testsupport::CoreApp();
  const std::optional<QString> displays[] = {std::nullopt, QString(":4999")};  // unset, nobody there
  for (const auto& display : displays) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove("QT_QPA_PLATFORM");
    env.remove("WAYLAND_DISPLAY");
    env.remove("DISPLAY");
    if (display) env.insert("DISPLAY", *display);
    QProcess program;
    program.setProcessEnvironment(env);
    program.start(KINOVUE_PROGRAM, {"/nonexistent/clip.avi"});
    ASSERT_TRUE(program.waitForFinished(15000)) << "still running";
    const QString errors = QString::fromUtf8(program.readAllStandardError());
    const QString shown = display.value_or("(unset)");
    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit) << shown.toStdString() << ": crashed";
    EXPECT_EQ(program.exitCode(), 1) << shown.toStdString();
    EXPECT_EQ(errors.count('\n'), 1) << errors.toStdString();
    EXPECT_TRUE(errors.contains("needs an X11 display")) << errors.toStdString();
  }
}

// Help and version are answered without a display, on stdout.
TEST(ProgramStart, HelpAndVersionNeedNoDisplay) {
  testsupport::CoreApp();
  const struct {
    const char* argument;
    const char* lang;
    const char* shows;
  } rows[] = {
      {"--help", "en_US.UTF-8", "Usage: kinovue [FILE|URL]..."},
      {"-h", "zh_CN.UTF-8", "用法: kinovue [文件|网址]..."},
      {"--version", "zh_CN.UTF-8", "Kinovue 1.0.1008\n"},
  };
  for (const auto& row : rows) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove("DISPLAY");
    env.remove("LC_ALL");
    env.remove("LC_MESSAGES");
    env.insert("LANG", row.lang);
    env.insert("KINOVUE_STATS_SERVER", "127.0.0.1:9");
    QProcess program;
    program.setProcessEnvironment(env);
    program.start(KINOVUE_PROGRAM, {row.argument});
    ASSERT_TRUE(program.waitForFinished(15000)) << row.argument << ": still running";
    const std::string out = QString::fromUtf8(program.readAllStandardOutput()).toStdString();
    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit) << row.argument;
    EXPECT_EQ(program.exitCode(), 0) << row.argument;
    EXPECT_TRUE(out.starts_with(row.shows)) << row.argument << ": " << out;
    EXPECT_TRUE(program.readAllStandardError().isEmpty()) << row.argument;
  }
}

}  // namespace
