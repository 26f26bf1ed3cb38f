#include "updatelib/file_switch.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <set>

#include "platform/atomic_file.h"
#include "platform/bounded_file.h"
#include "platform/file_moves.h"
#include "platform/text_rules.h"
#include "settings/ini_file.h"
#include "updatelib/check_file.h"
#include "updatelib/file_placement.h"
#include "updatelib/ini_text.h"
#include "updatelib/release_version.h"
#include "updatelib/update_session.h"

namespace {

constexpr char kJournalFile[] = "journal";
constexpr std::size_t kMaxJournal = 1 << 20;

bool IsId(const std::string& text) {
  return !text.empty() && text.size() <= 64 &&
         text.find_first_not_of("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789_-.") ==
             std::string::npos;
}

QString Q(const std::string& text) { return QString::fromStdString(text); }

std::string FolderOf(const std::string& path) { return path.substr(0, path.rfind('/')); }

// Where everything of one switch lives.
struct Places {
  explicit Places(const std::string& programFolder)
      : program(platform::WithTrailingSlash(programFolder)), staging(program + kSwitchFolder + "/") {}
  std::string Target(const std::string& name) const { return program + name; }
  std::string New(const std::string& name) const { return staging + "new/" + name; }
  std::string Old(const std::string& name) const { return staging + "old/" + name; }
  std::string Journal() const { return staging + kJournalFile; }
  std::string program;
  std::string staging;
};

// Syncs the folders holding paths: the names made or moved there last.
bool SyncFoldersOf(const std::vector<std::string>& paths) {
  std::set<std::string> folders;
  for (const std::string& path : paths) folders.insert(FolderOf(path));
  bool synced = true;
  for (const std::string& folder : folders) synced = platform::SyncPath(folder) == 0 && synced;
  return synced;
}

bool WriteJournal(const Places& places, const SwitchJournal& journal) {
  return platform::WriteFileAtomically(places.Journal(), JournalText(journal)) == 0 &&
         platform::SyncPath(FolderOf(places.Journal())) == 0;
}

void RemoveStaging(const Places& places) {
  const QString staging = Q(places.staging);
  if (QFileInfo(staging.chopped(1)).isSymLink()) {
    QFile::remove(staging.chopped(1));
  } else {
    QDir(staging).removeRecursively();
  }
  platform::SyncPath(places.program);
}

void RecordVersions(const std::string& localConfigPath, const SwitchJournal& journal) {
  IniFile local(localConfigPath);
  std::vector<std::pair<std::string, std::string>> versions;
  for (const SwitchFile& file : journal.files) versions.emplace_back(file.id, std::to_string(file.version));
  if (!versions.empty()) local.WriteStrings("local_version", versions);
  if (journal.groupVersion > StoredVersion(localConfigPath, "update_info", "group_ver_1")) {
    local.WriteString("update_info", "group_ver_1", std::to_string(journal.groupVersion));
  }
}

// Puts every old file back: the one kept under its second name, and no file
// where there was none.
void Undo(const Places& places, const SwitchJournal& journal) {
  std::vector<std::string> touched;
  for (const SwitchFile& file : journal.files) {
    std::string error;
    if (!CanPlaceFile(places.program, file.name, error)) continue;
    const std::string target = places.Target(file.name);
    if (file.existed) {
      if (QFileInfo(Q(places.Old(file.name))).isFile()) platform::RenameOver(places.Old(file.name), target);
    } else if (QFileInfo(Q(target)).isFile()) {
      QFile::remove(Q(target));
    }
    touched.push_back(target);
  }
  SyncFoldersOf(touched);
}

// Moves every new file still staged into place.
bool MoveIn(const Places& places, const SwitchJournal& journal, std::string& error) {
  std::vector<std::string> moved;
  for (const SwitchFile& file : journal.files) {
    if (!QFileInfo(Q(places.New(file.name))).isFile()) continue;
    if (!MakeWay(places.program, file.name, error)) return false;
    if (const int code = platform::RenameOver(places.New(file.name), places.Target(file.name)); code != 0) {
      error = "cannot move " + file.name + " into place: " + platform::WriteErrorText(code);
      return false;
    }
    moved.push_back(places.Target(file.name));
  }
  if (!SyncFoldersOf(moved)) {
    error = "cannot sync the program folder";
    return false;
  }
  return true;
}

// Writes the new files and the old files' second names, all synced.
bool Stage(const Places& places, std::vector<NewFile>& files, std::string& error) {
  if (!QDir().mkpath(Q(places.staging + "new")) || !QDir().mkpath(Q(places.staging + "old"))) {
    error = "cannot create " + places.staging;
    return false;
  }
  QFile::setPermissions(Q(places.staging), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
  std::vector<std::string> written;
  for (NewFile& file : files) {
    if (!CanPlaceFile(places.program, file.file.name, error) ||
        !PlaceFile(places.staging + "new", file.file.name, file.bytes, file.executable, error)) {
      return false;
    }
    if (platform::SyncPath(places.New(file.file.name)) != 0) {
      error = "cannot sync " + file.file.name;
      return false;
    }
    written.push_back(places.New(file.file.name));
    file.file.existed = QFileInfo(Q(places.Target(file.file.name))).isFile();
    if (!file.file.existed) continue;
    std::string old = places.Old(file.file.name);
    if (!MakeWay(places.staging + "old", file.file.name, error)) return false;
    if (const int code = platform::LinkFile(places.Target(file.file.name), old); code != 0) {
      error = "cannot keep the old " + file.file.name + ": " + platform::WriteErrorText(code);
      return false;
    }
    written.push_back(old);
  }
  written.push_back(places.staging + "new");
  written.push_back(places.staging + "old");
  if (!SyncFoldersOf(written)) {
    error = "cannot sync " + places.staging;
    return false;
  }
  return true;
}

}  // namespace

std::string JournalText(const SwitchJournal& journal) {
  std::string text = "[switch]\nstate=" + std::string(journal.switched ? "switched" : "switching") +
                     "\ngroup_ver=" + std::to_string(journal.groupVersion) + "\n";
  for (std::size_t i = 0; i < journal.files.size(); ++i) {
    const SwitchFile& file = journal.files[i];
    text += "[file" + std::to_string(i) + "]\nid=" + file.id + "\nname=" + file.name +
            "\nversion=" + std::to_string(file.version) + "\nexisted=" + (file.existed ? "1" : "0") + "\n";
  }
  return text;
}

bool ParseJournal(const std::string& text, SwitchJournal& out) {
  const IniText ini = ParseIniText(text);
  const std::string state = ini.Value("switch", "state");
  SwitchJournal journal;
  journal.switched = state == "switched";
  if ((!journal.switched && state != "switching") ||
      !ParseDecimal(ini.Value("switch", "group_ver"), journal.groupVersion)) {
    return false;
  }
  std::set<std::string> names;
  for (const IniText::Section& section : ini.sections) {
    if (section.name == "switch") continue;
    SwitchFile file;
    file.id = ini.Value(section.name, "id");
    file.name = ini.Value(section.name, "name");
    const std::string existed = ini.Value(section.name, "existed");
    if (!IsId(file.id) || !IsSafeRelativeName(file.name) || !names.insert(file.name).second ||
        !ParseDecimal(ini.Value(section.name, "version"), file.version) || (existed != "0" && existed != "1")) {
      return false;
    }
    file.existed = existed == "1";
    journal.files.push_back(file);
  }
  out = journal;
  return true;
}

std::int64_t StoredVersion(const std::string& localConfigPath, const std::string& section, const std::string& key) {
  std::string text;
  std::int64_t version = 0;
  if (IniFile(localConfigPath).ReadString(section, key, text, 32)) ParseDecimal(text, version);
  return std::max(version, kReleaseGroupVersion);
}

bool SwitchFiles(const std::string& programFolder, std::vector<NewFile> files, std::int64_t groupVersion,
                 const std::string& localConfigPath, const std::string& logPath, std::string& error) {
  RecoverSwitch(programFolder, localConfigPath, logPath);
  const Places places(programFolder);
  SwitchJournal journal;
  journal.groupVersion = groupVersion;
  if (files.empty()) {
    RecordVersions(localConfigPath, journal);
    return true;
  }
  if (!Stage(places, files, error)) {
    RemoveStaging(places);
    return false;
  }
  for (const NewFile& file : files) journal.files.push_back(file.file);
  // From here on a crash is undone at the next load.
  if (!WriteJournal(places, journal)) {
    error = "cannot write the journal in " + places.staging;
    RemoveStaging(places);
    return false;
  }
  if (!MoveIn(places, journal, error)) {
    Undo(places, journal);
    RemoveStaging(places);
    return false;
  }
  // The one step that decides: from here on a crash is completed.
  journal.switched = true;
  if (!WriteJournal(places, journal)) {
    error = "cannot mark the switch done in " + places.staging;
    Undo(places, journal);
    RemoveStaging(places);
    return false;
  }
  RecordVersions(localConfigPath, journal);
  RemoveStaging(places);
  for (const SwitchFile& file : journal.files) {
    AppendUpdateLog(logPath, "placed " + file.name + " version " + std::to_string(file.version));
  }
  return true;
}

void RecoverSwitch(const std::string& programFolder, const std::string& localConfigPath, const std::string& logPath) {
  const Places places(programFolder);
  const QFileInfo staging(Q(places.staging).chopped(1));
  if (!staging.exists() && !staging.isSymLink()) return;
  std::string text;
  SwitchJournal journal;
  const bool haveJournal = staging.isDir() && !staging.isSymLink() &&
                           platform::ReadRegularFile(places.Journal(), kMaxJournal, text) ==
                               platform::FileRead::kRead &&
                           ParseJournal(text, journal);
  if (!haveJournal) {
    // Stopped while staging: nothing in the program folder had changed.
    RemoveStaging(places);
    AppendUpdateLog(logPath, "an update stopped before its switch was cleaned up; the files are the old ones");
    return;
  }
  std::string error;
  if (journal.switched && MoveIn(places, journal, error)) {
    RecordVersions(localConfigPath, journal);
    RemoveStaging(places);
    AppendUpdateLog(logPath, "an interrupted update was completed: the files are the new ones");
    return;
  }
  Undo(places, journal);
  RemoveStaging(places);
  AppendUpdateLog(logPath, "an interrupted update was undone: the files are the old ones");
}
