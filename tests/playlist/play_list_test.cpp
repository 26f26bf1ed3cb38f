#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "playlist/general_play_list.h"
#include "recording_view.h"

namespace {

using Lines = std::vector<std::string>;

Lines Items(const CGeneralPlayList& list) {
  Lines items;
  for (int i = 0; i < list.Count(); ++i) items.push_back(list.ItemAt(i));
  return items;
}

void Fill(CGeneralPlayList& list, int count) {
  for (int i = 0; i < count; ++i) list.Add("/m/" + std::to_string(i));
}

// Adding an existing item is how current is moved without playing.
void MakeCurrent(CGeneralPlayList& list, int index) {
  list.Add(list.ItemAt(index));
  ASSERT_EQ(list.Current(), index);
}

int Next(CGeneralPlayList& list, bool random, bool repeat, bool loop, bool forward) {
  std::string path = "untouched";
  const int index = list.GetNext(path, true, random, repeat, loop, forward);
  EXPECT_EQ(path, index >= 0 ? list.ItemAt(index) : "untouched");
  return index;
}

TEST(PlayListAdd, ClosedWindowAppendsWithoutMovingCurrentAndNeverDuplicates) {
  CGeneralPlayList list;
  for (const char* path : {"/m/a", "/m/A", "/m/a ", "/m/电影"}) list.Add(path);
  EXPECT_EQ(Items(list), (Lines{"/m/a", "/m/A", "/m/a ", "/m/电影"}));  // exact bytes, case matters
  EXPECT_EQ(list.Current(), -1);
  EXPECT_EQ(Next(list, false, false, false, true), 0);
  list.Add("/m/电影");
  EXPECT_EQ(list.Current(), 3);
  list.AddToFront("/m/A");
  EXPECT_EQ(list.Current(), 1);
  EXPECT_EQ(list.Count(), 4);
}

TEST(PlayListAdd, OpenWindowGetsRowsAndTheNewItemBecomesCurrent) {
  CGeneralPlayList list;
  RecordingView* view = OpenWindow(list);
  ASSERT_NE(view, nullptr);
  list.Add("/m/a");
  list.Add("/m/b");
  list.Add("/m/a");
  list.AddToFront("/m/c");
  EXPECT_EQ(view->calls, (Lines{"AppendRow /m/a", "SelectRow 0", "AppendRow /m/b", "SelectRow 1", "SelectRow 0",
                                "InsertFirstRow /m/c", "SelectRow 0"}));
  EXPECT_EQ(view->rows, Items(list));
  EXPECT_EQ(list.ItemAt(list.Current()), "/m/c");
}

TEST(PlayListAdd, ToFrontWithClosedWindowKeepsTheSameCurrentItem) {
  CGeneralPlayList list;
  Fill(list, 3);
  list.AddToFront("/m/x");
  EXPECT_EQ(list.Current(), -1);
  MakeCurrent(list, 2);
  list.AddToFront("/m/y");
  EXPECT_EQ(list.ItemAt(list.Current()), "/m/1");
  EXPECT_EQ(list.ItemAt(Next(list, false, false, false, true)), "/m/2");
}

TEST(PlayListRemove, CurrentHandsOverToThePreviousSoForwardPlaysTheFollower) {
  CGeneralPlayList list;
  Fill(list, 4);
  MakeCurrent(list, 2);
  EXPECT_EQ(list.Remove(2), 1);
  EXPECT_EQ(list.ItemAt(Next(list, false, false, false, true)), "/m/3");
  MakeCurrent(list, 0);
  EXPECT_EQ(list.Remove(0), -1);
  EXPECT_EQ(list.ItemAt(Next(list, false, false, false, true)), "/m/1");
}

TEST(PlayListRemove, OthersShiftCurrentOnlyWhenBeforeIt) {
  CGeneralPlayList list;
  RecordingView* view = OpenWindow(list);
  Fill(list, 5);
  MakeCurrent(list, 2);
  view->calls.clear();
  list.Remove(4);
  EXPECT_EQ(list.Current(), 2);
  list.Remove(0);
  EXPECT_EQ(list.ItemAt(list.Current()), "/m/2");
  EXPECT_EQ(view->calls, (Lines{"DeleteRow 4", "DeleteRow 0"}));
  EXPECT_EQ(view->rows, Items(list));
  view->calls.clear();
  for (int index : {3, -1, INT_MIN, INT_MAX}) EXPECT_EQ(list.Remove(index), 3) << index;
  EXPECT_EQ(list.Count(), 3);
  EXPECT_TRUE(view->calls.empty());
  list.Add("/m/0");  // removed items can come back
  EXPECT_EQ(list.Count(), 4);
}

TEST(PlayListClear, WindowRowsGoThroughRemoveAndTheListEndsEmpty) {
  CGeneralPlayList list;
  RecordingView* view = OpenWindow(list);
  Fill(list, 3);
  view->calls.clear();
  list.Clear();
  EXPECT_EQ(view->calls, (Lines{"ClearRows", "DeleteRow 2", "DeleteRow 1", "DeleteRow 0"}));
  EXPECT_TRUE(view->rows.empty());
  EXPECT_TRUE(list.IsEmpty());
  EXPECT_EQ(list.Current(), -1);
  Fill(list, 1);
  EXPECT_EQ(list.Count(), 1);
}

TEST(PlayListNext, NothingWhenNotPlayingFromListOrEmpty) {
  CGeneralPlayList list;
  EXPECT_EQ(Next(list, false, false, true, true), -1);
  Fill(list, 3);
  MakeCurrent(list, 1);
  std::string path = "untouched";
  for (int f = 0; f < 16; ++f) EXPECT_EQ(list.GetNext(path, false, f & 1, f & 2, f & 4, f & 8), -1);
  EXPECT_EQ(path, "untouched");
  EXPECT_EQ(list.Current(), 1);
}

TEST(PlayListNext, WithoutLoopTheEndsGiveNothingThenStartAgain) {
  CGeneralPlayList list;
  Fill(list, 3);
  MakeCurrent(list, 2);
  EXPECT_EQ(Next(list, false, false, false, true), -1);
  EXPECT_EQ(list.Current(), -1);
  EXPECT_EQ(Next(list, false, false, false, true), 0);
  EXPECT_EQ(Next(list, false, false, false, false), -1);
  EXPECT_EQ(Next(list, false, false, false, false), -1);  // from none
}

TEST(PlayListNext, LoopWrapsBothWaysAndFromNone) {
  CGeneralPlayList list;
  Fill(list, 3);
  EXPECT_EQ(Next(list, false, false, true, false), 2);  // none lies after the last ...
  EXPECT_EQ(Next(list, false, false, true, true), 0);
  EXPECT_EQ(Next(list, false, false, true, false), 2);
  CGeneralPlayList fresh;
  Fill(fresh, 3);
  EXPECT_EQ(Next(fresh, false, false, true, true), 0);  // ... and before the first

  CGeneralPlayList shown;
  RecordingView* view = OpenWindow(shown);
  Fill(shown, 3);
  view->calls.clear();
  EXPECT_EQ(Next(shown, false, false, true, true), 0);
  EXPECT_EQ(view->calls, (Lines{"SelectRow 0"}));
}

TEST(PlayListNext, RepeatCurrentStaysAndNeedsACurrentItem) {
  CGeneralPlayList list;
  Fill(list, 3);
  EXPECT_EQ(Next(list, false, true, true, true), -1);
  MakeCurrent(list, 1);
  EXPECT_EQ(Next(list, false, true, true, true), 1);
  EXPECT_EQ(Next(list, false, true, false, false), 1);
}

TEST(PlayListRandom, SequenceFromSeedOne) {
  PlayListRandom random;
  for (int value : {41, 18467, 6334, 26500, 19169, 15724, 11478, 29358, 26962, 24464}) EXPECT_EQ(random.Next(), value);
  for (int i = 0; i < 100000; ++i) {
    const int value = random.Next();
    ASSERT_TRUE(value >= 0 && value <= 32767) << value;
  }
}

TEST(PlayListRandom, PicksFollowTheGeneratorAndNeverRepeat) {
  PlayListRandom random;
  CGeneralPlayList list(&random);
  Fill(list, 10);
  // Draws mod 10: 1, 7, 4, 0, 9, 4, 8, 8, 2; the second 8 is drawn again.
  std::vector<int> picks;
  for (int i = 0; i < 8; ++i) picks.push_back(Next(list, true, false, false, true));
  EXPECT_EQ(picks, (std::vector<int>{1, 7, 4, 0, 9, 4, 8, 2}));
}

TEST(PlayListRandom, OneItemNeedsNoDrawTwoItemsAlternate) {
  PlayListRandom random;
  CGeneralPlayList one(&random);
  one.Add("/m/only");
  for (int i = 0; i < 3; ++i) EXPECT_EQ(Next(one, true, false, false, true), 0);
  EXPECT_EQ(random.Next(), 41);  // still the start of the sequence

  CGeneralPlayList two(&random);
  Fill(two, 2);
  int last = Next(two, true, true, true, false);  // random wins over repeat and loop
  for (int i = 0; i < 50; ++i) {
    const int pick = Next(two, true, true, false, false);
    ASSERT_EQ(pick, 1 - last);
    last = pick;
  }
}

TEST(PlayListRandom, DefaultGeneratorIsTheProcessOne) {
  CGeneralPlayList first;
  CGeneralPlayList second;
  Fill(first, 32768);  // a draw is then the pick itself
  Fill(second, 32768);
  PlayListRandom expected = PlayListRandom::Process();
  EXPECT_EQ(Next(first, true, false, false, true), expected.Next());
  EXPECT_EQ(Next(second, true, false, false, true), expected.Next());
}

struct PlayRecord {
  Lines paths;
  CGeneralPlayList* clearWhilePlaying = nullptr;
};

void RecordPlay(const char* path, void* data) {
  auto* record = static_cast<PlayRecord*>(data);
  if (record->clearWhilePlaying) record->clearWhilePlaying->Clear();
  record->paths.emplace_back(path);
}

TEST(PlayListPlay, HandsTheItemToTheCallbackAndIgnoresBadIndexes) {
  CGeneralPlayList list;
  Fill(list, 3);
  list.Play(1);  // no callback yet: only current moves
  EXPECT_EQ(list.Current(), 1);
  RecordingView* view = OpenWindow(list);
  PlayRecord record;
  list.SetPlayCallback(&RecordPlay, &record);
  list.Play(2);
  for (int index : {3, -1, INT_MIN}) list.Play(index);
  EXPECT_EQ(record.paths, (Lines{"/m/2"}));
  EXPECT_EQ(list.Current(), 2);
  EXPECT_EQ(view->calls, (Lines{"SelectRow 2"}));
}

TEST(PlayListPlay, CallbackMayEmptyTheListWhileItRuns) {
  CGeneralPlayList list;
  PlayRecord record;
  record.clearWhilePlaying = &list;
  list.SetPlayCallback(&RecordPlay, &record);
  const std::string longPath = "/m/" + std::string(300, 'x');
  list.Add(longPath);
  list.Play(0);
  EXPECT_EQ(record.paths, (Lines{longPath}));
  EXPECT_TRUE(list.IsEmpty());
}

TEST(PlayListSwap, ExchangesRowsThenItemsButNotCurrentsNumber) {
  CGeneralPlayList list;
  RecordingView* view = OpenWindow(list);
  Fill(list, 3);
  MakeCurrent(list, 0);
  view->calls.clear();
  for (auto [a, b] : std::vector<std::pair<int, int>>{{1, 1}, {-1, 0}, {0, 3}, {INT_MIN, 1}, {2, INT_MAX}}) {
    list.Swap(a, b);
  }
  EXPECT_TRUE(view->calls.empty());
  list.Swap(0, 2);
  EXPECT_EQ(view->calls, (Lines{"SwapRows 0 2"}));
  EXPECT_EQ(view->itemsAtSwap, (Lines{"/m/0", "/m/2"}));  // the rows move first
  EXPECT_EQ(Items(list), (Lines{"/m/2", "/m/1", "/m/0"}));
  EXPECT_EQ(view->rows, Items(list));
  EXPECT_EQ(list.Current(), 0);
}

TEST(PlayListWindow, WithoutAWindowShowWindowDoesNothing) {
  CGeneralPlayList list;
  Fill(list, 2);
  list.ShowWindow(nullptr, nullptr);
  EXPECT_FALSE(list.HasWindow());
  EXPECT_EQ(list.Count(), 2);
}

TEST(PlayListWindow, FirstShowFillsFromStoredListMirrorsItemsAndLivesWithTheList) {
  bool destroyed = false;
  {
    CGeneralPlayList list;
    list.Add("/m/dropped");
    RecordingView* view = nullptr;
    int built = 0;
    list.SetViewFactory([&](CGeneralPlayList& owner, QWidget*) {
      ++built;
      // The stored playlist is read before the view is attached: no rows,
      // and current moves only on a repeated item.
      owner.Add("/m/stored");
      owner.Add("/m/dropped");
      auto made = std::make_unique<RecordingView>(owner, &destroyed);
      view = made.get();
      return std::unique_ptr<CPlayListView>(std::move(made));
    });
    list.ShowWindow(nullptr, nullptr);
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->calls, (Lines{"Create", "Show", "AppendRow /m/dropped", "AppendRow /m/stored", "SelectRow 0"}));
    view->calls.clear();
    list.ShowWindow(nullptr, nullptr);
    EXPECT_EQ(view->calls, (Lines{"Show"}));
    EXPECT_EQ(built, 1);
    EXPECT_FALSE(destroyed);
  }
  EXPECT_TRUE(destroyed);
}

// The duplicate check keeps an index of positions: after any run of edits
// it must agree with a search of the list from the front.
TEST(PlayListIndex, AgreesWithALinearSearchThroughEveryKindOfEdit) {
  CGeneralPlayList list;
  std::mt19937 random(7);
  for (int step = 0; step < 4000; ++step) {
    const std::string path = "/m/" + std::to_string(random() % 40);
    const int a = static_cast<int>(random() % 45) - 2;
    const int b = static_cast<int>(random() % 45) - 2;
    switch (random() % 5) {
      case 0: list.Add(path); break;
      case 1: list.AddToFront(path); break;
      case 2: case 3: list.Remove(a); break;
      default: list.Swap(a, b); break;
    }
    const Lines items = Items(list);
    ASSERT_EQ(std::set<std::string>(items.begin(), items.end()).size(), items.size()) << "step " << step;
    const auto first = std::find(items.begin(), items.end(), path);
    if (first == items.end()) continue;
    list.Add(path);  // an existing item: found where a search finds it
    ASSERT_EQ(list.Current(), first - items.begin()) << "step " << step;
    ASSERT_EQ(Items(list), items) << "step " << step;
  }
}

}  // namespace
