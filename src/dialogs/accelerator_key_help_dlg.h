#pragma once
#include "dialogs/dialog_template.h"
#include "engine/engine_types.h"

class QListWidget;

// "快捷键帮助": the playback keyboard shortcuts, one per line. The lines come
// from the engine's key table each time the dialog opens, so the list always
// matches the keys the engine handles. A fixed-pitch font lines up the key
// column. Closes with Enter, Esc or the close box.
class CAcceleratorKeyHelpDlg : public TemplateDialog {
  Q_OBJECT

 public:
  static constexpr int IDD = 139;
  static constexpr int IDC_KEY_LIST = 1018;

  // engine: not owned, asked on every showing.
  explicit CAcceleratorKeyHelpDlg(CPlayerEngine* engine, QWidget* parent = nullptr);

 protected:
  void OnInitDialog() override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  CPlayerEngine* engine_;
  QListWidget* keyList_;
};

// The font of the shortcut list: a fixed-pitch family with Chinese glyphs of
// its own when one is installed (else the system's fixed-pitch font), 9 pt.
QFont KeyHelpFont();
