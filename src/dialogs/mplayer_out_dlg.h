#pragma once
#include <QTimer>
#include <functional>
#include <memory>

#include "dialogs/dialog_template.h"
#include "dialogs/engine_log_model.h"
#include "engine/engine_types.h"

class LogLineCollector;
class QListView;
class QMenu;

// "Kinovue输出": the engine's console output, one row per line, so that a
// user can see why a medium does not play, and save it to a text file.
//
// It shows lines only while it is open: Show registers it with the engine,
// closing (Esc, the close box) unregisters it, hides it and empties it. The
// window is modeless and is hidden rather than destroyed.
//
// The engine's threads hand each line over and wait; they wait only for a
// copy into a batch on a thread of the window's own, never for this
// window's painting. The window collects the batch every kCollectMs at
// most, as one insertion into the list.
class CMplayerOutDlg : public TemplateDialog {
  Q_OBJECT

 public:
  static constexpr int IDD = 132;
  static constexpr int IDC_OUTPUT_LIST = 1017;
  static constexpr int IDR_OUTPUT_MENU = 175;
  static constexpr int ID_EXPORT_OUTPUT = 32850;
  static constexpr int kCollectMs = 30;

  // The engine to register with, asked each time: null once the owner has
  // let its engine go (the window may still be closed after that, when the
  // application quits). The destructor does not ask: a target that is gone
  // makes the engine's sends fail.
  using EngineSource = std::function<CPlayerEngine*()>;
  explicit CMplayerOutDlg(EngineSource engine, QWidget* parent = nullptr);
  ~CMplayerOutDlg() override;

  // Registers with the engine; the caller then shows the window.
  void Show();
  // Cancel: unregisters, hides and empties the window.
  void reject() override;

  // Takes the lines received since the last collection into the list now.
  void CollectLines();
  const EngineLogModel& Rows() const { return rows_; }

  // Menu 175's popup "Mplayer输出", its commands aimed at this window.
  QMenu* CreateContextMenu(QWidget* parent);
  void OnCommand(int id);
  // Shows a modal dialog (the save dialog); tests answer it without a user.
  void SetRunDialog(std::function<int(QDialog&)> runDialog) { runDialog_ = std::move(runDialog); }

 private:
  CPlayerEngine* Engine() const;
  void ExportAll();

  EngineSource engine_;
  EngineLogModel rows_;
  QListView* listBox_;
  std::unique_ptr<LogLineCollector> collector_;
  QTimer collectTimer_;
  std::function<int(QDialog&)> runDialog_;
};
