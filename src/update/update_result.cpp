#include "update/update_result.h"

const char* UpdateResultText(int code) {
  static const char* const kTexts[] = {
      "升级成功",
      "您当前使用的是最新版本",
      "您已经下载了最新版本的文件但还未更新,程序下次启动后将会自动更新",
      "远程服务器配置信息文件不存在或格式错误,升级更新未完成",
      "配置文件中\"url\"或\"filename\"项格式错误",
      "下载更新列表失败，请稍后再试",
      "下载文件失败，请稍后再试",
      "您当前使用的是最新版本",
      "Kinovue 由软件包管理器安装,请通过软件包管理器更新",
      "升级进程没有响应,升级未完成,程序将继续运行",
  };
  if (code < 0 || code >= static_cast<int>(sizeof kTexts / sizeof kTexts[0])) return nullptr;
  return kTexts[code];
}

std::string UpdateResultMessage(int code, long long offered) {
  if (code == UPDATE_RESULT_PACKAGE_OFFERED) {
    return "发现新版本 " + std::to_string(offered) + "。" + UpdateResultText(UPDATE_RESULT_PACKAGE_MANAGED);
  }
  const char* text = UpdateResultText(code);
  return text ? text : "";
}
