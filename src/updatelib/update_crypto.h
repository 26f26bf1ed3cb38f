#pragma once
#include <string>

// The checks that make an update trustworthy, through OpenSSL's libcrypto.

// The release key: the check file of every real update server is signed
// with its private half, which is never part of the sources.
extern const char kBuiltInUpdateKeyHex[];

// True when signatureHex (128 hex digits) is a valid Ed25519 signature of
// message under publicKeyHex (64 hex digits). False for anything malformed.
bool VerifyEd25519(const std::string& publicKeyHex, const std::string& message, const std::string& signatureHex);

// SHA-256 of bytes as 64 lower-case hex digits.
std::string Sha256Hex(const std::string& bytes);
