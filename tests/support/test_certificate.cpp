#include "test_certificate.h"

#include <QProcess>
#include <QStringList>

#include "temp_dir.h"

namespace testsupport {
namespace {

bool Openssl(const QStringList& arguments) {
  QProcess openssl;
  openssl.setProcessChannelMode(QProcess::MergedChannels);
  openssl.start("openssl", arguments);
  return openssl.waitForFinished(30000) && openssl.exitStatus() == QProcess::NormalExit && openssl.exitCode() == 0;
}

TestCertificates Make(const std::string& folder) {
  const QString dir = QString::fromStdString(folder) + "/";
  const QStringList key = {"-newkey", "ec", "-pkeyopt", "ec_paramgen_curve:prime256v1", "-nodes"};
  const bool made =
      Openssl(QStringList{"req", "-x509"} + key +
              QStringList{"-keyout", dir + "ca.key", "-out", dir + "ca.pem", "-days", "2", "-subj",
                          "/CN=Kinovue test authority", "-addext", "basicConstraints=critical,CA:TRUE", "-addext",
                          "keyUsage=critical,keyCertSign"}) &&
      Openssl(QStringList{"req"} + key +
              QStringList{"-keyout", dir + "server.key", "-out", dir + "server.csr", "-subj", "/CN=127.0.0.1"}) &&
      Openssl({"x509", "-req", "-in", dir + "server.csr", "-CA", dir + "ca.pem", "-CAkey", dir + "ca.key",
               "-CAcreateserial", "-days", "2", "-out", dir + "server.pem", "-extfile", dir + "ext"});
  if (!made) return {};
  return {folder + "/ca.pem", folder + "/server.pem", folder + "/server.key"};
}

}  // namespace

const TestCertificates& TestTls() {
  static TempDir folder;
  static const TestCertificates certificates = [] {
    WriteFileBytes(folder.Path() + "/ext", "subjectAltName=IP:127.0.0.1,DNS:localhost\n");
    return Make(folder.Path());
  }();
  return certificates;
}

}  // namespace testsupport
