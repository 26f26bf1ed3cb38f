#include "media/open_dialog_folder.h"

#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include "platform/program_folder.h"

std::string DocumentsFolder() {
  const QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
  if (folder.isEmpty() || !QFileInfo(folder).isDir()) return {};
  return QFile::encodeName(folder).toStdString();
}

std::string OpenDialogInitialFolder(const std::string& lastOpen, const std::string& documentsFolder) {
  if (lastOpen.size() >= 2 && platform::IsLocalPath(lastOpen)) return {};
  return documentsFolder;
}
