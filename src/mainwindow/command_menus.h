#pragma once
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "mainwindow/command_table.h"
#include "mainwindow/main_settings.h"

class CHistoryList;
class QAction;
class QMenu;
class QMenuBar;
class QWidget;

// The window's menus as the command table lays them out: the menu bar, the
// context menu and the recent-files submenu. Every item runs its command
// through the function given.
class CommandMenus {
 public:
  explicit CommandMenus(std::function<void(int id)> run);

  void BuildMenuBar(QMenuBar* bar);
  // The context menu as it is now (the caller owns it): items enabled for
  // the engine state, checked as the window stands.
  QMenu* BuildContextMenu(QWidget* parent, int state, const CKinovueDlg& window) const;

  QAction* Action(int id) const;  // menu bar item by command id
  QMenu* OrderMenu() const { return orderMenu_; }
  QMenu* RecentMenu() const { return recentMenu_; }

  void SetChecked(int id, bool checked);
  void SetEnabled(int id, bool enabled);
  void CheckRadio(const std::vector<int>& group, int id);
  // The playback items as the table enables them in an engine state.
  void ShowPlaybackState(int state, bool hasMedia);
  // The checks and enabling of the view's items and the play modes that show in it.
  void ShowViewState(const MainSettings& settings, bool fullScreen);

  // The optical drives, one item each; their ids count down from
  // ID_DYNAMIC_TOP, and the recent files' ids go on below them.
  void ShowDiscDrives(const std::vector<std::string>& drives);
  // The index of a drive's or a recent file's id, or -1 for any other id.
  int DriveIndex(int id) const { return id > recentIdTop_ && id <= ID_DYNAMIC_TOP ? ID_DYNAMIC_TOP - id : -1; }
  int RecentIndex(int id) const { return id > recentIdNext_ && id <= recentIdTop_ ? recentIdTop_ - id : -1; }
  // Shows the history's files, most recent first.
  void RebuildRecentMenu(const CHistoryList& history);
  // Empties the submenu; the next files get the top ids again.
  void ClearRecentMenu();

 private:
  std::function<void(int)> run_;
  std::map<int, QAction*> actions_;
  QMenu* discMenu_ = nullptr;
  QMenu* orderMenu_ = nullptr;
  QMenu* recentMenu_ = nullptr;
  int recentIdTop_ = ID_DYNAMIC_TOP;
  int recentIdNext_ = ID_DYNAMIC_TOP;
};
