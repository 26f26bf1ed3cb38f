#include "updatelib/update_crypto.h"

#include <openssl/evp.h>

#include <memory>
#include <vector>

const char kBuiltInUpdateKeyHex[] = "a793176ffce8ad6f63bc5fa99b83ed14cc799caf15e6c6d1b4d1e50a616fd27d";

namespace {

bool FromHex(const std::string& hex, std::size_t bytes, std::vector<unsigned char>& out) {
  if (hex.size() != bytes * 2) return false;
  const auto nibble = [](char c) -> int {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
  };
  out.assign(bytes, 0);
  for (std::size_t i = 0; i < bytes; ++i) {
    const int high = nibble(hex[2 * i]);
    const int low = nibble(hex[2 * i + 1]);
    if (high < 0 || low < 0) return false;
    out[i] = static_cast<unsigned char>(high * 16 + low);
  }
  return true;
}

}  // namespace

bool VerifyEd25519(const std::string& publicKeyHex, const std::string& message, const std::string& signatureHex) {
  std::vector<unsigned char> key;
  std::vector<unsigned char> signature;
  if (!FromHex(publicKeyHex, 32, key) || !FromHex(signatureHex, 64, signature)) return false;
  std::unique_ptr<EVP_PKEY, decltype(&EVP_PKEY_free)> pkey(
      EVP_PKEY_new_raw_public_key(EVP_PKEY_ED25519, nullptr, key.data(), key.size()), EVP_PKEY_free);
  if (!pkey) return false;
  std::unique_ptr<EVP_MD_CTX, decltype(&EVP_MD_CTX_free)> ctx(EVP_MD_CTX_new(), EVP_MD_CTX_free);
  if (!ctx || EVP_DigestVerifyInit(ctx.get(), nullptr, nullptr, nullptr, pkey.get()) != 1) return false;
  return EVP_DigestVerify(ctx.get(), signature.data(), signature.size(),
                          reinterpret_cast<const unsigned char*>(message.data()), message.size()) == 1;
}

std::string Sha256Hex(const std::string& bytes) {
  unsigned char digest[EVP_MAX_MD_SIZE];
  unsigned int length = 0;
  if (EVP_Digest(bytes.data(), bytes.size(), digest, &length, EVP_sha256(), nullptr) != 1) return {};
  static const char kHex[] = "0123456789abcdef";
  std::string hex;
  for (unsigned int i = 0; i < length; ++i) {
    hex += kHex[digest[i] >> 4];
    hex += kHex[digest[i] & 15];
  }
  return hex;
}
