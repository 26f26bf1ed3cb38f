#include "dialogs/about_dlg.h"

#include <QLabel>
#include <QPushButton>
#include <utility>

#include "controls/resource_images.h"
#include "dialogs/dialog_template.h"

namespace {

constexpr int kIconPixels = 32;  // an icon control shows the icon at its standard size

template <typename Widget>
Widget* Control(CAboutDlg* dialog, const char* name, int id, const QRect& geometry, const std::string& text) {
  auto* widget = new Widget(QString::fromStdString(text), dialog);
  widget->setObjectName(QString::fromLatin1(name));
  widget->setProperty("controlId", id);
  widget->setGeometry(geometry);
  return widget;
}

}  // namespace

CAboutDlg::CAboutDlg(std::string programVersion, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint),
      version(std::move(programVersion)),
      description("Kinovue 媒体播放器") {
  setWindowTitle("关于 Kinovue");
  setModal(true);
  setFont(DialogFont());
  const DialogUnits units(font());
  setFixedSize(units.Size(235, 55));

  auto* icon = new QLabel(this);
  icon->setObjectName("programIcon");
  icon->setPixmap(LoadResourceIcon(kProgramIcon).pixmap(kIconPixels, kIconPixels));
  icon->setGeometry(units.X(6), units.Y(17), kIconPixels, kIconPixels);

  // The template gives the label's place only; it ends where the version begins.
  Control<QLabel>(this, "versionLabel", IDC_VERSION_LABEL, units.Rect(36, 16, 48, 8), "主程序版本:");
  Control<QLabel>(this, "versionText", IDC_VERSION, units.Rect(86, 16, 63, 8), version);
  Control<QLabel>(this, "descriptionText", IDC_DESCRIPTION, units.Rect(36, 31, 175, 8), description);
  auto* ok = Control<QPushButton>(this, "okButton", IDOK, units.Rect(178, 32, 50, 16), "确定");
  ok->setDefault(true);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}
