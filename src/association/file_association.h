#pragma once
#include <string>

#include "platform/registry.h"

// The association rules: Kinovue's three file types and the media
// extensions pointed at them, in the per-user registry file. The previous
// file type of an extension is kept in its value "PrevValue" and put back
// when the association is removed.

// Where association data lives; empty fields mean the user's own.
struct AssociationPlaces {
  std::string configHome;      // $XDG_CONFIG_HOME: the registry file and mimeapps.list
  std::string dataHome;        // $XDG_DATA_HOME: desktop entries and icons
  std::string executablePath;  // the program the file types open; the running one when empty
  std::string updateTool = "update-desktop-database";

  // The same with every empty folder and path filled in.
  AssociationPlaces Resolved() const;
};

inline constexpr int kFileTypeCount = 3;
// Bytes read of a default value, terminating zero byte included.
inline constexpr std::size_t kValueBufferSize = 260;
// Marks an extension key that Associate created, so that removing the
// association may remove the whole key again.
inline constexpr const char* kCreatedByKinovueValue = "KinovueCreated";

// "kinovue_0", "kinovue_1", "kinovue_2".
std::string FileTypeName(int type);
// Index into the program's icon groups (128, 178, 179, 180).
int FileTypeIconIndex(int type);
// The text is one of the three type names (exact, case-sensitive).
bool IsFileTypeName(const std::string& text);

class FileAssociation {
 public:
  FileAssociation(std::string registryPath, std::string executablePath);
  explicit FileAssociation(const AssociationPlaces& places);

  // Writes the three file types (icon and open command), in the order 0, 2,
  // 1; a failing step ends that type. Always 1.
  int RegisterProgIds();
  // The extension's default value is exactly the type's name.
  bool IsAssociated(const std::string& extension, int type) const;
  // Every table entry is associated with its own type.
  bool AllAssociated() const;
  // Points the extension at the type, keeping an earlier other file type as
  // "PrevValue". False, with nothing changed, when the old value cannot be
  // read (too long) or kept.
  bool Associate(const std::string& extension, int type);
  // Puts the earlier file type back, or removes Kinovue's type name: the
  // whole key when Associate created it, otherwise only the default value
  // and "PrevValue". An extension owned by another program is left alone.
  bool Unassociate(const std::string& extension);

  const std::string& ExecutablePath() const { return executablePath_; }

 private:
  bool WriteFileType(int type);

  platform::Registry registry_;
  std::string executablePath_;
};
