#include "dialogs/mplayer_out_dlg.h"

#include <QAction>
#include <QApplication>
#include <QFileDialog>
#include <QListView>
#include <QMenu>
#include <QScrollBar>
#include <QStyle>
#include <QStyledItemDelegate>

#include "association/open_filter.h"
#include "dialogs/log_line_collector.h"

namespace {

constexpr char kExportFilter[] = "文本文件(*.txt)|*.txt|所有文件(*.*)|*.*||";

// Every row as wide as the widest row, so the horizontal scroll range
// reaches it; measured once per layout, not once per line.
class WidestRowDelegate : public QStyledItemDelegate {
 public:
  WidestRowDelegate(const EngineLogModel& rows, QObject* parent) : QStyledItemDelegate(parent), rows_(rows) {}
  QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    QStyleOptionViewItem item = option;
    initStyleOption(&item, index);
    const std::string& widest = rows_.WidestRow();
    item.text = QString::fromUtf8(widest.data(), static_cast<qsizetype>(widest.size()));
    const QWidget* widget = option.widget;
    const QStyle* style = widget ? widget->style() : QApplication::style();
    return style->sizeFromContents(QStyle::CT_ItemViewItem, &item, QSize(), widget);
  }

 private:
  const EngineLogModel& rows_;
};

}  // namespace

CMplayerOutDlg::CMplayerOutDlg(EngineSource engine, QWidget* parent)
    : TemplateDialog(parent, QStringLiteral("Kinovue输出"), 287, 151), engine_(std::move(engine)) {
  listBox_ = new QListView(this);
  SetControlId(listBox_, IDC_OUTPUT_LIST);
  listBox_->setGeometry(Units().Rect(2, 7, 283, 140));
  listBox_->setModel(&rows_);
  listBox_->setItemDelegate(new WidestRowDelegate(rows_, listBox_));
  // Every row has the same height and width: laying out 100,000 rows is
  // then arithmetic, not a measurement per row.
  listBox_->setUniformItemSizes(true);
  listBox_->setSelectionMode(QAbstractItemView::NoSelection);
  listBox_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  listBox_->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
  listBox_->setTextElideMode(Qt::ElideNone);
  listBox_->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(listBox_, &QWidget::customContextMenuRequested, this, [this](const QPoint& pos) {
    QMenu* menu = CreateContextMenu(this);
    menu->exec(listBox_->viewport()->mapToGlobal(pos));
    menu->deleteLater();
  });

  collectTimer_.setSingleShot(true);
  collectTimer_.setInterval(kCollectMs);
  connect(&collectTimer_, &QTimer::timeout, this, &CMplayerOutDlg::CollectLines);
}

CMplayerOutDlg::~CMplayerOutDlg() = default;

CPlayerEngine* CMplayerOutDlg::Engine() const { return engine_ ? engine_() : nullptr; }

void CMplayerOutDlg::Show() {
  if (!collector_) {
    collector_ = std::make_unique<LogLineCollector>(WM_ENGINE_LOG_LINE, EngineLogModel::kMaxRows, [this] {
      // On the collector's thread: schedule a collection on the window's.
      QMetaObject::invokeMethod(
          this, [this] { if (!collectTimer_.isActive()) collectTimer_.start(); }, Qt::QueuedConnection);
    });
  }
  if (CPlayerEngine* engine = Engine()) engine->SetLogWindow(collector_->Handle(), WM_ENGINE_LOG_LINE);
}

void CMplayerOutDlg::reject() {
  if (CPlayerEngine* engine = Engine()) engine->SetLogWindow(0, 0);
  hide();
  // Releases a send still under way; its line is dropped with the target.
  collector_.reset();
  collectTimer_.stop();
  rows_.Clear();
}

void CMplayerOutDlg::CollectLines() {
  if (!collector_) return;
  std::vector<std::string> lines = collector_->Take();
  if (lines.empty()) return;
  // Whoever looks at the newest rows keeps seeing them; whoever scrolled
  // back stays put.
  const QScrollBar* bar = listBox_->verticalScrollBar();
  const bool following = bar->value() == bar->maximum();
  rows_.AppendBatch(lines);
  if (following) listBox_->scrollToBottom();
}

QMenu* CMplayerOutDlg::CreateContextMenu(QWidget* parent) {
  auto* menu = new QMenu(QStringLiteral("Mplayer输出"), parent);
  QAction* exportAll = menu->addAction(QStringLiteral("导出所有输出信息"));
  exportAll->setData(ID_EXPORT_OUTPUT);
  connect(exportAll, &QAction::triggered, this, [this] { OnCommand(ID_EXPORT_OUTPUT); });
  return menu;
}

void CMplayerOutDlg::OnCommand(int id) {
  if (id == ID_EXPORT_OUTPUT) ExportAll();
}

void CMplayerOutDlg::ExportAll() {
  QFileDialog dialog(this);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setDefaultSuffix(QStringLiteral("txt"));
  dialog.setOption(QFileDialog::HideNameFilterDetails);
  dialog.setNameFilters(ToQtNameFilters(kExportFilter));
  const int answer = runDialog_ ? runDialog_(dialog) : dialog.exec();
  if (answer != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
  CollectLines();  // everything received up to now
  // Nothing is reported when the file cannot be written; the rows stay.
  rows_.Export(dialog.selectedFiles().first().toStdString());
}
