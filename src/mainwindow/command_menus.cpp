#include "mainwindow/command_menus.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

#include "history/history_list.h"
#include "platform/file_name.h"

namespace {

// Builds the rows into menus below root (the menu bar or a popup); every
// item carries its command id and name. Calls onItem for each item made.
template <typename OnItem>
void BuildMenus(QWidget* root, std::span<const CommandRow> rows, OnItem onItem) {
  std::vector<QWidget*> stack{root};
  for (const CommandRow& row : rows) {
    QWidget* parent = stack.back();
    switch (row.kind) {
      case RowKind::Popup: {
        auto* menu = new QMenu(QString::fromUtf8(row.text), parent);
        parent->addAction(menu->menuAction());
        stack.push_back(menu);
        break;
      }
      case RowKind::EndPopup:
        stack.pop_back();
        break;
      case RowKind::Separator: {
        auto* separator = new QAction(parent);
        separator->setSeparator(true);
        parent->addAction(separator);
        break;
      }
      case RowKind::Command: {
        if (!row.text) break;
        auto* action = new QAction(QString::fromUtf8(row.text), parent);
        action->setData(CommandIdOf(row));
        action->setObjectName(row.name);
        parent->addAction(action);
        onItem(row, action);
        break;
      }
      default:
        break;
    }
  }
}

}  // namespace

CommandMenus::CommandMenus(std::function<void(int id)> run) : run_(std::move(run)) {}

void CommandMenus::BuildMenuBar(QMenuBar* bar) {
  BuildMenus(bar, SectionRows(RowKind::MenuBar), [this](const CommandRow& row, QAction* action) {
    actions_[CommandIdOf(row)] = action;
    QObject::connect(action, &QAction::triggered, [this, id = CommandIdOf(row)] { run_(id); });
  });
  // The File popup's submenus by their positions.
  QMenu* file = bar->actions().at(kFilePopup)->menu();
  discMenu_ = file->actions().at(kDiscSubmenu)->menu();
  orderMenu_ = file->actions().at(kOrderSubmenu)->menu();
  recentMenu_ = file->actions().at(kRecentSubmenu)->menu();
}

QMenu* CommandMenus::BuildContextMenu(QWidget* parent, int state, const CKinovueDlg& window) const {
  auto* popup = new QMenu(parent);
  BuildMenus(popup, SectionRows(RowKind::ContextMenu), [&](const CommandRow& row, QAction* action) {
    QObject::connect(action, &QAction::triggered, [run = run_, id = CommandIdOf(row)] { run(id); });
    action->setEnabled(PlaybackEnabling(row, state) != 'n');
    if (row.checked) {
      action->setCheckable(true);
      action->setChecked(row.checked(window));
    }
  });
  return popup;
}

QAction* CommandMenus::Action(int id) const {
  const auto it = actions_.find(id);
  return it == actions_.end() ? nullptr : it->second;
}

void CommandMenus::SetChecked(int id, bool checked) {
  if (QAction* action = Action(id)) {
    action->setCheckable(true);
    action->setChecked(checked);
  }
}

void CommandMenus::SetEnabled(int id, bool enabled) {
  if (QAction* action = Action(id)) action->setEnabled(enabled);
}

void CommandMenus::CheckRadio(const std::vector<int>& group, int id) {
  for (int member : group) SetChecked(member, member == id);
}

void CommandMenus::ShowPlaybackState(int state, bool hasMedia) {
  for (const CommandRow& row : SectionRows(RowKind::MenuBar)) {
    switch (row.kind == RowKind::Command ? PlaybackEnabling(row, state) : '.') {
      case 'y': SetEnabled(CommandIdOf(row), true); break;
      case 'n': SetEnabled(CommandIdOf(row), false); break;
      case 'm': SetEnabled(CommandIdOf(row), hasMedia); break;
      default: break;
    }
  }
}

void CommandMenus::ShowViewState(const MainSettings& settings, bool fullScreen) {
  const bool native = settings.VideoMutiple == 1;
  SetChecked(ID_NATIVE_SIZE, native);
  SetEnabled(ID_NATIVE_SIZE, !native);
  SetChecked(ID_DOUBLE_SIZE, !native);
  SetEnabled(ID_DOUBLE_SIZE, native);
  SetChecked(ID_FULL_SCREEN, fullScreen);
  SetChecked(ID_TOPMOST, settings.Topmost);
  SetChecked(ID_PLAYLIST_RANDOM, settings.PlayListRandom);
  SetChecked(ID_PLAYLIST_LOOP, !settings.PlayListRandom && settings.PlayListLoop);
}

void CommandMenus::ShowDiscDrives(const std::vector<std::string>& drives) {
  if (!discMenu_) return;
  for (QAction* placeholder : discMenu_->actions()) {
    actions_.erase(placeholder->data().toInt());
    discMenu_->removeAction(placeholder);
    delete placeholder;
  }
  int id = ID_DYNAMIC_TOP;
  for (const std::string& drive : drives) {
    auto* action = new QAction(platform::DisplayName(drive), discMenu_);
    action->setData(id);
    QObject::connect(action, &QAction::triggered, [this, id] { run_(id); });
    discMenu_->addAction(action);
    --id;
  }
  recentIdTop_ = recentIdNext_ = id;
}

void CommandMenus::ClearRecentMenu() {
  if (!recentMenu_) return;
  for (int i = 0; i < CHistoryList::kMaxFiles && !recentMenu_->actions().isEmpty(); ++i) {
    QAction* first = recentMenu_->actions().first();
    recentMenu_->removeAction(first);
    delete first;
  }
  recentIdNext_ = recentIdTop_;
}

void CommandMenus::RebuildRecentMenu(const CHistoryList& history) {
  if (!recentMenu_) return;
  if (!recentMenu_->actions().isEmpty() && recentMenu_->actions().first()->data().toInt() == ID_RECENT_PLACEHOLDER) {
    QAction* placeholder = recentMenu_->actions().first();
    recentMenu_->removeAction(placeholder);
    actions_.erase(ID_RECENT_PLACEHOLDER);
    delete placeholder;
  }
  std::string path;
  int position = 0;
  bool more = history.GetFirstFile(path, position);
  for (int i = 0; more; ++i) {
    const int id = recentIdTop_ - i;
    const QString text = platform::DisplayName(path);
    if (recentIdNext_ < id) {
      for (QAction* action : recentMenu_->actions())
        if (action->data().toInt() == id) action->setText(text);
    } else {
      auto* action = new QAction(text, recentMenu_);
      action->setData(recentIdNext_);
      QObject::connect(action, &QAction::triggered, [this, id = recentIdNext_] { run_(id); });
      recentMenu_->addAction(action);
      --recentIdNext_;
    }
    more = history.GetNextFile(position, path, position);
  }
}
