#pragma once
#include <string>

// Writing update files without ever leaving the folder they belong to: the
// name must be safe (IsSafeRelativeName), no existing part of the way may be
// a symbolic link, and the file is written to a temporary file beside its
// target and renamed over it, so a reader sees the old or the new file,
// never half of one.

// folder ends with or without '/'. Missing sub-folders are created.
// executable: the new file gets execute permission. False, with the reason,
// when the name is unsafe, the way leads through a link, or writing fails;
// the old file is then untouched.
bool PlaceFile(const std::string& folder, const std::string& name, const std::string& bytes, bool executable,
               std::string& error);

// PlaceFile would not refuse the way to folder/name (nothing is created).
// MakeWay also creates the missing folders on the way.
bool CanPlaceFile(const std::string& folder, const std::string& name, std::string& error);
bool MakeWay(const std::string& folder, const std::string& name, std::string& error);

// Reads folder/name under the same rules (no link on the way), at most
// maxBytes + 1 bytes. False when the name is unsafe or the file unreadable.
bool ReadPlacedFile(const std::string& folder, const std::string& name, long long maxBytes, std::string& bytes);

// True when folder/name exists and may be executed.
bool IsExecutableFile(const std::string& folder, const std::string& name);
