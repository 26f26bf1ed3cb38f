#include "mainwindow/menu_tables.h"

#include <array>

#include "mainwindow/command_ids.h"

namespace {

constexpr MenuRow Item(int id, const char* text) { return {MenuRowKind::Item, id, text}; }
constexpr MenuRow Popup(const char* text) { return {MenuRowKind::Popup, 0, text}; }
constexpr MenuRow kSep{MenuRowKind::Separator, 0, nullptr};
constexpr MenuRow kEnd{MenuRowKind::EndPopup, 0, nullptr};

constexpr std::array kMainMenu{
    Popup("文件(&F)"),
    Item(ID_OPEN_FILE, "打开文件\tCtrl+O"),
    Item(ID_OPEN_URL, "打开URL\tCtrl+U"),
    Popup("打开VCD/DVD"), Item(ID_DISC_PLACEHOLDER, ""), kEnd,
    kSep,
    Item(ID_SHOW_PLAYLIST, "打开播放列表"),
    Item(ID_AUTO_PLAY_FROM_LIST, "自动从播放列表中选择播放"),
    Item(ID_PLAYLIST_RANDOM, "随机选择"),
    Popup("顺序选择"), Item(ID_PLAYLIST_BACKWARD, "向后"), Item(ID_PLAYLIST_FORWARD, "向前"), kEnd,
    Item(ID_PLAYLIST_LOOP, "循环播放"),
    Item(ID_REPEAT_CURRENT, "重复播放当前文件"),
    kSep,
    Popup("最近播放文件"), Item(ID_RECENT_PLACEHOLDER, "占位菜单"), kEnd,
    Item(ID_CLEAR_RECENT, "清除最近播放文件"),
    kSep,
    Item(ID_EXIT, "退出\tAlt+X"),
    kEnd,

    Popup("查看(&V)"),
    Item(ID_NATIVE_SIZE, "原始尺寸\tCtrl+R"),
    Item(ID_DOUBLE_SIZE, "2倍尺寸\tCtrl+T"),
    Item(ID_FULL_SCREEN, "全屏\tCtrl+F"),
    Item(ID_TOPMOST, "播放时保持在桌面最上端"),
    kSep,
    Item(ID_VIDEO_PANEL, "视频面板\tCtrl+V"),
    Item(ID_AUDIO_PANEL, "音频面板\tCtrl+A"),
    kSep,
    Item(ID_SHOW_ENGINE_OUTPUT, "引擎输出信息"),
    kEnd,

    Popup("播放(&P)"),
    Item(ID_PLAY, "播放\tEnter/Space"),
    Item(ID_PAUSE, "暂停\tEnter/Space"),
    Item(ID_STOP, "停止"),
    Item(ID_GO_TO, "转到\tCtrl+G"),
    kSep,
    Item(ID_NEXT, "下一个\tCtrl+N"),
    Item(ID_PREVIOUS, "前一个\tCtrl+P"),
    kSep,
    Popup("声道"), Item(ID_STEREO, "立体声"), Item(ID_LEFT_CHANNEL, "左声道"), Item(ID_RIGHT_CHANNEL, "右声道"), kEnd,
    Popup("进度调节"),
    Item(ID_SEEK_FORWARD_10S, "前进10秒(Right)"),
    Item(ID_SEEK_BACK_10S, "后退10秒(Left)"),
    Item(ID_SEEK_FORWARD_1M, "前进1分(Down)"),
    Item(ID_SEEK_BACK_1M, "后退1分(Up)"),
    Item(ID_SEEK_FORWARD_10M, "前进10分(PageDown)"),
    Item(ID_SEEK_BACK_10M, "后退10分(PageUp)"),
    Item(ID_FRAME_STEP, "逐帧步进(.)"),
    kEnd,
    Popup("亮度调节"), Item(ID_BRIGHTNESS_UP, "增加亮度(&4)"), Item(ID_BRIGHTNESS_DOWN, "减少亮度(&3)"), kEnd,
    Popup("对比度调节"), Item(ID_CONTRAST_UP, "增加对比度(&2)"), Item(ID_CONTRAST_DOWN, "减少对比度(&1)"), kEnd,
    Popup("声音同步"), Item(ID_AUDIO_EARLIER, "声音快进0.1秒(&-)"), Item(ID_AUDIO_LATER, "声音延迟0.1秒(&+)"), kEnd,
    Popup("字幕同步"), Item(ID_SUBTITLE_EARLIER, "字幕快进0.1秒(&z)"), Item(ID_SUBTITLE_LATER, "字幕延迟0.1秒(&x)"), kEnd,
    kSep,
    Item(ID_SWITCH_AUDIO, "切换音轨(&a)"),
    Item(ID_SWITCH_SUBTITLE, "切换字幕语言(&j)"),
    kSep,
    Popup("播放速度"),
    Item(ID_SPEED_50, "0.5×"), Item(ID_SPEED_75, "0.75×"), Item(ID_SPEED_100, "1.0×\tBackspace"),
    Item(ID_SPEED_125, "1.25×"), Item(ID_SPEED_150, "1.5×"), Item(ID_SPEED_200, "2.0×"),
    kEnd,
    Item(ID_REMEMBER_POSITION, "记住播放位置"),
    kEnd,

    Popup("工具(&T)"),
    Item(ID_PLAY_SETTINGS, "播放设置"),
    kSep,
    Popup("外观比例"),
    Item(ID_ASPECT_AUTO, "自动(&A)"), Item(ID_ASPECT_4_3, "4:3"), Item(ID_ASPECT_16_9, "16:9"),
    Item(ID_ASPECT_16_10, "16:10"),
    kEnd,
    Popup("去交错"),
    Item(ID_DEINTERLACE_OFF, "关闭"), Item(ID_DEINTERLACE_SIMPLE, "简单"), Item(ID_DEINTERLACE_ADAPTIVE, "适应"),
    kEnd,
    kSep,
    Item(ID_FILE_ASSOCIATION, "文件关联(&A)"),
    kEnd,

    Popup("帮助(&H)"),
    Item(ID_AUTO_UPDATE, "自动检查新版本"),
    Item(ID_CHECK_UPDATE, "立刻检查新版本"),
    kSep,
    Item(ID_KEY_HELP, "快捷键帮助"),
    Item(ID_HOME_PAGE, "访问Kinovue主页"),
    Item(ID_FORUM, "访问Kinovue论坛"),
    kSep,
    Item(ID_ABOUT, "关于(&A)..."),
    kEnd,

    Popup(""),
    Item(ID_SKIN_DEFAULT, "default.smf"),
    kSep,
    Item(ID_LOAD_SKIN, "载入皮肤(&L)"),
    Item(ID_CLEAR_SKIN, "清除皮肤(&C)"),
    kEnd,
};

constexpr std::array kContextMenu{
    Popup("pop menu"),
    Item(ID_CONTEXT_PLAY, "播放(&P)"),
    Item(ID_CONTEXT_PAUSE, "暂停(&A)"),
    Item(ID_CONTEXT_STOP, "停止(&S)"),
    kSep,
    Item(ID_CONTEXT_NEXT, "下一个(&N)"),
    Item(ID_CONTEXT_PREVIOUS, "上一个(&R)"),
    kSep,
    Item(ID_CONTEXT_FULL_SCREEN, "全屏(&F)"),
    Item(ID_CONTEXT_TOPMOST, "保持在窗口最上端(&T)"),
    kSep,
    Item(ID_CONTEXT_EXIT, "退出(&X)"),
    kEnd,
};

constexpr std::array kAccelerators{
    Accelerator{true, false, 'A', ID_AUDIO_PANEL},  Accelerator{true, false, 'F', ID_FULL_SCREEN},
    Accelerator{true, false, 'N', ID_NEXT},         Accelerator{true, false, 'O', ID_OPEN_FILE},
    Accelerator{true, false, 'P', ID_PREVIOUS},     Accelerator{true, false, 'R', ID_NATIVE_SIZE},
    Accelerator{true, false, 'T', ID_DOUBLE_SIZE},  Accelerator{true, false, 'U', ID_OPEN_URL},
    Accelerator{true, false, 'V', ID_VIDEO_PANEL},  Accelerator{false, true, 'X', ID_EXIT},
};

}  // namespace

std::span<const MenuRow> MainMenuRows() { return kMainMenu; }
std::span<const MenuRow> ContextMenuRows() { return kContextMenu; }
std::span<const Accelerator> AcceleratorTable() { return kAccelerators; }
