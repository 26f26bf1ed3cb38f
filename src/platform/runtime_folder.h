#pragma once
#include <string>

// The per-user folder for the program's runtime objects: the single-instance
// lock and the hand-over sockets. Only the user may reach into it, so another
// account can neither hold our lock nor plant a socket for us to talk to.
namespace platform {

// Makes sure path is a private folder of ours: created with mode 0700 when
// missing (the parent must exist); an existing entry is accepted only when
// it is a real directory (not a symbolic link), owned by the effective user,
// with no group or other access. Nothing is changed on an entry that fails.
// False, with a reason in error when given, when the folder cannot be used.
bool MakePrivateFolder(const std::string& path, std::string* error = nullptr);

// "$XDG_RUNTIME_DIR/kinovue" when XDG_RUNTIME_DIR is an absolute path and
// that folder can be made private; otherwise "/tmp/kinovue-<uid>" under the
// same rule; otherwise an empty string (callers then go without the objects
// that live there). No trailing '/'. Checked afresh on every call.
std::string PrivateRuntimeFolder();

}  // namespace platform
