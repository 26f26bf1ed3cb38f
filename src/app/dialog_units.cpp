#include "app/dialog_units.h"

#include <QFontMetrics>
#include <QStringList>

namespace app {
namespace {

int MulDiv(int value, int numerator, int denominator) {
  const long long product = static_cast<long long>(value) * numerator;
  const long long half = denominator / 2;
  return static_cast<int>(product >= 0 ? (product + half) / denominator : -((-product + half) / denominator));
}

}  // namespace

DialogUnits DialogUnits::For(const QFont& font) {
  const QFontMetrics metrics(font);
  return {metrics.averageCharWidth(), metrics.height()};
}

int DialogUnits::X(int units) const { return MulDiv(units, baseX, 4); }

int DialogUnits::Y(int units) const { return MulDiv(units, baseY, 8); }

QRect DialogUnits::Rect(int x, int y, int width, int height) const {
  // Corners are converted, as a template's rectangle is, so neighbours that
  // touch in units touch in pixels.
  return QRect(X(x), Y(y), X(x + width) - X(x), Y(y + height) - Y(y));
}

QSize DialogUnits::Size(int width, int height) const { return QSize(X(width), Y(height)); }

QFont DialogFont() {
  QFont font;
  // Without SimSun, fontconfig alone might pick a font without Chinese glyphs.
  font.setFamilies({"SimSun", "WenQuanYi Micro Hei", "Noto Sans CJK SC", "Droid Sans Fallback"});
  font.setPointSize(9);
  return font;
}

}  // namespace app
