#include <gtest/gtest.h>

#include <QDir>
#include <string>

#include "media/open_dialog_folder.h"
#include "temp_dir.h"

namespace {

TEST(OpenDialogFolder, LocalLastOpenKeepsTheDialogWhereItWas) {
  const std::string docs = "/home/u/Documents";
  EXPECT_EQ(OpenDialogInitialFolder("/home/u/Videos/a.avi", docs), "");
  EXPECT_EQ(OpenDialogInitialFolder("/a", docs), "");
  for (const char* other : {"/", "http://host/a.avi", "C:\\Movies\\a.avi", ""}) {
    EXPECT_EQ(OpenDialogInitialFolder(other, docs), docs) << other;
  }
}

TEST(OpenDialogFolder, DocumentsFolderIsEmptyUntilItExists) {
  testsupport::TempDir home;
  const QByteArray oldHome = qgetenv("HOME");
  qputenv("HOME", QByteArray::fromStdString(home.Path()));
  qputenv("XDG_CONFIG_HOME", QByteArray::fromStdString(home.File(".config")));  // no user-dirs.dirs
  EXPECT_EQ(OpenDialogInitialFolder("http://host/a.avi"), "");
  ASSERT_TRUE(QDir().mkpath(QString::fromStdString(home.File("Documents"))));
  EXPECT_EQ(OpenDialogInitialFolder("http://host/a.avi"), home.File("Documents"));
  qputenv("HOME", oldHome);
  qunsetenv("XDG_CONFIG_HOME");
}

}  // namespace
