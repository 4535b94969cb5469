// A temporary folder for a test, removed with everything in it.
#pragma once

#include <string>

namespace testing_support {

class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::string& Path() const { return path_; }
  std::string File(const std::string& name) const { return path_ + "/" + name; }
  // The whole content of a file in the folder; empty when there is none.
  std::string Read(const std::string& name) const;

 private:
  std::string path_;
};

}  // namespace testing_support
