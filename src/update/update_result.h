#pragma once
#include <string>

// The outcome of an update check (carried by WM_UPDATE_RESULT)
// and what the user is told.
enum UpdateResultCode : int {
  UPDATE_RESULT_DONE = 0,
  UPDATE_RESULT_LATEST = 1,
  UPDATE_RESULT_POSTPONED = 2,
  UPDATE_RESULT_NO_SERVER_LIST = 3,
  UPDATE_RESULT_BAD_SERVER_TEXT = 4,
  UPDATE_RESULT_LIST_FAILED = 5,
  UPDATE_RESULT_FILE_FAILED = 6,
  UPDATE_RESULT_NOTHING_NEWER = 7,
  UPDATE_RESULT_PACKAGE_MANAGED = 8,  // the program folder is not ours to write
  UPDATE_RESULT_HELPER_FAILED = 9,    // the restart helper did not answer; shown even unasked
  UPDATE_RESULT_PACKAGE_OFFERED = 10, // not ours to write, and the server offers a newer version
};

// The text shown for code, or null when nothing is shown (or the text needs
// the version: UpdateResultMessage).
const char* UpdateResultText(int code);
// The text shown for code, with offered the version an installed copy was
// offered; empty when nothing is shown.
std::string UpdateResultMessage(int code, long long offered);

inline constexpr char kUpdateResultCaption[] = "提示";
inline constexpr char kRestartQuestion[] = "升级需要关闭\"Kinovue\"主程序,您确定立刻升级吗?";
inline constexpr char kRestartCaption[] = "升级更新";
inline constexpr char kHelperDoneText[] = "临时进程完成升级, 立刻退出!";
inline constexpr char kUpgradeIncompleteText[] = "升级未完成,程序仍是原来的版本";
