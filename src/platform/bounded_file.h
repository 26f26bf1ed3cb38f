#pragma once
#include <cstddef>
#include <string>

// Reading files that a user or another program may hand us (the stored
// playlist and imported lists, the settings file, the registry store,
// mimeapps.list, the update files): regular files only, up to a cap, and
// never waiting on a FIFO or a device.
namespace platform {

// The cap for lists the user keeps (a playlist of a few hundred thousand
// paths); other readers pass their own smaller one.
inline constexpr std::size_t kMaxListFileBytes = 64u << 20;
// The cap for small text files (settings, mimeapps.list, update files).
inline constexpr std::size_t kMaxSettingsFileBytes = 4u << 20;

enum class FileRead {
  kRead,        // bytes holds the whole file
  kMissing,     // nothing at the path
  kNotRegular,  // a folder, FIFO, device or socket: not opened for reading
  kTooLarge,    // more than maxBytes (now, or by the time it was read)
  kFailed,      // it could not be opened or read (permissions, I/O error)
};

// The whole regular file at path (a symbolic link is followed to it), at most
// maxBytes. The file is looked at before it is opened and opened without
// waiting (O_NONBLOCK), then looked at again, so a FIFO or a device put there
// is never read and never blocks. bytes is empty unless the result is kRead.
FileRead ReadRegularFile(const std::string& path, std::size_t maxBytes, std::string& bytes);

}  // namespace platform
