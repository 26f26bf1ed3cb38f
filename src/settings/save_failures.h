#pragma once
#include <functional>
#include <string>

// Where the program hears that a file the user keeps (settings, the stored
// playlist) could not be saved, so that it can tell the user; the writers
// report here besides returning false to their callers.
namespace settings {

// path: the file that was not written; error: the errno of the failed step.
using SaveFailureListener = std::function<void(const std::string& path, int error)>;

// Replaces the listener; an empty one stops the reports. Reports come on the
// writer's thread, so the listener must be callable from any thread.
void SetSaveFailureListener(SaveFailureListener listener);
void ReportSaveFailure(const std::string& path, int error);

}  // namespace settings
