#include "playlist/general_play_list.h"

#include "platform/program_folder.h"
#include "playlist/play_list_file.h"

PlayListRandom& PlayListRandom::Process() {
  static PlayListRandom random;
  return random;
}

CGeneralPlayList::CGeneralPlayList(PlayListRandom* random)
    : random_(random ? random : &PlayListRandom::Process()) {}

CGeneralPlayList::~CGeneralPlayList() {
  // The pointer is cleared before the window is deleted, so nothing the
  // window does while it goes away reaches it again.
  window_.reset();
}

const std::string& CGeneralPlayList::ItemAt(int index) const {
  static const std::string kNone;
  return InRange(index) ? items_[static_cast<std::size_t>(index)] : kNone;
}

int CGeneralPlayList::Find(const std::string& path) const {
  const auto it = index_.find(path);
  return it == index_.end() ? -1 : static_cast<int>(it->second - frontKey_);
}

void CGeneralPlayList::Add(const std::string& path) {
  const int found = Find(path);
  if (found >= 0) {
    current_ = found;
    if (window_) window_->SelectRow(found);
    return;
  }
  Index(path, frontKey_ + Count());
  items_.push_back(path);
  if (window_) {
    window_->AppendRow(path);
    current_ = Count() - 1;
    window_->SelectRow(current_);
  }
}

void CGeneralPlayList::AddToFront(const std::string& path) {
  const int found = Find(path);
  if (found >= 0) {
    current_ = found;
    if (window_) window_->SelectRow(found);
    return;
  }
  items_.push_front(path);
  Index(path, --frontKey_);
  if (window_) {
    window_->InsertFirstRow(path);
    current_ = 0;
    window_->SelectRow(0);
  } else if (current_ >= 0) {
    // Keep pointing at the same item, which moved one place down.
    ++current_;
  }
}

int CGeneralPlayList::Remove(int index) {
  if (!InRange(index)) return Count();
  index_.erase(items_[static_cast<std::size_t>(index)]);
  items_.erase(items_.begin() + index);
  // Renumber the shorter side: either the items after the removed one each
  // move up a place, or the front key moves on by one and the items before
  // it keep their places.
  const auto removed = static_cast<std::size_t>(index);
  if (removed < items_.size() / 2) {
    for (std::size_t i = 0; i < removed; ++i) ++index_[items_[i]];
    ++frontKey_;
  } else {
    for (std::size_t i = removed; i < items_.size(); ++i) --index_[items_[i]];
  }
  if (window_) window_->DeleteRow(index);
  // Removing the current item makes the one before it current, so that the
  // next forward step plays the item that followed the removed one.
  if (current_ >= index) --current_;
  return current_;
}

void CGeneralPlayList::Clear() {
  if (window_) window_->ClearRows();
  items_.clear();
  index_.clear();
  frontKey_ = 0;
  current_ = -1;
}

int CGeneralPlayList::GetNext(std::string& path, bool playFromList, bool random, bool repeatCurrent, bool loop,
                              bool forward) {
  if (!playFromList || items_.empty()) return -1;
  const int n = Count();
  const int p = current_;
  if (random) {
    if (n == 1) {
      current_ = 0;
    } else {
      // Never the same item twice in a row; from none one draw is enough.
      do {
        current_ = random_->Next() % n;
      } while (current_ == p);
    }
  } else if (repeatCurrent) {
    current_ = p;
  } else if (loop) {
    if (forward) {
      current_ = (p + 1) % n;  // none is followed by the first item
    } else {
      // None is preceded by the last item, as it is followed by the first.
      current_ = p <= 0 ? n - 1 : p - 1;
    }
  } else if (forward) {
    current_ = p + 1 < n ? p + 1 : -1;
  } else {
    current_ = p > 0 ? p - 1 : -1;
  }
  if (current_ < 0) return -1;
  path = items_[static_cast<std::size_t>(current_)];
  if (window_) window_->SelectRow(current_);
  return current_;
}

void CGeneralPlayList::ShowWindow(QWidget* parent, WindowDock* dockManager) {
  if (window_) {
    window_->Show();
    return;
  }
  if (!viewFactory_) return;
  // The view may fill the list from the stored playlist while it is built;
  // it is attached only afterwards, so those items come without rows.
  std::unique_ptr<CPlayListView> view = viewFactory_(*this, parent);
  if (!view) return;
  window_ = std::move(view);
  window_->Create(parent, dockManager);
  window_->Show();
  for (const std::string& item : items_) window_->AppendRow(item);
  window_->SelectRow(current_);
}

void CGeneralPlayList::SetPlayCallback(PlayCallback callback, void* callbackData) {
  playCallback_ = callback;
  callbackData_ = callbackData;
}

void CGeneralPlayList::Play(int index) {
  if (!InRange(index)) return;
  current_ = index;
  if (window_) window_->SelectRow(index);
  if (!playCallback_) return;
  // A copy: the callback may change the list while it runs.
  const std::string text = items_[static_cast<std::size_t>(index)];
  playCallback_(text.c_str(), callbackData_);
}

bool CGeneralPlayList::IsEmpty() const { return items_.empty(); }

bool CGeneralPlayList::Save(const std::string& filePath) const { return WritePlayListFile(filePath, items_) == 0; }

bool CGeneralPlayList::Load(const std::string& filePath) {
  return ReadPlayListFile(filePath, [this](const std::string& line) { Add(line); });
}

void CGeneralPlayList::Swap(int a, int b) {
  if (a == b || !InRange(a) || !InRange(b)) return;
  if (window_) window_->SwapRows(a, b);
  std::string& first = items_[static_cast<std::size_t>(a)];
  std::string& second = items_[static_cast<std::size_t>(b)];
  std::swap(index_[first], index_[second]);
  std::swap(first, second);
}

std::string StoredPlayListPath(const std::string& programFolder) {
  std::string path = programFolder;
  if (path.empty() || path.back() != '/') path += '/';
  return platform::DataFolder(path) + "PlayList.dat";
}
