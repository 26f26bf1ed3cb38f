#include "net/net_module.h"

namespace net {

bool NetModule::Load(const std::string& path) {
  if (IsLoaded()) return true;
  if (path.empty() || path[0] != '/') {
    error_ = "no program folder to load " + std::string(kNetModuleFile) + " from";
    return false;
  }
  if (!library_.Load(path)) {
    error_ = library_.ErrorText();
    return false;
  }
  getStatusOk_ = reinterpret_cast<HttpGetStatusOkFn>(library_.Symbol(kHttpGetStatusOkExport));
  download_ = reinterpret_cast<HttpDownloadFn>(library_.Symbol(kHttpDownloadExport));
  if (!getStatusOk_ || !download_) {
    error_ = library_.ErrorText();
    getStatusOk_ = nullptr;
    download_ = nullptr;
    library_.Free();
    return false;
  }
  library_.KeepLoaded();
  error_.clear();
  return true;
}

int NetModule::HttpGetStatusOk(const std::string& url) const {
  return getStatusOk_ ? getStatusOk_(url.c_str()) : 0;
}

bool NetModule::HttpDownload(const std::string& url, std::size_t maxBody, HttpReply& reply) const {
  return download_ && download_(url.c_str(), maxBody, &reply) != 0;
}

}  // namespace net
