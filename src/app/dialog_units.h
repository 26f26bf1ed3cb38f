#pragma once
#include <QFont>
#include <QRect>
#include <QSize>

// Dialog templates give positions and sizes in dialog units, which scale
// with the dialog's font: x × average character width / 4, y × character
// height / 8, rounded to the nearest pixel (halves away from zero).
namespace app {

struct DialogUnits {
  int baseX = 0;  // average character width in pixels
  int baseY = 0;  // character height in pixels

  // The units of a dialog that uses font. Needs a QGuiApplication.
  static DialogUnits For(const QFont& font);

  int X(int units) const;
  int Y(int units) const;
  // Both corners converted: the size is X(x + width) - X(x) by Y(y + height) - Y(y).
  QRect Rect(int x, int y, int width, int height) const;
  QSize Size(int width, int height) const;
};

// The dialogs' font: "SimSun" 9 point, falling back to an installed CJK
// font when SimSun is not there.
QFont DialogFont();

}  // namespace app
