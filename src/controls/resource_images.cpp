#include "controls/resource_images.h"

#include <QFile>

QString ResourceBitmapPath(std::uint32_t id) {
  return QStringLiteral(":/bitmaps/%1.png").arg(id & 0xFFFFu);
}

QPixmap LoadResourceBitmap(std::uint32_t id) { return QPixmap(ResourceBitmapPath(id)); }

QIcon LoadResourceIcon(std::uint32_t id) {
  QIcon icon;
  for (int size : kResourceIconSizes) {
    const QString path = QStringLiteral(":/icons/%1_%2.png").arg(id & 0xFFFFu).arg(size);
    if (QFile::exists(path)) icon.addFile(path, QSize(size, size));
  }
  return icon;
}
