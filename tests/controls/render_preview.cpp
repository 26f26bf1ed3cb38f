// Draws the control strip and every look of its buttons into PNG files, for
// a person to look at:
//
//   QT_QPA_PLATFORM=offscreen controls_render_preview [folder]
//
// writes strip-<width>x<height>-<state>.png and buttons.png (rows: play,
// pause, stop, previous, next, sound, muted; columns: normal, hover,
// pressed, disabled) into folder, by default /tmp/kinovue-controls-preview.

#include <QDir>
#include <QMouseEvent>
#include <QPainter>
#include <QSlider>
#include <cstdio>
#include <iterator>

#include "controls/control_panel.h"
#include "widget_app.h"

namespace {

void Send(QWidget* w, QEvent::Type type, QPoint pos) {
  const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
  const Qt::MouseButtons held = type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton;
  QMouseEvent event(type, QPointF(pos), QPointF(w->mapToGlobal(pos)), button, held, Qt::NoModifier);
  QCoreApplication::sendEvent(w, &event);
}

bool Save(const QImage& image, const QString& path) {
  if (!image.save(path)) {
    std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
    return false;
  }
  std::printf("%s\n", qPrintable(path));
  return true;
}

bool RenderStrip(const QString& folder, int width, int height, int state, const char* stateName) {
  QWidget main;
  main.resize(width, height);
  ControlPanel panel;
  panel.CreatePanel(&main, QRect(0, 0, width, height));
  main.show();
  panel.SetSeekRange(6300);
  panel.SetSeekPosition(state == 3 ? 0 : 754);
  panel.SetVolumeRange(100);
  panel.SetVolumePosition(70);
  panel.SetTimeText(state == 3 ? "00:00:00/01:45:00" : "00:12:34/01:45:00");
  panel.ShowPlaybackState(state, true);
  panel.ShowMute(false);
  return Save(panel.Panel()->grab().toImage(),
              QStringLiteral("%1/strip-%2x%3-%4.png").arg(folder).arg(width).arg(height).arg(stateName));
}

// One row per look, one column per state, each button on its own copy of
// the strip so that its neighbours do not change.
bool RenderButtons(const QString& folder) {
  struct Look {
    const char* button;
    int playbackState;
    bool muted;
  };
  const Look looks[] = {{"playButton", 2, false}, {"playButton", 1, false}, {"stopButton", 1, false},
                        {"prevButton", 1, false}, {"nextButton", 1, false}, {"muteButton", 1, false},
                        {"muteButton", 1, true}};
  const int cell = 36;
  QImage sheet(cell * 4, cell * static_cast<int>(std::size(looks)), QImage::Format_RGB32);
  sheet.fill(QColor(212, 208, 200));
  QPainter painter(&sheet);
  for (int row = 0; row < static_cast<int>(std::size(looks)); ++row) {
    for (int column = 0; column < 4; ++column) {
      QWidget main;
      main.resize(520, 60);
      ControlPanel panel;
      panel.CreatePanel(&main, QRect(0, 0, 520, 60));
      main.show();
      panel.ShowPlaybackState(looks[row].playbackState, true);
      panel.ShowMute(looks[row].muted);
      auto* button = panel.Panel()->findChild<QWidget*>(QString::fromLatin1(looks[row].button));
      const QPoint inside(5, 5);
      if (column >= 1) Send(button, QEvent::MouseMove, inside);
      if (column == 2) Send(button, QEvent::MouseButtonPress, inside);
      // Opening disables play/pause with its look kept; stopped without a
      // file disables the rest of the transport. Mute is never disabled.
      if (column == 3) panel.ShowPlaybackState(row <= 1 ? 0 : 3, false);
      const QImage image = button->grab().toImage();
      painter.drawImage(column * cell + (cell - image.width()) / 2, row * cell + (cell - image.height()) / 2, image);
    }
  }
  painter.end();
  return Save(sheet, folder + QStringLiteral("/buttons.png"));
}

}  // namespace

int main(int argc, char** argv) {
  testsupport::WidgetApp();
  const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("/tmp/kinovue-controls-preview");
  QDir().mkpath(folder);
  bool ok = RenderStrip(folder, 520, 60, 1, "playing");
  ok = RenderStrip(folder, 520, 72, 2, "paused") && ok;
  ok = RenderStrip(folder, 520, 60, 3, "stopped") && ok;
  ok = RenderStrip(folder, 360, 60, 1, "narrow") && ok;
  ok = RenderButtons(folder) && ok;
  return ok ? 0 : 1;
}
