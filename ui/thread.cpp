#include "ui/thread.h"

#include <cstdlib>
#include <exception>
#include <iostream>

namespace ui {

Thread::Thread(bool createSuspended) : suspended_(createSuspended) {}

Thread::~Thread() {
  const std::lock_guard<std::mutex> lock(joinMutex_);
  if (!thread_.joinable()) return;
  if (!finished_) {
    std::cerr << "A thread was destroyed while its Execute was still running: Terminate() and WaitFor() it first"
              << std::endl;
    std::abort();
  }
  thread_.join();  // Execute is over: only the end of the start routine is left
}

void Thread::StartIfNotSuspended() {
  if (!suspended_) Start();
}

void Thread::Resume() { Start(); }

void Thread::Start() {
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
  });
}

int Thread::WaitFor() {
  {
    std::lock_guard<std::mutex> lock(joinMutex_);
    if (thread_.joinable()) thread_.join();
  }
  return returnValue_;
}

}  // namespace ui
