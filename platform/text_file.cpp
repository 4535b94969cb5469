#include "platform/text_file.h"

#include <fstream>

namespace platform {

std::string WithCrLf(const std::string& text) {
  std::string out;
  out.reserve(text.size() + text.size() / 8);
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')) out += '\r';
    out += text[i];
  }
  return out;
}

bool WriteTextFile(const std::string& path, const std::string& text) {
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  if (!file) return false;
  const std::string stored = WithCrLf(text);
  file.write(stored.data(), static_cast<std::streamsize>(stored.size()));
  file.close();
  return !file.fail();
}

}  // namespace platform
