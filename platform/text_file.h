// Text files as the program's files are stored: every line end is CR LF.
#pragma once

#include <string>

namespace platform {

// The text with each bare LF turned into CR LF; a CR LF already there stays as it is.
std::string WithCrLf(const std::string& text);

// Creates or truncates the file and writes the text with CR LF line ends. False when the file
// could not be created or not written whole.
bool WriteTextFile(const std::string& path, const std::string& text);

}  // namespace platform
