// The association announced to a temporary freedesktop home, checked with
// the desktop's own tools (xdg-mime, desktop-file-validate).
#include "association/desktop_publication.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>

#include "association/media_extensions.h"
#include "core_app.h"
#include "temp_dir.h"

namespace {

using Update = platform::UserDesktop::DatabaseUpdate;

class Desktop : public ::testing::Test {
 protected:
  void SetUp() override {
    testsupport::CoreApp();
    places.configHome = home.File("config");
    places.dataHome = home.File("data");
    places.executablePath = "/bin/true";  // xdg-mime wants an Exec it can find
    QDir().mkpath(QString::fromStdString(home.File("data/applications")));
    QDir().mkpath(QString::fromStdString(home.File("config")));
    testsupport::WriteFileBytes(home.File("data/applications/other.desktop"),
                                "[Desktop Entry]\nType=Application\nName=Other\nExec=/bin/cat %f\n"
                                "MimeType=video/x-msvideo;\n");
    testsupport::WriteFileBytes(MimeApps(), kList);
  }
  std::string MimeApps() const { return home.File("config/mimeapps.list"); }
  // What a desktop without a desktop environment would open the type with.
  std::string QueryDefault(const std::string& mime) { return Run("xdg-mime", {"query", "default", QString::fromStdString(mime)}); }
  // What GLib (gio open, GTK file managers) would open it with.
  std::string GioDefault(const std::string& mime) {
    const std::string text = Run("gio", {"mime", QString::fromStdString(mime)});
    const std::size_t colon = text.find(": ");
    return colon == std::string::npos ? text : text.substr(colon + 2, text.find('\n') - colon - 2);
  }
  std::string Run(const QString& program, const QStringList& arguments) {
    QProcess query;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"XDG_CURRENT_DESKTOP", "DESKTOP_SESSION", "KDE_FULL_SESSION", "GNOME_DESKTOP_SESSION_ID",
                             "MATE_DESKTOP_SESSION_ID", "XDG_MENU_PREFIX"})
      env.remove(name);
    env.insert("XDG_CONFIG_HOME", QString::fromStdString(places.configHome));
    env.insert("XDG_DATA_HOME", QString::fromStdString(places.dataHome));
    query.setProcessEnvironment(env);
    query.start(program, arguments);
    query.waitForFinished(10000);
    return query.readAllStandardOutput().trimmed().toStdString();
  }
  void AssociateAll(FileAssociation& assoc) {
    for (const MediaExtension& e : kMediaExtensionTable) assoc.Associate(e.extension, e.type);
  }

  static constexpr const char* kList =
      "[Default Applications]\nvideo/x-msvideo=other.desktop;\ntext/plain=gedit.desktop;\n\n"
      "[Added Associations]\nvideo/x-msvideo=other.desktop;\n";
  testsupport::TempDir home;
  AssociationPlaces places;
};

TEST_F(Desktop, AssociatingMakesKinovueTheDefaultAndRemovingBringsTheEarlierOneBack) {
  const struct {
    const char* tool;
    Update expected;
  } rows[] = {{"update-desktop-database", Update::kUpdated}, {"/nonexistent/update-desktop-database", Update::kToolMissing}};
  for (const auto& row : rows) {
    places.updateTool = row.tool;
    QFile::remove(QString::fromStdString(places.dataHome + "/applications/mimeinfo.cache"));
    FileAssociation assoc(places);
    ASSERT_EQ(QueryDefault("video/x-msvideo"), "other.desktop") << row.tool;
    AssociateAll(assoc);
    DesktopPublication::Outcome outcome = DesktopPublication(places).Publish(assoc);
    EXPECT_EQ(outcome.database, row.expected) << row.tool;
    EXPECT_EQ(outcome.entriesWritten, 3);
    const int set = outcome.defaultsSet;
    EXPECT_GT(set, 25);  // every MIME type of the associated extensions
    EXPECT_EQ(QueryDefault("video/x-msvideo"), "kinovue_0.desktop") << row.tool;
    EXPECT_EQ(GioDefault("video/x-msvideo"), "kinovue_0.desktop") << row.tool;
    EXPECT_EQ(QueryDefault("audio/mpeg"), "kinovue_2.desktop") << row.tool;
    EXPECT_EQ(QueryDefault("application/vnd.rn-realmedia"), "kinovue_1.desktop") << row.tool;
    EXPECT_EQ(QFile::exists(QString::fromStdString(places.dataHome + "/applications/mimeinfo.cache")),
              row.expected == Update::kUpdated);
    for (const char* size : {"16x16", "48x48", "256x256"})
      EXPECT_TRUE(QFile::exists(QString::fromStdString(places.dataHome + "/icons/hicolor/" + size + "/apps/kinovue_1.png")));

    for (const MediaExtension& e : kMediaExtensionTable) assoc.Unassociate(e.extension);
    outcome = DesktopPublication(places).Publish(assoc);
    EXPECT_EQ(QueryDefault("video/x-msvideo"), "other.desktop") << row.tool;
    EXPECT_EQ(GioDefault("video/x-msvideo"), "other.desktop") << row.tool;
    EXPECT_EQ(outcome.entriesWritten, 0);
    EXPECT_EQ(outcome.defaultsRestored, set);
    EXPECT_EQ(testsupport::ReadFileBytes(MimeApps()), kList) << row.tool;
    EXPECT_FALSE(QFile::exists(QString::fromStdString(places.dataHome + "/applications/kinovue_0.desktop")));
    EXPECT_FALSE(QFile::exists(QString::fromStdString(places.dataHome + "/icons/hicolor/48x48/apps/kinovue_2.png")));
  }
}

TEST_F(Desktop, TheEntriesPassDesktopFileValidateAndAChoiceMadeMeanwhileStays) {
  places.executablePath = "/opt/My Player/kinovue";
  FileAssociation assoc(places);
  AssociateAll(assoc);
  DesktopPublication(places).Publish(assoc);
  for (int type = 0; type < kFileTypeCount; ++type) {
    QProcess validate;
    validate.setProcessChannelMode(QProcess::MergedChannels);
    validate.start("desktop-file-validate",
                   {QString::fromStdString(places.dataHome + "/applications/" + DesktopPublication::EntryName(type))});
    ASSERT_TRUE(validate.waitForFinished(10000));
    EXPECT_EQ(validate.exitCode(), 0) << validate.readAll().toStdString();
  }
  // The user picks another player for MP3 while Kinovue is associated.
  std::string list = testsupport::ReadFileBytes(MimeApps());
  list.replace(list.find("audio/mpeg=kinovue_2.desktop;"), 29, "audio/mpeg=picked.desktop;");
  testsupport::WriteFileBytes(MimeApps(), list);
  for (const MediaExtension& e : kMediaExtensionTable) assoc.Unassociate(e.extension);
  DesktopPublication(places).Publish(assoc);
  const std::string after = testsupport::ReadFileBytes(MimeApps());
  EXPECT_NE(after.find("\naudio/mpeg=picked.desktop;\n"), std::string::npos) << after;
  EXPECT_EQ(after.find("kinovue_"), std::string::npos) << after;
}

}  // namespace
