#include "controls/button_own_ctrl.h"

#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>
#include <unordered_set>

#include "controls/resource_images.h"

namespace {

// The background of every button: the interface grey.
const QColor kButtonBackground(212, 208, 200);

// Live buttons, so that a handle is looked up without trusting it.
std::unordered_set<const QWidget*>& Registry() {
  static std::unordered_set<const QWidget*> registry;
  return registry;
}

}  // namespace

// ---------------------------------------------------------------- ButtonOwnCtrl

ButtonOwnCtrl::ButtonOwnCtrl(ButtonOwnCtrlHost* host, int width, int height, QWidget* parent)
    : QWidget(parent) {
  record_.host = host;
  record_.hitRegion = QRegion(0, 0, width, height);
  // Hover is followed from plain mouse moves, without a pressed button.
  setMouseTracking(true);
  Registry().insert(this);
}

ButtonOwnCtrl::~ButtonOwnCtrl() { Registry().erase(this); }

ButtonOwnCtrl* ButtonOwnCtrl::Find(const QWidget* handle) {
  if (!handle || !Registry().contains(handle)) return nullptr;
  return static_cast<ButtonOwnCtrl*>(const_cast<QWidget*>(handle));
}

void ButtonOwnCtrl::SetState(ButtonOwnCtrlState state) {
  record_.state = state;
  update();
}

void ButtonOwnCtrl::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), kButtonBackground);
  if (!record_.bitmapSets.empty()) {
    const QPixmap& bitmap =
        record_.bitmapSets[record_.currentSet].bitmaps[static_cast<std::size_t>(record_.state)];
    // Stretched over the whole button, pixel for pixel like a plain copy.
    if (!bitmap.isNull()) painter.drawPixmap(rect(), bitmap);
  }
  if (!record_.text.empty()) {
    painter.setFont(record_.textFont);
    painter.setPen(record_.textColor);
    // (4, 0) is the top left of the text, not its baseline.
    painter.drawText(QPoint(4, QFontMetrics(record_.textFont).ascent()),
                     QString::fromStdString(record_.text));
  }
}

void ButtonOwnCtrl::mouseMoveEvent(QMouseEvent* event) {
  event->accept();
  const QPoint p = event->position().toPoint();
  // The position (0, 0) has always meant "no position" to this button.
  if (p.isNull() || record_.state == ButtonOwnCtrlState::Disabled) return;
  if (record_.hitRegion.contains(p)) {
    if (record_.state != ButtonOwnCtrlState::Pressed &&
        record_.state != ButtonOwnCtrlState::Hover) {
      SetState(ButtonOwnCtrlState::Hover);
    }
  } else if (record_.state != ButtonOwnCtrlState::Normal) {
    SetState(ButtonOwnCtrlState::Normal);
  }
}

void ButtonOwnCtrl::leaveEvent(QEvent*) {
  // The pointer went out without a move inside the region telling us: the
  // same as a move outside.
  if (record_.state != ButtonOwnCtrlState::Disabled &&
      record_.state != ButtonOwnCtrlState::Normal) {
    SetState(ButtonOwnCtrlState::Normal);
  }
}

void ButtonOwnCtrl::mousePressEvent(QMouseEvent* event) {
  // Accepted even when ignored: a press on a button is never a press on the
  // window behind it.
  event->accept();
  if (event->button() != Qt::LeftButton || record_.state == ButtonOwnCtrlState::Disabled) return;
  if (record_.hitRegion.contains(event->position().toPoint())) {
    SetState(ButtonOwnCtrlState::Pressed);
  }
}

void ButtonOwnCtrl::mouseDoubleClickEvent(QMouseEvent* event) {
  // The second press of a double click is not a press: a quick double click
  // gives one click, not two.
  event->accept();
}

void ButtonOwnCtrl::mouseReleaseEvent(QMouseEvent* event) {
  event->accept();
  if (event->button() != Qt::LeftButton || record_.state == ButtonOwnCtrlState::Disabled) return;
  if (record_.hitRegion.contains(event->position().toPoint()) &&
      record_.state == ButtonOwnCtrlState::Pressed) {
    SetState(ButtonOwnCtrlState::Normal);
    if (record_.host) record_.host->ReportClick(this, *event);
  }
}

// ---------------------------------------------------------------- ButtonOwnCtrlHost

ButtonOwnCtrlHost::~ButtonOwnCtrlHost() {
  for (const QPointer<ButtonOwnCtrl>& button : buttons_) {
    if (!button) continue;
    button->record_.bitmapSets.clear();
    button->record_.currentSet = 0;
    button->record_.host = nullptr;
    button->setToolTip(QString());
    button->update();
  }
}

void ButtonOwnCtrlHost::SetClickCallback(void* context, ButtonOwnCtrlClickCallback callback) {
  clickContext_ = context;
  clickCallback_ = callback;
}

void ButtonOwnCtrlHost::InitToolTips(QWidget* /*owner*/) {
  toolTipsActive_ = true;
}

ButtonOwnCtrl* ButtonOwnCtrlHost::CreateButton(int x, int y, int width, int height,
                                               QWidget* parent, const char* toolTipText) {
  if (!parent) return nullptr;
  auto* button = new ButtonOwnCtrl(this, width, height, parent);
  button->setGeometry(x, y, width, height);
  if (toolTipsActive_ && toolTipText) button->setToolTip(QString::fromUtf8(toolTipText));
  button->setMask(QRegion(0, 0, width, height));
  button->show();
  buttons_.emplace_back(button);
  return button;
}

int ButtonOwnCtrlHost::AddBitmapSet(QWidget* handle, std::uint32_t normalId,
                                    std::uint32_t pressedId, std::uint32_t hoverId,
                                    std::uint32_t disabledId) {
  ButtonOwnCtrl* button = ButtonOwnCtrl::Find(handle);
  if (!button) return -1;
  ButtonOwnCtrlBitmaps set;
  set.bitmaps = {LoadResourceBitmap(normalId), LoadResourceBitmap(pressedId),
                 LoadResourceBitmap(hoverId), LoadResourceBitmap(disabledId)};
  std::vector<ButtonOwnCtrlBitmaps>& sets = button->record_.bitmapSets;
  sets.push_back(std::move(set));
  return static_cast<int>(sets.size()) - 1;
}

bool ButtonOwnCtrlHost::SelectBitmapSet(QWidget* handle, std::uint32_t setNumber) {
  ButtonOwnCtrl* button = ButtonOwnCtrl::Find(handle);
  if (!button || setNumber >= button->record_.bitmapSets.size()) return false;
  if (setNumber != button->record_.currentSet) {
    button->record_.currentSet = setNumber;
    button->update();
  }
  return true;
}

bool ButtonOwnCtrlHost::SetText(QWidget* handle, const std::string& text, const QColor& color,
                                const QFont& font) {
  ButtonOwnCtrl* button = ButtonOwnCtrl::Find(handle);
  if (!button) return false;
  button->record_.text = text;
  button->record_.textColor = color;
  button->record_.textFont = font;
  button->update();
  return true;
}

bool ButtonOwnCtrlHost::EnableButton(QWidget* handle, bool enable) {
  ButtonOwnCtrl* button = ButtonOwnCtrl::Find(handle);
  if (!button) return false;
  const bool wasEnabled = button->record_.state != ButtonOwnCtrlState::Disabled;
  if (!enable) {
    button->record_.state = ButtonOwnCtrlState::Disabled;
  } else if (!wasEnabled) {
    button->record_.state = ButtonOwnCtrlState::Normal;
  }
  button->update();
  return wasEnabled;
}

bool ButtonOwnCtrlHost::IsButtonEnabled(QWidget* handle) const {
  const ButtonOwnCtrl* button = ButtonOwnCtrl::Find(handle);
  return button && button->record_.state != ButtonOwnCtrlState::Disabled;
}

void ButtonOwnCtrlHost::ReportClick(QWidget* button, const QMouseEvent& release) {
  if (clickCallback_) clickCallback_(clickContext_, button, release);
}
