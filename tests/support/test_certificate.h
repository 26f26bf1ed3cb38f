#pragma once
#include <string>

namespace testsupport {

// A certificate authority of the tests' own and a server certificate it
// signed for 127.0.0.1 and localhost, made once per process with the openssl
// tool, as PEM files. Empty paths when openssl failed.
struct TestCertificates {
  std::string authorityFile;    // what a client must trust (KINOVUE_UPDATE_CA)
  std::string certificateFile;  // what the server presents
  std::string keyFile;
};
const TestCertificates& TestTls();

}  // namespace testsupport
