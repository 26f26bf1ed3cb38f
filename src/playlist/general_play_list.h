#pragma once
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <unordered_map>

#include "playlist/play_list.h"
#include "playlist/play_list_random.h"

// The program's playlist. Items are unique (exact byte comparison) and kept in
// playing order; current is -1 (none) or a valid index. A view (the playlist
// window) is created lazily by the first ShowWindow through the view factory;
// without a factory the list works alone and ShowWindow does nothing.
class CGeneralPlayList : public CPlayList {
 public:
  // Builds the window for this playlist. It may Load the stored playlist into
  // the owner while being built (the view is not attached yet then).
  using ViewFactory = std::function<std::unique_ptr<CPlayListView>(CGeneralPlayList& owner, QWidget* parent)>;

  // random: the generator for random picks; null means the process's own.
  explicit CGeneralPlayList(PlayListRandom* random = nullptr);
  ~CGeneralPlayList() override;
  CGeneralPlayList(const CGeneralPlayList&) = delete;
  CGeneralPlayList& operator=(const CGeneralPlayList&) = delete;

  void Add(const std::string& path) override;
  void AddToFront(const std::string& path) override;
  int Remove(int index) override;
  void Clear() override;
  int GetNext(std::string& path, bool playFromList, bool random, bool repeatCurrent, bool loop,
              bool forward) override;
  void ShowWindow(QWidget* parent, WindowDock* dockManager) override;
  void SetPlayCallback(PlayCallback callback, void* callbackData) override;
  void Play(int index) override;
  bool IsEmpty() const override;
  bool Save(const std::string& filePath) const override;
  bool Load(const std::string& filePath) override;

  // Exchanges two items (reordering in the window); current keeps its number.
  void Swap(int a, int b);

  void SetViewFactory(ViewFactory factory) { viewFactory_ = std::move(factory); }

  int Count() const { return static_cast<int>(items_.size()); }
  const std::deque<std::string>& Items() const { return items_; }
  // Item text; empty for an index out of range.
  const std::string& ItemAt(int index) const;
  int Current() const { return current_; }
  bool HasWindow() const { return window_ != nullptr; }

 private:
  // Index of the item equal to path, or -1.
  int Find(const std::string& path) const;
  bool InRange(int index) const { return index >= 0 && static_cast<std::size_t>(index) < items_.size(); }

  // The index keeps item -> position as a key that survives insertions at
  // the front: position = key - frontKey_. A removal renumbers the items on
  // its shorter side (the removal moves those anyway).
  void Index(const std::string& path, long long key) { index_.insert_or_assign(path, key); }

  std::deque<std::string> items_;
  // Every item's position, so that the duplicate check of a long list (a big
  // import, the stored playlist) is no scan of the whole list per new line.
  std::unordered_map<std::string, long long> index_;
  long long frontKey_ = 0;
  int current_ = -1;
  PlayListRandom* random_;
  PlayCallback playCallback_ = nullptr;
  void* callbackData_ = nullptr;
  ViewFactory viewFactory_;
  // Declared last: destroyed before the items.
  std::unique_ptr<CPlayListView> window_;
};

// "PlayList.dat" in the data folder that belongs to the program folder (with
// or without its trailing '/').
std::string StoredPlayListPath(const std::string& programFolder);
