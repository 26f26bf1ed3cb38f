#pragma once
#include <QString>
#include <cstdint>
#include <functional>

#include "dialogs/dialog_template.h"

class QLineEdit;

// "播放设置": the engine's play cache in kilobytes. Opens with the value the
// window hands in (the stored one, 0 when none); OK takes the value only when it
// is an integer within 0..1024000, and otherwise shows a prompt and stays
// open with the text selected. The dialog writes nothing.
class CPlaySettingDlg : public TemplateDialog {
  Q_OBJECT

 public:
  static constexpr int IDD = 173;
  static constexpr int IDC_CACHE = 1033;
  static constexpr std::int32_t kMinCacheKBytes = 0;
  static constexpr std::int32_t kMaxCacheKBytes = 1024000;

  explicit CPlaySettingDlg(std::int32_t storedKBytes, QWidget* parent = nullptr);

  std::int32_t cacheKBytes = 0;
  // Shows a validation prompt; null means a modal warning box. Tests set it
  // to see the prompt without blocking.
  std::function<void(const QString& text)> showPrompt;

  void accept() override;

 protected:
  void OnInitDialog() override;

 private:
  void Prompt(const QString& text);

  std::int32_t storedKBytes_;
  QLineEdit* cacheEdit_;
};
