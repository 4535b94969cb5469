// The help bridge: finds the application's help file and reads it for the viewer.
#pragma once

#include <stdexcept>
#include <string>

namespace platform {

class HelpError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

struct HelpDocument {
  std::string path;
  std::string title;  // the file's title line
  std::string text;   // the rest, as plain text
};

// Looks for the file beside the program, then in the current folder. Throws HelpError when it is
// found in neither place or cannot be read.
HelpDocument LoadHelpFile(const std::string& fileName);

}  // namespace platform
