#include "association/file_association.h"

#include <cstdio>
#include <utility>
#include <vector>

#include "association/media_extensions.h"
#include "platform/program_folder.h"
#include "platform/user_desktop.h"

namespace {

constexpr const char* kPrevValue = "PrevValue";
constexpr int kIconIndex[kFileTypeCount] = {1, 3, 2};
constexpr int kRegistrationOrder[kFileTypeCount] = {0, 2, 1};

}  // namespace

AssociationPlaces AssociationPlaces::Resolved() const {
  AssociationPlaces resolved = *this;
  if (resolved.configHome.empty()) resolved.configHome = platform::UserConfigHome();
  if (resolved.dataHome.empty()) resolved.dataHome = platform::UserDataHome();
  if (resolved.executablePath.empty()) resolved.executablePath = platform::ExecutablePath();
  return resolved;
}

std::string FileTypeName(int type) {
  char name[32];
  std::snprintf(name, sizeof name, "%s_%u", "kinovue", static_cast<unsigned>(type));
  return name;
}

int FileTypeIconIndex(int type) { return type >= 0 && type < kFileTypeCount ? kIconIndex[type] : 0; }

bool IsFileTypeName(const std::string& text) {
  for (int type = 0; type < kFileTypeCount; ++type)
    if (text == FileTypeName(type)) return true;
  return false;
}

FileAssociation::FileAssociation(std::string registryPath, std::string executablePath)
    : registry_(std::move(registryPath)), executablePath_(std::move(executablePath)) {}

FileAssociation::FileAssociation(const AssociationPlaces& places)
    : FileAssociation(platform::Registry::ClassesPath(places.Resolved().configHome), places.Resolved().executablePath) {}

bool FileAssociation::WriteFileType(int type) {
  const std::string name = FileTypeName(type);
  const std::string icon = executablePath_ + "," + std::to_string(FileTypeIconIndex(type));  // "%s,%d"
  const std::string command = "\"" + executablePath_ + "\" \"%1\"";
  return registry_.CreateKey(name) && registry_.CreateKey(name + "\\DefaultIcon") &&
         registry_.SetString(name + "\\DefaultIcon", "", icon) && registry_.CreateKey(name + "\\shell") &&
         registry_.SetString(name + "\\shell", "", "open") && registry_.CreateKey(name + "\\shell\\open") &&
         registry_.CreateKey(name + "\\shell\\open\\command") &&
         registry_.SetString(name + "\\shell\\open\\command", "", command);
}

int FileAssociation::RegisterProgIds() {
  for (const int type : kRegistrationOrder) WriteFileType(type);
  return 1;
}

bool FileAssociation::IsAssociated(const std::string& extension, int type) const {
  std::string data;
  if (registry_.QueryValue(extension, "", data, kValueBufferSize) != platform::Registry::kOk) return false;
  const std::string text = platform::RegistryText(data);
  return !text.empty() && text == FileTypeName(type);
}

bool FileAssociation::AllAssociated() const {
  for (const MediaExtension& entry : kMediaExtensionTable)
    if (!IsAssociated(entry.extension, entry.type)) return false;
  return true;
}

bool FileAssociation::Associate(const std::string& extension, int type) {
  bool created = false;
  if (!registry_.CreateKey(extension, &created)) return false;
  std::string data;
  const platform::Registry::Status read = registry_.QueryValue(extension, "", data, kValueBufferSize);
  if (read != platform::Registry::kOk && read != platform::Registry::kNotFound) return false;
  // The backup, the mark and the new type go in one change: a failure
  // leaves the extension as it was.
  std::vector<std::pair<std::string, std::string>> values;
  if (created) values.emplace_back(kCreatedByKinovueValue, "1");
  if (read == platform::Registry::kOk && !data.empty()) {
    const std::string text = platform::RegistryText(data);
    if (!IsFileTypeName(text)) values.emplace_back(kPrevValue, text);
  }
  values.emplace_back("", FileTypeName(type));
  return registry_.SetStrings(extension, values);
}

bool FileAssociation::Unassociate(const std::string& extension) {
  std::string data;
  if (registry_.QueryValue(extension, "", data, kValueBufferSize) != platform::Registry::kOk) return false;
  if (data.empty()) return true;
  if (!IsFileTypeName(platform::RegistryText(data))) return true;

  std::string previous;
  if (registry_.QueryValue(extension, kPrevValue, previous, kValueBufferSize) == platform::Registry::kOk &&
      !previous.empty() && !IsFileTypeName(platform::RegistryText(previous))) {
    if (!registry_.SetString(extension, "", platform::RegistryText(previous))) return false;
    // The key now holds another program's file type: it is no longer ours to remove.
    registry_.DeleteValues(extension, {kPrevValue, kCreatedByKinovueValue});
    return true;
  }

  std::string mark;
  if (registry_.QueryValue(extension, kCreatedByKinovueValue, mark, kValueBufferSize) == platform::Registry::kOk) {
    registry_.DeleteTree(extension);
  } else {
    registry_.DeleteValues(extension, {"", kPrevValue});
  }
  return true;
}
