#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "loopback_server.h"
#include "temp_dir.h"

// A loopback update server: a signed "check_update.ini" and its files,
// served from a temporary folder under /kinovue/1/, signed with a key of the
// test's own (PublicKeyHex() is what the program must be given), over
// http:// and, with a certificate of the tests' own authority, https://.
class UpdateServer {
 public:
  struct File {
    std::string id;
    std::string name;
    std::string content;
    std::int64_t version = 0;
    bool restart = false;
  };
  enum class Fault { None, TamperedBody, WrongSize, BadSignature, NoSignature, Expired, NoExpiry };

  UpdateServer();
  ~UpdateServer();
  // Replaces what is served.
  void Publish(std::int64_t groupVersion, const std::vector<File>& files, Fault fault = Fault::None);

  std::string Address() const { return "http://127.0.0.1:" + std::to_string(server_.Port()); }
  // The same files over TLS; a client trusts it through KINOVUE_UPDATE_CA
  // set to testsupport::TestTls().authorityFile.
  std::string SecureAddress() const { return "https://127.0.0.1:" + std::to_string(secure_.Port()); }
  // Connections taken so far, over either address.
  int Connections() const { return server_.Connections() + secure_.Connections(); }
  const std::string& PublicKeyHex() const { return publicKeyHex_; }
  // Ed25519 signature of message with the server's key, as hex.
  std::string Sign(const std::string& message) const;

 private:
  struct Key;
  testsupport::TempDir root_;
  testsupport::LoopbackServer server_;
  testsupport::LoopbackServer secure_;
  std::unique_ptr<Key> key_;
  std::unique_ptr<Key> otherKey_;
  std::string publicKeyHex_;
};

// SHA-256 of bytes as hex (OpenSSL), for the lists the tests write.
std::string TestSha256(const std::string& bytes);
