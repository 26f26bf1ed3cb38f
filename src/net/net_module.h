#pragma once
#include <cstddef>
#include <string>

#include "net/net_module_contract.h"
#include "platform/dynamic_library.h"

namespace net {

// The network module, loaded on first use. Once loaded it stays in the
// process: Qt's network library keeps objects of its own alive until the
// application object is gone. Needs a QCoreApplication for its requests.
class NetModule {
 public:
  // Loads the module file at path, an absolute path (a bare name would be
  // looked for along the system's library path), unless it is loaded
  // already. False, with ErrorText() saying why, when it cannot be used.
  bool Load(const std::string& path);
  bool IsLoaded() const { return getStatusOk_ != nullptr; }
  // HttpGetStatusOk of net/http_client.h run by the module; 0 when it is
  // not loaded.
  int HttpGetStatusOk(const std::string& url) const;
  // HttpDownload of net/http_download.h run by the module; false when it is
  // not loaded.
  bool HttpDownload(const std::string& url, std::size_t maxBody, HttpReply& reply) const;
  const std::string& ErrorText() const { return error_; }

 private:
  platform::DynamicLibrary library_;
  HttpGetStatusOkFn getStatusOk_ = nullptr;
  HttpDownloadFn download_ = nullptr;
  std::string error_;
};

}  // namespace net
