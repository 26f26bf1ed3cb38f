#pragma once
#include <string>

namespace testsupport {

// A fresh folder under the system temporary folder, removed with everything
// in it when the object goes away. Path() ends without '/'.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::string& Path() const { return path_; }
  // Path() + "/" + name
  std::string File(const std::string& name) const { return path_ + "/" + name; }

 private:
  std::string path_;
};

// Whole file as bytes; empty when it cannot be read.
std::string ReadFileBytes(const std::string& path);
// Writes bytes exactly; true on success.
bool WriteFileBytes(const std::string& path, const std::string& bytes);

}  // namespace testsupport
