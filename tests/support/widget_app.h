#pragma once
#include <QApplication>

namespace testsupport {

// The test program's one QApplication, made on first use and never destroyed
// (widgets of static objects may outlive main): offscreen unless the
// environment already chose a platform.
QApplication& WidgetApp();

// The same application shown on a private X server that lives as long as the
// program; null when Xvfb did not start.
QApplication* WidgetAppOnXvfb();

}  // namespace testsupport
