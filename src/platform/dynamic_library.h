#pragma once
#include <string>

namespace platform {

// A shared library loaded into the process. Not copyable; freed on
// destruction. Load and Free are called from one thread at a time.
class DynamicLibrary {
 public:
  DynamicLibrary() = default;
  ~DynamicLibrary() { Free(); }
  DynamicLibrary(const DynamicLibrary&) = delete;
  DynamicLibrary& operator=(const DynamicLibrary&) = delete;

  // Frees any library held, then loads the file at path (resolving all
  // symbols now). False on failure, with ErrorText() saying why.
  bool Load(const std::string& path);
  // Address of an exported symbol, or null (ErrorText() says why).
  void* Symbol(const char* name);
  void Free();
  bool IsLoaded() const { return handle_ != nullptr; }
  // From now on Free and the destructor leave the library in the process:
  // for one whose code Qt may still call (its objects' connections) until
  // the application object is gone.
  void KeepLoaded() { keepLoaded_ = true; }
  const std::string& ErrorText() const { return error_; }
  // The system error number of the last failed Load (2: no such file), or 0.
  int ErrorNumber() const { return errorNumber_; }

 private:
  void* handle_ = nullptr;
  bool keepLoaded_ = false;
  std::string error_;
  int errorNumber_ = 0;
};

// Folder, ending in '/', of the loaded library that holds address (one of
// its functions); empty when it cannot be told.
std::string FolderOfLoadedLibrary(const void* address);

}  // namespace platform
