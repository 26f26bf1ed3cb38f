// The main window's menus, their checks and enabling, the recent-files
// submenu, the context menu and command routing.
#include <QAction>
#include <QCursor>
#include <QDesktopServices>
#include <QMenu>
#include <QMenuBar>
#include <QUrl>

#include "mainwindow/command_ids.h"
#include "mainwindow/command_rows.h"
#include "mainwindow/kinovue_dlg.h"
#include "mainwindow/menu_tables.h"
#include "platform/file_name.h"

namespace {

constexpr const char* kHomePage = "https://www.kinovue.example.com/";
constexpr const char* kForumPage = "https://forum.kinovue.example.com/";

// Builds the rows into menus below root (the menu bar or a popup); every
// item carries its command id. Calls onItem for each item made.
template <typename OnItem>
void BuildMenus(QWidget* root, std::span<const MenuRow> rows, OnItem onItem) {
  std::vector<QWidget*> stack{root};
  for (const MenuRow& row : rows) {
    QWidget* parent = stack.back();
    switch (row.kind) {
      case MenuRowKind::Popup: {
        auto* menu = new QMenu(QString::fromUtf8(row.text), parent);
        parent->addAction(menu->menuAction());
        stack.push_back(menu);
        break;
      }
      case MenuRowKind::EndPopup:
        stack.pop_back();
        break;
      case MenuRowKind::Separator: {
        auto* separator = new QAction(parent);
        separator->setSeparator(true);
        parent->addAction(separator);
        break;
      }
      case MenuRowKind::Item: {
        auto* action = new QAction(QString::fromUtf8(row.text), parent);
        action->setData(row.id);
        parent->addAction(action);
        onItem(action);
        break;
      }
    }
  }
}

}  // namespace

void CKinovueDlg::BuildMenuBar() {
  BuildMenus(menuBar(), MainMenuRows(), [this](QAction* action) {
    const int id = action->data().toInt();
    actions_[id] = action;
    connect(action, &QAction::triggered, this, [this, id] { OnCommand(id); });
  });
  // The File popup's submenus by their positions.
  QMenu* file = menuBar()->actions().at(kFilePopup)->menu();
  discMenu_ = file->actions().at(kDiscSubmenu)->menu();
  orderMenu_ = file->actions().at(kOrderSubmenu)->menu();
  recentMenu_ = file->actions().at(kRecentSubmenu)->menu();
}

QAction* CKinovueDlg::Action(int id) const {
  const auto it = actions_.find(id);
  return it == actions_.end() ? nullptr : it->second;
}

QMenu* CKinovueDlg::RecentMenu() const { return recentMenu_; }

void CKinovueDlg::SetChecked(int id, bool checked) {
  if (QAction* action = Action(id)) {
    action->setCheckable(true);
    action->setChecked(checked);
  }
}

void CKinovueDlg::SetEnabled(int id, bool enabled) {
  if (QAction* action = Action(id)) action->setEnabled(enabled);
}

void CKinovueDlg::CheckRadio(const std::vector<int>& group, int id) {
  for (int member : group) SetChecked(member, member == id);
}

void CKinovueDlg::FlipSetting(bool MainSettings::*field) {
  settings_.*field = !(settings_.*field);
  WriteMainSetting(settingsFile_, settings_, field);
}

void CKinovueDlg::RefreshViewMenu() {
  const bool native = settings_.VideoMutiple == 1;
  SetChecked(ID_NATIVE_SIZE, native);
  SetEnabled(ID_NATIVE_SIZE, !native);
  SetChecked(ID_DOUBLE_SIZE, !native);
  SetEnabled(ID_DOUBLE_SIZE, native);
  SetChecked(ID_FULL_SCREEN, modes_.IsFullScreen());
  SetChecked(ID_TOPMOST, settings_.Topmost);
  SetChecked(ID_PLAYLIST_RANDOM, settings_.PlayListRandom);
  SetChecked(ID_PLAYLIST_LOOP, !settings_.PlayListRandom && settings_.PlayListLoop);
}

void CKinovueDlg::RebuildRecentMenu(bool clearOnly) {
  if (!recentMenu_) return;
  if (clearOnly) {
    for (int i = 0; i < 4 && !recentMenu_->actions().isEmpty(); ++i) {
      QAction* first = recentMenu_->actions().first();
      recentMenu_->removeAction(first);
      delete first;
    }
    return;
  }
  if (!recentMenu_->actions().isEmpty() && recentMenu_->actions().first()->data().toInt() == ID_RECENT_PLACEHOLDER) {
    QAction* placeholder = recentMenu_->actions().first();
    recentMenu_->removeAction(placeholder);
    actions_.erase(ID_RECENT_PLACEHOLDER);
    delete placeholder;
  }
  std::string path;
  int position = 0;
  bool more = history_.GetFirstFile(path, position);
  for (int i = 0; more; ++i) {
    const int id = recentIdTop_ - i;
    const QString text = platform::DisplayName(path);
    if (recentIdNext_ < id) {
      for (QAction* action : recentMenu_->actions())
        if (action->data().toInt() == id) action->setText(text);
    } else {
      auto* action = new QAction(text, recentMenu_);
      action->setData(recentIdNext_);
      connect(action, &QAction::triggered, this, [this, id = recentIdNext_] { OnCommand(id); });
      recentMenu_->addAction(action);
      --recentIdNext_;
    }
    more = history_.GetNextFile(position, path, position);
  }
}

QMenu* CKinovueDlg::BuildContextMenu() {
  auto* popup = new QMenu(this);
  std::map<int, QAction*> items;
  // The table's one popup holds the items: build its inside straight into the menu.
  const std::span<const MenuRow> rows = ContextMenuRows();
  BuildMenus(popup, rows.subspan(1, rows.size() - 2), [&](QAction* action) {
    const int id = action->data().toInt();
    items[id] = action;
    connect(action, &QAction::triggered, this, [this, id] { OnCommand(id); });
  });
  const int state = CurrentEngineState();
  // While a run opens, it can be stopped or skipped but not paused yet.
  const bool play = state == ENGINE_STATE_PAUSED;
  const bool pause = state == ENGINE_STATE_PLAYING;
  const bool running = state == ENGINE_STATE_PLAYING || state == ENGINE_STATE_PAUSED || state == ENGINE_STATE_OPENING;
  items[ID_CONTEXT_PLAY]->setEnabled(play);
  items[ID_CONTEXT_PAUSE]->setEnabled(pause);
  for (int id : {ID_CONTEXT_STOP, ID_CONTEXT_NEXT, ID_CONTEXT_PREVIOUS}) items[id]->setEnabled(running);
  items[ID_CONTEXT_TOPMOST]->setCheckable(true);
  items[ID_CONTEXT_TOPMOST]->setChecked(settings_.Topmost);
  items[ID_CONTEXT_FULL_SCREEN]->setCheckable(true);
  items[ID_CONTEXT_FULL_SCREEN]->setChecked(modes_.IsFullScreen());
  return popup;
}

void CKinovueDlg::ShowContextMenu(const QPoint& globalPos) {
  QMenu* menu = BuildContextMenu();
  menu->exec(globalPos);
  menu->deleteLater();
}

void CKinovueDlg::OnCommand(int id) {
  if (id > driveIdNext_ && id <= driveIdTop_) {
    OpenDisc(static_cast<std::size_t>(driveIdTop_ - id));
    return;
  }
  if (id > recentIdNext_ && id <= recentIdTop_) {
    OpenRecent(recentIdTop_ - id);
    return;
  }
  // Commands the engine carries out alone; the switch keeps what the window does.
  id = MenuBarTwin(id);
  if (const CommandRow* row = FindCommandRow(id)) {
    if (row->kind == CommandKind::EngineSetting)
      ApplyEngineSetting(row->code, row->argument);
    else
      Run(row->code, row->argument);
    return;
  }
  switch (id) {
    // Playback.
    case ID_STOP: StopPlayback(); break;
    case ID_NEXT: PlayNext(); break;
    case ID_PREVIOUS: PlayPrevious(); break;

    // Play modes and other settings.
    case ID_AUTO_PLAY_FROM_LIST: FlipSetting(&MainSettings::AutoPlayFromList); RefreshPlaybackMenu(); break;
    case ID_PLAYLIST_RANDOM: FlipSetting(&MainSettings::PlayListRandom); RefreshPlaybackMenu(); break;
    case ID_REPEAT_CURRENT: FlipSetting(&MainSettings::RepeatCurrent); RefreshPlaybackMenu(); break;
    case ID_PLAYLIST_BACKWARD:
    case ID_PLAYLIST_FORWARD:
      settings_.PlayListForward = id == ID_PLAYLIST_FORWARD;
      WriteMainSetting(settingsFile_, settings_, &MainSettings::PlayListForward);
      RefreshPlaybackMenu();
      break;
    case ID_PLAYLIST_LOOP: FlipSetting(&MainSettings::PlayListLoop); RefreshViewMenu(); break;
    case ID_AUTO_UPDATE: FlipSetting(&MainSettings::AutoUpdate); RefreshPlaybackMenu(); break;
    case ID_REMEMBER_POSITION:
      FlipSetting(&MainSettings::RememberPlayPosition);
      if (positions_) positions_->SetEnabled(settings_.RememberPlayPosition);
      SetChecked(ID_REMEMBER_POSITION, settings_.RememberPlayPosition);
      break;
    case ID_CHECK_UPDATE: CheckForUpdateNow(); break;
    case ID_CLEAR_RECENT:
      history_.ClearHistory();
      RebuildRecentMenu(true);
      recentIdNext_ = recentIdTop_;
      break;
    case ID_SHOW_ENGINE_OUTPUT: ShowEngineOutput(); break;
    case ID_KEY_HELP: ShowKeyHelp(); break;
    case ID_SHOW_PLAYLIST: docking_.ShowPlayListWindow(playlist_.get()); break;
    case ID_HOME_PAGE: QDesktopServices::openUrl(QUrl(kHomePage)); break;
    case ID_FORUM: QDesktopServices::openUrl(QUrl(kForumPage)); break;

    // Window modes.
    case ID_NATIVE_SIZE: modes_.SetVideoSize(1); break;
    case ID_DOUBLE_SIZE: modes_.SetVideoSize(2); break;
    case ID_FULL_SCREEN: modes_.ToggleFullScreen(); break;
    case ID_TOPMOST: modes_.ToggleTopmost(); break;
    case ID_VIDEO_PANEL: modes_.ShowVideoArea(); break;
    case ID_AUDIO_PANEL: modes_.ShowSoundOnlyStrip(); break;

    // Opening media.
    case ID_OPEN_FILE: OpenFileDialog(); break;
    case ID_OPEN_URL: OpenAddressDialog(); break;
    case ID_GO_TO: GoToTime(); break;
    case ID_PLAY_SETTINGS: PlaySettings(); break;
    case ID_FILE_ASSOCIATION: ShowFileAssociation(); break;
    case ID_ABOUT: ShowAbout(); break;

    case ID_EXIT: OnCancel(); break;
    default: break;  // no action (skins, OK) or a part not built yet
  }
}
