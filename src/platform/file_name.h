#pragma once
#include <QString>
#include <cstddef>
#include <optional>
#include <string>

class QUrl;

// File names are bytes here, and names from old discs and archives are often
// GBK rather than UTF-8. Qt holds names as text, which such bytes do not
// survive. Every path that passes between Qt and the engine, the playlist,
// the history or the settings goes through these.
namespace platform {

// The longest path the system opens (PATH_MAX less its zero byte): a longer
// one, from a remote control or a dialog, is neither opened nor stored.
inline constexpr std::size_t kMaxPathBytes = 4095;

// The path as Qt names it (the local 8-bit file-name encoding).
QString FileNameToQt(const std::string& path);

// The bytes of the file Qt names. A part of the path that does not exist as
// encoded, because Qt could not show its real bytes, is looked up among its
// folder's entries by the name Qt shows for them.
std::string FileNameFromQt(const QString& path);

// The exact bytes of a local file address's path, percent-encoded bytes that
// are not UTF-8 included; empty for any other address.
std::string LocalFileFromUrl(const QUrl& url);

// The local path a "file:" address names, read as LocalFileFromUrl does:
// only a file of this machine (no host, or "localhost"), absolute, and free
// of control bytes ("%00" would cut the name short, a line break would split
// a list's line); nothing otherwise.
std::optional<std::string> LocalPathOfFileUrl(const QUrl& url);

// A name for people to read: UTF-8 when it is, otherwise GB18030 (which
// holds GBK) when it is, otherwise UTF-8 with replacement characters.
QString DisplayName(const std::string& bytes);

}  // namespace platform
