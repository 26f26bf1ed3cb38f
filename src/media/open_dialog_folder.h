#pragma once
#include <string>

// The user's documents folder (the desktop's "Documents"), or "" when the
// system names none or it does not exist.
std::string DocumentsFolder();

// The folder the open-file dialog starts in, from the "LastOpen" setting:
// "" (keep the dialog where it was last used) when lastOpen is a local path
// below the file system root, i.e. at least 2 characters beginning with '/'
// (the classic rule asked for 4, "X:\" and one more); otherwise, for an
// address or nothing, documentsFolder, which may itself be "".
std::string OpenDialogInitialFolder(const std::string& lastOpen, const std::string& documentsFolder = DocumentsFolder());
