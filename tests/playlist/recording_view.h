#pragma once
#include <string>
#include <vector>

#include "playlist/general_play_list.h"

// A playlist window without a window: keeps its rows like the real one and
// records every call the playlist makes, in order.
class RecordingView : public CPlayListView {
 public:
  explicit RecordingView(CGeneralPlayList& owner, bool* destroyed = nullptr) : owner_(owner), destroyed_(destroyed) {}
  ~RecordingView() override {
    if (destroyed_) *destroyed_ = true;
  }

  void Create(QWidget*, WindowDock*) override { calls.push_back("Create"); }
  void Show() override { calls.push_back("Show"); }
  void AppendRow(const std::string& path) override {
    calls.push_back("AppendRow " + path);
    rows.push_back(path);
  }
  void InsertFirstRow(const std::string& path) override {
    calls.push_back("InsertFirstRow " + path);
    rows.insert(rows.begin(), path);
  }
  void DeleteRow(int index) override {
    calls.push_back("DeleteRow " + std::to_string(index));
    rows.erase(rows.begin() + index);
  }
  // As the real window: last row first, through the owner.
  void ClearRows() override {
    calls.push_back("ClearRows");
    for (int row = static_cast<int>(rows.size()) - 1; row >= 0; --row) owner_.Remove(row);
  }
  void SwapRows(int a, int b) override {
    calls.push_back("SwapRows " + std::to_string(a) + " " + std::to_string(b));
    itemsAtSwap = {owner_.ItemAt(a), owner_.ItemAt(b)};
    std::swap(rows[static_cast<std::size_t>(a)], rows[static_cast<std::size_t>(b)]);
  }
  void SelectRow(int index) override {
    calls.push_back("SelectRow " + std::to_string(index));
    selected = index;
  }

  std::vector<std::string> calls;
  std::vector<std::string> rows;
  std::vector<std::string> itemsAtSwap;
  int selected = -2;  // never selected

 private:
  CGeneralPlayList& owner_;
  bool* destroyed_;
};

// Opens the window on list and returns the view it got (owned by the list).
inline RecordingView* OpenWindow(CGeneralPlayList& list) {
  RecordingView* view = nullptr;
  list.SetViewFactory([&view](CGeneralPlayList& owner, QWidget*) {
    auto made = std::make_unique<RecordingView>(owner);
    view = made.get();
    return std::unique_ptr<CPlayListView>(std::move(made));
  });
  list.ShowWindow(nullptr, nullptr);
  list.SetViewFactory(nullptr);
  if (view) view->calls.clear();
  return view;
}
