#pragma once
#include <QIcon>
#include <QPixmap>
#include <QString>
#include <cstdint>

// The program's own bitmaps and icons, compiled in under their resource
// numbers: bitmaps as ":/bitmaps/<number>.png", icons as
// ":/icons/<number>_<size>.png" in several sizes. Only the low 16 bits of a
// number count, as with numbered resources everywhere.

// Bitmap numbers used outside the control strip.
inline constexpr std::uint32_t kLogoBitmap = 181;  // 269 x 232, shown behind the picture

// Icon numbers.
inline constexpr std::uint32_t kProgramIcon = 128;
inline constexpr std::uint32_t kVideoFileIcon = 178;
inline constexpr std::uint32_t kMusicFileIcon = 179;
inline constexpr std::uint32_t kStreamFileIcon = 180;  // RealMedia files

QString ResourceBitmapPath(std::uint32_t id);

// A null pixmap when there is no such bitmap. Needs a QGuiApplication.
QPixmap LoadResourceBitmap(std::uint32_t id);

// Every size of the icon there is; a null icon when there is none.
QIcon LoadResourceIcon(std::uint32_t id);

// The sizes in which every icon exists.
inline constexpr int kResourceIconSizes[] = {16, 32, 48, 256};
