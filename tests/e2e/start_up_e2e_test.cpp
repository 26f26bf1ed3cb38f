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

}  // namespace
