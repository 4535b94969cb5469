#include "platform/help.h"

#include <filesystem>
#include <fstream>
#include <sstream>
#include <system_error>
#include <vector>

namespace platform {

namespace {

namespace fs = std::filesystem;

std::vector<fs::path> Candidates(const std::string& fileName) {
  std::vector<fs::path> paths;
  if (fileName.empty()) return paths;
  fs::path name(fileName);
  if (name.is_absolute()) {
    paths.push_back(name);
    return paths;
  }
  std::error_code ec;
  fs::path exe = fs::read_symlink("/proc/self/exe", ec);
  if (!ec) paths.push_back(exe.parent_path() / name);
  fs::path cwd = fs::current_path(ec);
  if (!ec) paths.push_back(cwd / name);
  return paths;
}

bool ReadWhole(const fs::path& path, std::string* content) {
  std::error_code ec;
  if (!fs::is_regular_file(path, ec)) return false;
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  std::ostringstream out;
  out << in.rdbuf();
  if (in.bad()) return false;
  *content = out.str();
  return true;
}

}  // namespace

HelpDocument LoadHelpFile(const std::string& fileName) {
  std::string content;
  for (const fs::path& path : Candidates(fileName)) {
    if (!ReadWhole(path, &content)) continue;
    HelpDocument doc;
    doc.path = path.string();
    std::istringstream lines(content);
    std::string line;
    bool first = true;
    while (std::getline(lines, line)) {
      if (!line.empty() && line.back() == '\r') line.pop_back();
      if (first) {
        doc.title = line;
        first = false;
      } else {
        doc.text += line;
        doc.text += '\n';
      }
    }
    return doc;
  }
  throw HelpError("Unable to find the help file " + fileName);
}

}  // namespace platform
