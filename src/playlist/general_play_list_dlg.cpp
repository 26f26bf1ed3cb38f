#include "playlist/general_play_list_dlg.h"

#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QMessageBox>
#include <QMimeData>
#include <QPushButton>
#include <QUrl>

#include "association/media_extensions.h"
#include "association/open_filter.h"
#include "controls/list_box_ex.h"
#include "controls/widget_dock_windows.h"
#include "dialogs/dialog_template.h"
#include "platform/atomic_file.h"
#include "playlist/play_list_file.h"
#include "settings/save_failures.h"

namespace {

// The window in dialog units.
constexpr int kWidthUnits = 248;
constexpr int kHeightUnits = 235;

constexpr char kListFilter[] = "文本文件 (*.txt)|*.txt|所有文件 (*.*)|*.*||";
constexpr char kListDefaultName[] = "kinovue_list";

std::string Utf8(const QString& text) { return text.toUtf8().toStdString(); }

}  // namespace

QString CGeneralPlayListDlg::RowText(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  const bool whole = slash == std::string::npos || path.find("://") != std::string::npos;
  return QString::fromStdString(whole ? path : path.substr(slash + 1));
}

std::string CGeneralPlayListDlg::AddFilesFilterText() {
  std::string text = "媒体文件 (所有类型)|*";
  text += kMediaExtensionTable.front().extension;
  for (std::size_t i = 1; i < kMediaExtensionTable.size(); ++i) {
    const char* extension = kMediaExtensionTable[i].extension;
    if (IsFilterExcluded(extension)) continue;
    text += ";*";
    text += extension;
  }
  return text + "|所有文件 (*.*)|*.*||";
}

CGeneralPlayListDlg::CGeneralPlayListDlg(CGeneralPlayList& owner, QWidget* parent, Options options)
    : QDialog(parent), owner_(owner), options_(std::move(options)) {
  setObjectName("CGeneralPlayListDlg");
  setFont(DialogFont());
  setWindowTitle("播放列表");
  setAcceptDrops(true);
  setModal(false);
  const DialogUnits units(font());
  setFixedSize(units.Size(kWidthUnits, kHeightUnits));

  listBox_ = new CListBoxEx(this);
  SetControlId(listBox_, IDC_LIST);
  listBox_->setGeometry(units.Rect(1, 4, 245, 209));
  listBox_->setSelectionMode(QAbstractItemView::SingleSelection);
  listBox_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  listBox_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  connect(listBox_, &QListWidget::itemSelectionChanged, this, &CGeneralPlayListDlg::OnSelectionChanged);
  connect(listBox_, &CListBoxEx::RowDoubleClicked, this, [this](int row) { owner_.Play(row); });

  connect(AddButton(IDC_ADD, "增加", 4, 218), &QPushButton::clicked, this, &CGeneralPlayListDlg::OnAddFiles);
  connect(AddButton(IDC_DELETE, "删除", 40, 218), &QPushButton::clicked, this, &CGeneralPlayListDlg::OnDelete);
  connect(AddButton(IDC_CLEAR, "清空", 75, 218), &QPushButton::clicked, this, &CGeneralPlayListDlg::OnClear);
  connect(AddButton(IDC_EXPORT, "导出", 110, 218), &QPushButton::clicked, this, &CGeneralPlayListDlg::OnExport);
  connect(AddButton(IDC_IMPORT, "导入", 145, 218), &QPushButton::clicked, this, &CGeneralPlayListDlg::OnImport);
  // The template's OK and Cancel exist but are never shown.
  AddButton(IDC_OK, "确定", 196, 161, false)->setDefault(true);
  AddButton(IDC_CANCEL, "取消", 196, 138, false);

  owner_.Load(options_.storedPath);
}

CGeneralPlayListDlg::~CGeneralPlayListDlg() {
  if (dock_) dock_->RemoveWindow(dockHandle_);
}

QPushButton* CGeneralPlayListDlg::AddButton(int id, const QString& text, int x, int y, bool visible) {
  const DialogUnits units(font());
  auto* button = new QPushButton(text, this);
  SetControlId(button, id);
  button->setAutoDefault(false);
  button->setGeometry(units.Rect(x, y, id == IDC_OK || id == IDC_CANCEL ? 50 : 31, 14));
  button->setVisible(visible);
  return button;
}

void CGeneralPlayListDlg::Create(QWidget* parent, WindowDock* dockManager) {
  dockHandle_ = WidgetDockWindows::HandleOf(this);
  if (options_.reportMoved) {
    new DockMoveWatcher(this, [this] { options_.reportMoved(dockHandle_); });
  }
  if (dockManager && parent) {
    dock_ = dockManager;
    dock_->AddWindow(dockHandle_, WidgetDockWindows::HandleOf(parent->window()), DockRight, true);
  }
}

void CGeneralPlayListDlg::Show() {
  show();
  raise();
}

void CGeneralPlayListDlg::AppendRow(const std::string& path) {
  updatingRows_ = true;
  listBox_->InsertRow(listBox_->count(), RowText(path));
  updatingRows_ = false;
}

void CGeneralPlayListDlg::InsertFirstRow(const std::string& path) {
  updatingRows_ = true;
  listBox_->InsertRow(0, RowText(path));
  updatingRows_ = false;
}

void CGeneralPlayListDlg::DeleteRow(int index) {
  updatingRows_ = true;
  delete listBox_->takeItem(index);
  updatingRows_ = false;
}

void CGeneralPlayListDlg::ClearRows() {
  for (int row = listBox_->count() - 1; row >= 0; --row) owner_.Remove(row);
}

void CGeneralPlayListDlg::SwapRows(int a, int b) {
  const int low = std::min(a, b);
  const int high = std::max(a, b);
  if (low < 0 || high >= listBox_->count()) return;
  updatingRows_ = true;
  const QString highText = listBox_->item(high)->text();
  const QString lowText = listBox_->item(low)->text();
  delete listBox_->takeItem(high);
  delete listBox_->takeItem(low);
  listBox_->InsertRow(low, highText);
  listBox_->InsertRow(high, lowText);
  updatingRows_ = false;
}

void CGeneralPlayListDlg::SelectRow(int index) {
  updatingRows_ = true;
  if (index < 0 || index >= listBox_->count()) {
    listBox_->setCurrentRow(-1);
    listBox_->clearSelection();
  } else {
    listBox_->SelectRowLater(index);
  }
  updatingRows_ = false;
}

void CGeneralPlayListDlg::OnSelectionChanged() {
  if (updatingRows_) return;
  const QList<QListWidgetItem*> selected = listBox_->selectedItems();
  selectedRow_ = selected.isEmpty() ? -1 : listBox_->row(selected.front());
  const int pressed = listBox_->PressedRow();
  if (pressed >= 0 && selectedRow_ >= 0) {
    if (pressed == selectedRow_) return;
    // The pressed row and the newly selected one change places.
    owner_.Swap(selectedRow_, pressed);
  }
  SelectRow(selectedRow_);
}

void CGeneralPlayListDlg::SaveStored() {
  // A failed save leaves the stored list as it was; the user hears of it.
  if (const int error = WritePlayListFile(options_.storedPath, owner_.Items()))
    settings::ReportSaveFailure(options_.storedPath, error);
}

int CGeneralPlayListDlg::RunDialog(QDialog& dialog) {
  return options_.runDialog ? options_.runDialog(dialog) : dialog.exec();
}

void CGeneralPlayListDlg::OnAddFiles() {
  QFileDialog dialog(this);
  dialog.setFileMode(QFileDialog::ExistingFiles);
  dialog.setOption(QFileDialog::HideNameFilterDetails);
  dialog.setNameFilters(ToQtNameFilters(AddFilesFilterText()));
  if (RunDialog(dialog) == QDialog::Accepted) {
    for (const QString& file : dialog.selectedFiles()) owner_.Add(Utf8(file));
  }
  SaveStored();
}

void CGeneralPlayListDlg::OnDelete() {
  const QList<QListWidgetItem*> selected = listBox_->selectedItems();
  if (selected.isEmpty()) return;
  owner_.Remove(listBox_->row(selected.front()));
  SaveStored();
}

void CGeneralPlayListDlg::OnClear() {
  owner_.Clear();
  SaveStored();
}

void CGeneralPlayListDlg::OnExport() {
  QFileDialog dialog(this);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setOption(QFileDialog::HideNameFilterDetails);
  dialog.setNameFilters(ToQtNameFilters(kListFilter));
  dialog.setDefaultSuffix("txt");
  dialog.selectFile(kListDefaultName);
  if (RunDialog(dialog) != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
  // The user chose to overwrite this file: into a folder where no new file
  // may be made, it is rewritten in place.
  platform::AtomicWriteOptions inPlace;
  inPlace.inPlaceFallback = true;
  if (const int error = WritePlayListFile(Utf8(dialog.selectedFiles().front()), owner_.Items(), inPlace)) {
    QMessageBox box(QMessageBox::Warning, "Kinovue",
                    "无法导出播放列表: " + QString::fromStdString(platform::WriteErrorText(error)), QMessageBox::Ok, this);
    RunDialog(box);
  }
}

void CGeneralPlayListDlg::OnImport() {
  QFileDialog dialog(this);
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  dialog.setFileMode(QFileDialog::ExistingFile);
  dialog.setOption(QFileDialog::HideNameFilterDetails);
  dialog.setNameFilters(ToQtNameFilters(kListFilter));
  dialog.setDefaultSuffix("txt");
  dialog.selectFile(kListDefaultName);
  if (RunDialog(dialog) == QDialog::Accepted && !dialog.selectedFiles().isEmpty())
    owner_.Load(Utf8(dialog.selectedFiles().front()));
  SaveStored();
}

void CGeneralPlayListDlg::closeEvent(QCloseEvent* event) {
  SaveStored();
  QDialog::closeEvent(event);  // hides the window
}

void CGeneralPlayListDlg::reject() { hide(); }

void CGeneralPlayListDlg::accept() {}

void CGeneralPlayListDlg::dragEnterEvent(QDragEnterEvent* event) {
  if (event->mimeData()->hasUrls()) event->acceptProposedAction();
}

void CGeneralPlayListDlg::dropEvent(QDropEvent* event) {
  for (const QUrl& url : event->mimeData()->urls()) {
    if (url.isLocalFile()) owner_.Add(Utf8(url.toLocalFile()));
  }
  event->acceptProposedAction();
}
