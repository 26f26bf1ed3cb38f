#pragma once
#include <QDialog>
#include <functional>
#include <memory>
#include <string>

#include "playlist/general_play_list.h"

class CListBoxEx;
class QPushButton;

// The playlist window: one row per item (its file name), buttons to add,
// delete, clear, export and import, files dropped from the file manager,
// double click plays, moving the selection reorders. It keeps no list of its
// own: it edits the playlist through its operations and the playlist mirrors
// every change back into the rows. Closing saves the stored playlist, Esc
// only hides. Created by the playlist's first ShowWindow, hidden rather than
// closed, destroyed with the playlist (which must go before parent does).
class CGeneralPlayListDlg : public QDialog, public CPlayListView {
  Q_OBJECT

 public:
  // Control ids of the window's layout.
  enum ControlId {
    IDC_LIST = 1047,
    IDC_ADD = 1022,
    IDC_DELETE = 1023,
    IDC_CLEAR = 1049,
    IDC_EXPORT = 1024,
    IDC_IMPORT = 1025,
    IDC_OK = 1,
    IDC_CANCEL = 2,
  };

  struct Options {
    std::string storedPath;  // "PlayList.dat": read once here, written after the window's edits
    // Called with the window's handle when the user has finished moving it;
    // the main window answers by docking it anew (or leaving it free).
    std::function<void(std::uint64_t windowHandle)> reportMoved;
    // Runs the file dialogs (exec when empty); tests answer them.
    std::function<int(QDialog&)> runDialog;
  };

  // Reads the stored playlist into owner (not attached yet: no rows).
  CGeneralPlayListDlg(CGeneralPlayList& owner, QWidget* parent, Options options);
  ~CGeneralPlayListDlg() override;

  // CPlayListView
  void Create(QWidget* parent, WindowDock* dockManager) override;
  void Show() override;
  void AppendRow(const std::string& path) override;
  void InsertFirstRow(const std::string& path) override;
  void DeleteRow(int index) override;
  void ClearRows() override;
  void SwapRows(int a, int b) override;
  void SelectRow(int index) override;

  CListBoxEx* ListBox() const { return listBox_; }

  // The row text of an item: its name after the last '/', an address with
  // "://" whole.
  static QString RowText(const std::string& path);
  // "媒体文件 (所有类型)|*.3g2;...|所有文件 (*.*)|*.*||" over the whole media table.
  static std::string AddFilesFilterText();

  // The buttons' commands, as a click runs them.
  void OnAddFiles();
  void OnDelete();
  void OnClear();
  void OnExport();
  void OnImport();

 protected:
  void closeEvent(QCloseEvent* event) override;
  void reject() override;  // Esc and the cancel command: hide, no save
  void accept() override;  // Enter: nothing
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  void OnSelectionChanged();
  void SaveStored();
  int RunDialog(QDialog& dialog);
  QPushButton* AddButton(int id, const QString& text, int x, int y, bool visible = true);

  CGeneralPlayList& owner_;
  Options options_;
  CListBoxEx* listBox_ = nullptr;
  WindowDock* dock_ = nullptr;
  std::uint64_t dockHandle_ = 0;
  int selectedRow_ = -1;
  // Set while the rows change at the playlist's request: those selection
  // changes are not the user's and reorder nothing.
  bool updatingRows_ = false;
};
