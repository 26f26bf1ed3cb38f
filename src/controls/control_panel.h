#pragma once
#include <QFont>
#include <QObject>
#include <QPointer>
#include <QRect>
#include <QSlider>
#include <string>
#include <vector>

#include "controls/anchor_layout.h"
#include "controls/button_own_ctrl.h"
#include "playback/engine_state.h"

// The strip of transport controls along the bottom of the main window: a
// full-width seek bar over play/pause, stop, previous and next, the time
// read-out, the mute button and the volume bar. It turns clicks and slider
// releases into request signals and shows what the main window pushes into
// it; the playback state and position it is told decide what a release of
// the seek bar asks for.
//
// The child widgets carry the names of their roles as object names
// ("playButton", "stopButton", "prevButton", "nextButton", "muteButton",
// "timeLeftCap", "timeField", "timeRightCap", "seekBar", "volumeBar"); the
// strip itself is "controlPanel".
class ControlPanel : public QObject {
  Q_OBJECT

 public:
  // The child ids of the classic layout, kept as the "controlId" property.
  static constexpr int kPanelId = 176;
  static constexpr int kSeekBarId = 1036;
  static constexpr int kVolumeBarId = 1037;

  ControlPanel();
  // Destroys the strip and everything on it, if it still exists.
  ~ControlPanel() override;

  // Creates the strip as a child of mainWindow at rect (mainWindow's client
  // coordinates) with all its controls, and lays them out. False when
  // mainWindow is null or the strip exists already.
  bool CreatePanel(QWidget* mainWindow, const QRect& rect);

  // The strip, for the main window's own layout; null before CreatePanel.
  QWidget* Panel() const { return panel_; }

  void SetSeekRange(int length);        // 0..length
  // The playback position in whole seconds: where the seek bar stands and
  // what a seek request is measured from.
  void SetSeekPosition(int position);
  // Only what a seek request is measured from: a jump the engine has been
  // asked for moves the bar when the engine reports it, not before.
  void SetSeekBase(int position) { position_ = position; }
  void SetVolumeRange(int maximum);     // 0..maximum
  void SetVolumePosition(int value);
  // The elapsed and total time, e.g. "00:01:02/01:30:00", in the read-out.
  void SetTimeText(const std::string& text);
  // A message in the read-out instead of the time; its tool tip holds the
  // whole text, which may be wider than the read-out.
  void ShowMessage(const std::string& text);
  const std::string& TimeText() const { return timeText_; }
  // Enables, disables and switches the transport controls for an engine
  // state (opening, playing, paused, stopped; others change nothing but are
  // kept). hasMedia: a file is loaded, so play can start it again.
  void ShowPlaybackState(int state, bool hasMedia);
  void ShowMute(bool muted);

 signals:
  // A click on the matching button (enabled, released over it).
  void PlayPauseRequested();
  void StopRequested();
  void PreviousRequested();
  void NextRequested();
  void MuteToggleRequested();
  // A release on the seek bar while playing or paused: move by this signed
  // number of seconds from the position last set.
  void SeekRequested(int seconds);
  // A release on the volume bar, in any state.
  void VolumeChosen(int volume);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void CreateButtons();
  QSlider* CreateBar(const char* name, int id, int width);
  void BuildLayoutTable();
  void RunLayout();
  bool InterceptButtonRelease(QObject* watched, QPoint pos);
  void BarReleased(QSlider* bar, int pointerX);

  int state_ = ENGINE_STATE_STOPPED;
  int position_ = 0;
  QPointer<QWidget> panel_;
  std::vector<AnchorEntry> layoutTable_;
  AnchorLayout layout_;
  ButtonOwnCtrlHost buttons_;
  QPointer<QSlider> seekBar_;
  QPointer<QSlider> volumeBar_;
  QSlider* pressedBar_ = nullptr;  // the bar that holds a left press, if any
  QFont timeFont_;
  std::string timeText_;

  ButtonOwnCtrl* playButton_ = nullptr;
  int playLook_ = -1;
  int pauseLook_ = -1;
  ButtonOwnCtrl* stopButton_ = nullptr;
  ButtonOwnCtrl* prevButton_ = nullptr;
  ButtonOwnCtrl* nextButton_ = nullptr;
  ButtonOwnCtrl* muteButton_ = nullptr;
  int soundLook_ = -1;
  int mutedLook_ = -1;
  ButtonOwnCtrl* timeField_ = nullptr;
  ButtonOwnCtrl* timeLeftCap_ = nullptr;
  ButtonOwnCtrl* timeRightCap_ = nullptr;
};

// The read-out's font: Arial with a cell height of 16 pixels and weight 12
// (as light as the face allows).
QFont MakeTimeFont();
