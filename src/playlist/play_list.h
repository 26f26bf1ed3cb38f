#pragma once
#include <string>

class QWidget;
class WindowDock;

// The window side of a playlist: the rows the playlist window shows. The
// playlist mirrors every change of its items into these calls while a view is
// attached; the view edits the list only through the playlist's operations.
// All calls run on the user-interface thread.
class CPlayListView {
 public:
  virtual ~CPlayListView() = default;

  // Creates the window (hidden) as a modeless child of parent and registers it
  // with the docking manager at the parent's right edge. Called once.
  virtual void Create(QWidget* parent, WindowDock* dockManager) = 0;
  // Shows the window as it was last placed.
  virtual void Show() = 0;

  virtual void AppendRow(const std::string& path) = 0;
  virtual void InsertFirstRow(const std::string& path) = 0;
  virtual void DeleteRow(int index) = 0;
  // Removes the rows from last to first through the owner's Remove.
  virtual void ClearRows() = 0;
  virtual void SwapRows(int a, int b) = 0;
  // -1 leaves no row selected; never counts as a user selection change.
  virtual void SelectRow(int index) = 0;
};

// The playlist as the main window sees it: an ordered list of media paths
// (UTF-8 bytes, compared exactly) with one current position. Single-threaded:
// only the user-interface thread calls it.
class CPlayList {
 public:
  // Receives the item text; data is the pointer given to SetPlayCallback.
  using PlayCallback = void (*)(const char* path, void* callbackData);

  // An existing equal item becomes current instead of being added again.
  virtual void Add(const std::string& path) = 0;
  virtual void AddToFront(const std::string& path) = 0;
  // Returns the new current index, or the item count when index is out of range.
  virtual int Remove(int index) = 0;
  virtual void Clear() = 0;
  // The item to play next by the play modes, copied into path; its index, or
  // -1 (path untouched) when there is nothing to play.
  virtual int GetNext(std::string& path, bool playFromList, bool random, bool repeatCurrent, bool loop,
                      bool forward) = 0;
  virtual void ShowWindow(QWidget* parent, WindowDock* dockManager) = 0;
  virtual void SetPlayCallback(PlayCallback callback, void* callbackData) = 0;
  // Makes index current and hands its text to the play callback.
  virtual void Play(int index) = 0;
  virtual bool IsEmpty() const = 0;
  // Playlist text file: one item per line, CR LF after each. True when written.
  virtual bool Save(const std::string& filePath) const = 0;
  // Appends the file's lines through Add. True when the file could be read.
  virtual bool Load(const std::string& filePath) = 0;

  virtual ~CPlayList() = default;
};
