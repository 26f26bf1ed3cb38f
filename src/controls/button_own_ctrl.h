#pragma once
#include <QColor>
#include <QFont>
#include <QPixmap>
#include <QPointer>
#include <QRegion>
#include <QWidget>
#include <array>
#include <cstdint>
#include <string>
#include <vector>

// A light-weight skinned push button: one of four bitmaps (normal, pressed,
// hover, disabled) stretched over the whole button, an optional line of text
// over it, hover followed by mouse tracking, hit tests against the region
// given at creation, and a completed click reported to the host that made it.
// A button may hold several bitmap sets (a "play" look and a "pause" look)
// between which its owner switches.
//
// Buttons are made and driven only through ButtonOwnCtrlHost, which takes a
// button as a plain QWidget*: anything that is not a live button (null, an
// ordinary widget, a button already destroyed) is "not found" and the
// operation fails without harm. Everything runs on the GUI thread.

class ButtonOwnCtrlHost;
class QMouseEvent;

// The button's state; the value is also the column in a bitmap set.
enum class ButtonOwnCtrlState : std::int32_t {
  Normal = 0,
  Pressed = 1,
  Hover = 2,
  Disabled = 3,
};

// One look of a button: a bitmap per state, in state order. A bitmap that
// did not load is null, and that state then shows only the background.
struct ButtonOwnCtrlBitmaps {
  std::array<QPixmap, 4> bitmaps;
};

struct ButtonOwnCtrlRecord {
  ButtonOwnCtrlState state = ButtonOwnCtrlState::Normal;
  // All mouse hit tests use it: the rectangle of the size given at creation,
  // even when the button is stretched later.
  QRegion hitRegion;
  std::vector<ButtonOwnCtrlBitmaps> bitmapSets;
  std::uint32_t currentSet = 0;  // always a valid index while sets exist
  ButtonOwnCtrlHost* host = nullptr;  // receives clicks; null once the host is gone
  std::string text;  // UTF-8, drawn at (4, 0)
  QColor textColor;
  QFont textFont;
};

class ButtonOwnCtrl : public QWidget {
  Q_OBJECT

 public:
  ~ButtonOwnCtrl() override;

  const ButtonOwnCtrlRecord& Record() const { return record_; }

  // The live button behind a handle, or null.
  static ButtonOwnCtrl* Find(const QWidget* handle);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void leaveEvent(QEvent* event) override;

 private:
  friend class ButtonOwnCtrlHost;
  ButtonOwnCtrl(ButtonOwnCtrlHost* host, int width, int height, QWidget* parent);

  void SetState(ButtonOwnCtrlState state);

  ButtonOwnCtrlRecord record_;
};

// Called after a completed click (left press and release inside the button)
// with the context given to SetClickCallback and the release event.
using ButtonOwnCtrlClickCallback = void (*)(void* context, QWidget* button,
                                            const QMouseEvent& release);

class ButtonOwnCtrlHost {
 public:
  ButtonOwnCtrlHost() = default;
  // Releases the bitmaps and tool tips of the buttons this host made; they
  // stay on screen as plain grey widgets and report no more clicks.
  ~ButtonOwnCtrlHost();
  ButtonOwnCtrlHost(const ButtonOwnCtrlHost&) = delete;
  ButtonOwnCtrlHost& operator=(const ButtonOwnCtrlHost&) = delete;

  void SetClickCallback(void* context, ButtonOwnCtrlClickCallback callback);

  // Buttons created from now on get their tool-tip texts; before this call
  // the texts are dropped. Qt shows tool tips by itself, so the owner window
  // needs no tool-tip control of its own.
  void InitToolTips(QWidget* owner);

  // A visible button at (x, y) of the given size, child of parent, with its
  // region set to (0, 0, width, height); no bitmap sets, empty text, state
  // Normal. toolTipText (UTF-8) may be null. Null when parent is null.
  ButtonOwnCtrl* CreateButton(int x, int y, int width, int height, QWidget* parent,
                              const char* toolTipText);

  // Loads the four bitmaps by resource number (low 16 bits) and appends them
  // as one set; the shown set does not change. The new set's number, or -1
  // when the button is not found.
  int AddBitmapSet(QWidget* button, std::uint32_t normalId, std::uint32_t pressedId,
                   std::uint32_t hoverId, std::uint32_t disabledId);

  // False when not found or setNumber is not a set of the button. Repaints
  // only when the set really changes.
  bool SelectBitmapSet(QWidget* button, std::uint32_t setNumber);

  // Text (UTF-8) drawn at (4, 0) in color and font. False when not found.
  bool SetText(QWidget* button, const std::string& text, const QColor& color,
               const QFont& font);

  // True when the button was enabled before the call. Enabling turns only
  // Disabled into Normal (a hovered or pressed button keeps its state);
  // disabling turns any state into Disabled. Unknown buttons: false.
  bool EnableButton(QWidget* button, bool enable);

  // Found and not Disabled.
  bool IsButtonEnabled(QWidget* button) const;

 private:
  friend class ButtonOwnCtrl;
  void ReportClick(QWidget* button, const QMouseEvent& release);

  bool toolTipsActive_ = false;
  void* clickContext_ = nullptr;
  ButtonOwnCtrlClickCallback clickCallback_ = nullptr;
  std::vector<QPointer<ButtonOwnCtrl>> buttons_;  // made by this host
};
