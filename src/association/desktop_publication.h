#pragma once
#include <string>
#include <vector>

#include "association/file_association.h"
#include "platform/user_desktop.h"

// Announces the association to the freedesktop desktop, so that file
// managers, xdg-open and gio open media with Kinovue: one desktop entry per
// file type ("kinovue_0.desktop", ...) with its icon in the user's hicolor
// theme, and each associated extension's MIME types made Kinovue's in
// mimeapps.list. The default a MIME type had before is kept in the registry
// file (key "KinovueDesktopDefaults", one value per MIME type) and put back
// when the type is no longer associated, unless the user has chosen another
// program meanwhile. Other programs' entries and lines are never touched.
class DesktopPublication {
 public:
  explicit DesktopPublication(const AssociationPlaces& places);

  struct Outcome {
    int entriesWritten = 0;
    int defaultsSet = 0;
    int defaultsRestored = 0;
    platform::UserDesktop::DatabaseUpdate database = platform::UserDesktop::DatabaseUpdate::kToolMissing;
  };

  // Brings the desktop in line with the registry's associations. A file
  // type with no associated extension has no entry and no icons.
  Outcome Publish(const FileAssociation& association);

  // "kinovue_<type>.desktop".
  static std::string EntryName(int type);
  // The audio, video and application MIME types the shared MIME database
  // gives files with this extension; empty when it knows none.
  static std::vector<std::string> MimeTypesOf(const std::string& extension);

 private:
  AssociationPlaces places_;
  platform::UserDesktop desktop_;
  platform::Registry registry_;
};
