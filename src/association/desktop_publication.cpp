#include "association/desktop_publication.h"

#include <QFile>
#include <QMimeDatabase>
#include <algorithm>
#include <map>

#include "association/media_extensions.h"
#include "platform/desktop_entry.h"

namespace {

constexpr const char* kPreviousDefaultsKey = "KinovueDesktopDefaults";
constexpr int kIconGroups[] = {128, 178, 179, 180};  // by icon index
constexpr int kIconSizes[] = {16, 32, 48, 256};

const char* const kEntryComments[kFileTypeCount] = {
    "用 Kinovue 播放视频和音频文件",
    "用 Kinovue 播放 RealMedia 文件",
    "用 Kinovue 播放 MP3 文件",
};

std::string IconName(int type) { return FileTypeName(type); }

std::string IconBytes(int type, int size) {
  QFile file(QStringLiteral(":/icons/%1_%2.png").arg(kIconGroups[FileTypeIconIndex(type)]).arg(size));
  if (!file.open(QIODevice::ReadOnly)) return {};
  const QByteArray data = file.readAll();
  return std::string(data.constData(), static_cast<std::size_t>(data.size()));
}

// The value names one of Kinovue's entries first.
bool IsOurDefault(const std::string& value) {
  const std::string first = value.substr(0, value.find(';'));
  for (int type = 0; type < kFileTypeCount; ++type)
    if (first == DesktopPublication::EntryName(type)) return true;
  return false;
}

}  // namespace

DesktopPublication::DesktopPublication(const AssociationPlaces& places)
    : places_(places.Resolved()),
      desktop_(places_.configHome, places_.dataHome, places_.updateTool),
      registry_(platform::Registry::ClassesPath(places_.configHome)) {}

std::string DesktopPublication::EntryName(int type) { return FileTypeName(type) + ".desktop"; }

std::vector<std::string> DesktopPublication::MimeTypesOf(const std::string& extension) {
  static const QMimeDatabase database;
  std::vector<std::string> types;
  for (const QMimeType& type : database.mimeTypesForFileName(QStringLiteral("file") + QString::fromStdString(extension))) {
    const QString name = type.name();
    if (name.startsWith("video/") || name.startsWith("audio/") || name.startsWith("application/"))
      types.push_back(name.toStdString());
  }
  return types;
}

DesktopPublication::Outcome DesktopPublication::Publish(const FileAssociation& association) {
  Outcome outcome;
  std::vector<std::string> handled[kFileTypeCount];  // what each entry can open
  bool used[kFileTypeCount] = {};
  std::map<std::string, std::string> wanted;  // MIME type -> entry; the first associated extension wins
  for (const MediaExtension& entry : kMediaExtensionTable) {
    const std::vector<std::string> types = MimeTypesOf(entry.extension);
    const bool associated = association.IsAssociated(entry.extension, entry.type);
    used[entry.type] = used[entry.type] || associated;
    for (const std::string& type : types) {
      auto& list = handled[entry.type];
      if (std::find(list.begin(), list.end(), type) == list.end()) list.push_back(type);
      if (associated) wanted.emplace(type, EntryName(entry.type));
    }
  }

  for (int type = 0; type < kFileTypeCount; ++type) {
    if (!used[type]) {
      desktop_.RemoveEntry(EntryName(type));
      for (const int size : kIconSizes) desktop_.RemoveIcon(IconName(type), size);
      continue;
    }
    for (const int size : kIconSizes) desktop_.WriteIcon(IconName(type), size, IconBytes(type, size));
    const platform::DesktopEntry text{"Kinovue", kEntryComments[type], association.ExecutablePath(), IconName(type),
                                      handled[type]};
    if (desktop_.WriteEntry(EntryName(type), platform::FormatDesktopEntry(text))) ++outcome.entriesWritten;
  }

  // Every default about to change gets its earlier value recorded first:
  // without the record it could never come back.
  std::vector<platform::DefaultApplicationChange> changes;
  std::vector<std::pair<std::string, std::string>> records;
  for (const auto& [mime, entry] : wanted) {
    std::string recorded;
    if (registry_.QueryValue(kPreviousDefaultsKey, mime, recorded, SIZE_MAX) != platform::Registry::kOk) {
      const std::optional<std::string> current = desktop_.DefaultApplication(mime);
      records.emplace_back(mime, current && !IsOurDefault(*current) ? *current : std::string());
    }
    changes.emplace_back(mime, entry + ";");
  }
  if (!records.empty() &&
      !(registry_.CreateKey(kPreviousDefaultsKey) && registry_.SetStrings(kPreviousDefaultsKey, records)))
    changes.clear();
  outcome.defaultsSet = static_cast<int>(changes.size());

  std::vector<std::string> released;  // records to drop once mimeapps.list is written
  std::string mime;
  for (std::size_t index = 0; registry_.EnumValue(kPreviousDefaultsKey, index, mime) == platform::Registry::kOk;
       ++index) {
    if (wanted.count(mime)) continue;
    released.push_back(mime);
    std::string previous;
    registry_.QueryValue(kPreviousDefaultsKey, mime, previous, SIZE_MAX);
    const std::optional<std::string> current = desktop_.DefaultApplication(mime);
    if (!current || !IsOurDefault(*current)) continue;  // the user chose another program meanwhile
    const std::string text = platform::RegistryText(previous);
    changes.emplace_back(mime, text.empty() ? std::nullopt : std::optional<std::string>(text));
    ++outcome.defaultsRestored;
  }
  if (desktop_.ChangeDefaults(changes)) {
    registry_.DeleteValues(kPreviousDefaultsKey, released);
    if (registry_.EnumValue(kPreviousDefaultsKey, 0, mime) == platform::Registry::kNotFound)
      registry_.DeleteKey(kPreviousDefaultsKey);
  }
  outcome.database = desktop_.UpdateDatabase();
  return outcome;
}
