#include "common/log_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace {

// One append of the whole text; on any failure the file is cut back to where it was, so that
// no line is ever written in part.
bool AppendWhole(const std::string& fileName, const std::string& text) {
  const int fd = ::open(fileName.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
  if (fd < 0) return false;
  struct stat st {};
  const bool sized = ::fstat(fd, &st) == 0;
  size_t done = 0;
  while (done < text.size()) {
    const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    done += static_cast<size_t>(n);
  }
  const bool whole = done == text.size();
  if (!whole && sized && done > 0) {
    if (::ftruncate(fd, st.st_size) != 0) {
      // Nothing more can be done here; the next append starts on a fresh line end at least.
    }
  }
  ::close(fd);
  return whole;
}

}  // namespace

bool LogAppender::Append(const std::string& fileName, std::string header, std::string line) {
  const std::lock_guard<std::mutex> lock(mutex_);
  std::deque<Entry>& held = held_[fileName];
  held.push_back(Entry{std::move(header), std::move(line)});
  while (held.size() > heldLimit_) {
    Entry oldest = std::move(held.front());
    held.pop_front();
    ++dropped_[fileName];
    if (!oldest.header.empty() && held.front().header.empty()) held.front().header = std::move(oldest.header);
  }
  const bool written = WriteHeld(fileName, held);
  if (held.empty()) held_.erase(fileName);
  return written;
}

void LogAppender::Flush() {
  const std::lock_guard<std::mutex> lock(mutex_);
  for (auto it = held_.begin(); it != held_.end();) {
    WriteHeld(it->first, it->second);
    it = it->second.empty() ? held_.erase(it) : std::next(it);
  }
}

std::map<std::string, uint64_t> LogAppender::Unwritten() const {
  const std::lock_guard<std::mutex> lock(mutex_);
  std::map<std::string, uint64_t> unwritten = dropped_;
  for (const auto& [name, held] : held_) unwritten[name] += held.size();
  return unwritten;
}

bool LogAppender::WriteHeld(const std::string& fileName, std::deque<Entry>& held) {
  std::string text;
  for (const Entry& e : held) text += e.header + e.line;
  if (!AppendWhole(fileName, text)) return false;
  held.clear();
  return true;
}
