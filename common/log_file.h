// Appends the logger's lines to the station files so that none is lost to a file that cannot be
// opened or written for a while: such lines are held and written first, in order, at the file's
// next successful append. Safe to use from the logger thread and the windows at once.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <map>
#include <mutex>
#include <string>

class LogAppender {
 public:
  // Lines held per file at most; past it the oldest are dropped (a header they carry moves on to
  // the next line held, so it is never lost while its data lines are written). The line being
  // appended is always held until written: a limit below 1 is 1.
  static constexpr size_t kHeldLimit = 10000;

  explicit LogAppender(size_t heldLimit = kHeldLimit) : heldLimit_(std::max<size_t>(heldLimit, 1)) {}

  // Appends the lines held for the file, then `header` (may be empty) and `line`, in one write.
  // On failure nothing of it stays in the file and all of it is held. True when written.
  bool Append(const std::string& fileName, std::string header, std::string line);
  // Tries once more every file that holds lines.
  void Flush();

  // Per file, the lines that have not reached it: those held and those dropped past the limit.
  std::map<std::string, uint64_t> Unwritten() const;

 private:
  struct Entry {
    std::string header;
    std::string line;
  };
  bool WriteHeld(const std::string& fileName, std::deque<Entry>& held);

  size_t heldLimit_;
  mutable std::mutex mutex_;
  std::map<std::string, std::deque<Entry>> held_;
  std::map<std::string, uint64_t> dropped_;
};
