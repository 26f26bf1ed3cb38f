#pragma once
#include <cstddef>
#include <string>
#include <utility>
#include <vector>

// One section as read from the settings file at one moment: its "key=value"
// lines in file order, read by the same rules as IniFile's reads, so that a
// caller with many keys reads the file once.
class IniSection {
 public:
  bool ReadString(const std::string& key, std::string& value, std::size_t size) const;
  bool ReadInt(const std::string& key, int& value) const;
  bool ReadBool(const std::string& key, bool& value) const;

 private:
  friend class IniFile;
  // Keys and values trimmed; a value's wrapping pair of quotes removed.
  std::vector<std::pair<std::string, std::string>> entries_;
};

// The settings store: one INI file read and written key by key, with the
// behaviour of the classic private-profile functions that the settings
// sections rely on.
//
// - Section and key names match case-insensitively; values are read without
//   surrounding spaces; an empty value counts as missing.
// - Nothing is cached: every read goes to the file, and every write is on disk
//   when the call returns. A write replaces the whole file atomically
//   (platform::WriteFileAtomically), so a crash, a full disk or an I/O error
//   never leaves a half-written or empty settings file.
// - Lines that are not "key=value" (comments, garbage) survive a rewrite.
// - A broken file (binary bytes, NUL bytes, no final line end, huge lines)
//   reads without harm. Only a regular file of at most
//   platform::kMaxSettingsFileBytes is read; anything else there (a FIFO, a
//   device, a huge file) reads as empty and is never rewritten, so nothing
//   in it is lost. A write that fails returns false and is reported to
//   settings::ReportSaveFailure; reads still give what is there or defaults.
// - Without a path every read fails and every write does nothing.
// Not thread-safe for concurrent writes to the same file from two threads;
// callers write from their own thread (each owner has its own IniFile).
class IniFile {
 public:
  IniFile() = default;
  explicit IniFile(const std::string& path) : path_(path) {}

  bool SetPath(const std::string& path);
  const std::string& Path() const { return path_; }

  // The path names an existing file that is not a directory.
  bool Exists() const;

  // Removes the whole section. Always true (like the profile function).
  bool DeleteSection(const std::string& section);

  // Reads at most 31 characters; false when missing or empty. Otherwise the
  // text is converted: leading white space, optional sign, decimal digits up
  // to the first other character; 0 when there are none.
  bool ReadInt(const std::string& section, const std::string& key, int& value) const;
  // As ReadInt; true when the number is not 0.
  bool ReadBool(const std::string& section, const std::string& key, bool& value) const;
  // At most size - 1 bytes are kept (the classic buffer rule); true when at
  // least one character came back. size 0 reads nothing.
  bool ReadString(const std::string& section, const std::string& key, std::string& value, std::size_t size) const;
  // The whole section from one read of the file; empty when it is absent.
  IniSection ReadSection(const std::string& section) const;

  bool WriteInt(const std::string& section, const std::string& key, int value);
  bool WriteBool(const std::string& section, const std::string& key, bool value);
  bool WriteString(const std::string& section, const std::string& key, const std::string& text);
  // Several keys of one section in one rewrite of the file, in order; as
  // WriteString for each, but the file is replaced once.
  bool WriteStrings(const std::string& section, const std::vector<std::pair<std::string, std::string>>& entries);

 private:
  std::string path_;
};
