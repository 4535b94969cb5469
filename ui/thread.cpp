#include "ui/thread.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <exception>
#include <iostream>

#include "platform/timing.h"

namespace ui {

Thread::Thread() : endFd_(::eventfd(0, EFD_CLOEXEC)) {}

Thread::~Thread() {
  const std::lock_guard<std::mutex> lock(joinMutex_);
  if (thread_.joinable() && !finished_) {
    std::cerr << "A thread was destroyed while its Execute was still running: Terminate() and WaitFor() it first"
              << std::endl;
    std::abort();
  }
  if (thread_.joinable()) thread_.join();  // Execute is over: only the end of the start routine is left
  if (endFd_ >= 0) ::close(endFd_);
}

void Thread::Resume() {
  if (started_.exchange(true)) return;                 // a thread runs once
  const std::lock_guard<std::mutex> lock(joinMutex_);  // WaitFor may look at thread_ meanwhile
  thread_ = std::thread([this] {
    try {
      Execute();
    } catch (const std::exception& e) {
      std::cerr << "Thread ended by an exception: " << e.what() << std::endl;
    } catch (...) {
      std::cerr << "Thread ended by an exception" << std::endl;
    }
    finished_ = true;
    if (endFd_ >= 0) {
      const uint64_t one = 1;
      [[maybe_unused]] const ssize_t written = ::write(endFd_, &one, sizeof one);  // one add cannot fail
    }
  });
}

void Thread::WaitFor() {
  bool running = false;
  {
    const std::lock_guard<std::mutex> lock(joinMutex_);
    running = thread_.joinable();
  }
  // Each wait watches a descriptor of its own, so that a wait nested in another one for this
  // thread (a window destroyed while its Stop waits) does not take the outer one's watch away.
  // A failed wait other than an interruption falls back to the plain join below.
  const int fd = running && endFd_ >= 0 ? ::fcntl(endFd_, F_DUPFD_CLOEXEC, 0) : -1;
  while (fd >= 0 && !finished_) {
    if (platform::WaitForDescriptor(fd, POLLIN, -1, nullptr) < 0 && errno != EINTR) break;
  }
  if (fd >= 0) ::close(fd);
  {
    std::lock_guard<std::mutex> lock(joinMutex_);
    if (thread_.joinable()) thread_.join();
  }
}

}  // namespace ui
