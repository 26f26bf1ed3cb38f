#include "update_server.h"

#include <openssl/evp.h>

#include <QDate>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>

#include "test_certificate.h"

namespace {

std::string Hex(const unsigned char* bytes, std::size_t size) {
  static const char kHex[] = "0123456789abcdef";
  std::string hex;
  for (std::size_t i = 0; i < size; ++i) {
    hex += kHex[bytes[i] >> 4];
    hex += kHex[bytes[i] & 15];
  }
  return hex;
}

}  // namespace

struct UpdateServer::Key {
  EVP_PKEY* pkey = nullptr;
  Key() {
    EVP_PKEY_CTX* ctx = EVP_PKEY_CTX_new_id(EVP_PKEY_ED25519, nullptr);
    EVP_PKEY_keygen_init(ctx);
    EVP_PKEY_keygen(ctx, &pkey);
    EVP_PKEY_CTX_free(ctx);
  }
  ~Key() { EVP_PKEY_free(pkey); }
  std::string PublicHex() const {
    unsigned char raw[32];
    std::size_t size = sizeof raw;
    EVP_PKEY_get_raw_public_key(pkey, raw, &size);
    return Hex(raw, size);
  }
  std::string Sign(const std::string& message) const {
    unsigned char signature[64];
    std::size_t size = sizeof signature;
    EVP_MD_CTX* ctx = EVP_MD_CTX_new();
    EVP_DigestSignInit(ctx, nullptr, nullptr, nullptr, pkey);
    EVP_DigestSign(ctx, signature, &size, reinterpret_cast<const unsigned char*>(message.data()), message.size());
    EVP_MD_CTX_free(ctx);
    return Hex(signature, size);
  }
};

UpdateServer::UpdateServer()
    : server_(testsupport::LoopbackServer::Files(root_.Path())),
      secure_(testsupport::LoopbackServer::Files(root_.Path()),
              {testsupport::TestTls().certificateFile, testsupport::TestTls().keyFile}),
      key_(std::make_unique<Key>()), otherKey_(std::make_unique<Key>()) {
  publicKeyHex_ = key_->PublicHex();
}

UpdateServer::~UpdateServer() = default;

std::string UpdateServer::Sign(const std::string& message) const { return key_->Sign(message); }

void UpdateServer::Publish(std::int64_t groupVersion, const std::vector<File>& files, Fault fault) {
  const std::string folder = root_.Path() + "/kinovue/1/";
  QDir(QString::fromStdString(folder)).removeRecursively();
  QDir().mkpath(QString::fromStdString(folder));
  // Lists expire: a month ahead, or yesterday for a replayed one.
  const QDate today = QDateTime::currentDateTimeUtc().date();
  std::string list = "[update_info]\ngroup_ver=" + std::to_string(groupVersion) + "\n";
  if (fault != Fault::NoExpiry) {
    const QDate expires = fault == Fault::Expired ? today.addDays(-1) : today.addDays(30);
    list += "expires=" + expires.toString("yyyyMMdd").toStdString() + "\n";
  }
  for (const File& file : files) {
    list += "[" + file.id + "]\nname=" + file.name + "\nversion=" + std::to_string(file.version) +
            "\nsize=" + std::to_string(file.content.size()) + "\nsha256=" + TestSha256(file.content) +
            "\nrestart=" + (file.restart ? "1" : "0") + "\n";
    std::string served = file.content;
    if (fault == Fault::TamperedBody && !served.empty()) served[0] ^= 1;
    if (fault == Fault::WrongSize) served += "x";
    if (file.name.find("..") == std::string::npos && file.name[0] != '/') {
      QDir().mkpath(QFileInfo(QString::fromStdString(folder + file.name)).absolutePath());
      testsupport::WriteFileBytes(folder + file.name, served);
    }
  }
  testsupport::WriteFileBytes(folder + "check_update.ini", list);
  if (fault == Fault::BadSignature) testsupport::WriteFileBytes(folder + "check_update.ini.sig", otherKey_->Sign(list));
  if (fault != Fault::NoSignature && fault != Fault::BadSignature) {
    testsupport::WriteFileBytes(folder + "check_update.ini.sig", key_->Sign(list) + "\n");
  }
}

std::string TestSha256(const std::string& bytes) {
  unsigned char digest[EVP_MAX_MD_SIZE];
  unsigned int size = 0;
  EVP_Digest(bytes.data(), bytes.size(), digest, &size, EVP_sha256(), nullptr);
  return Hex(digest, size);
}
