#include "ui/backend.h"

#include <atomic>
#include <cstdlib>
#include <iostream>
#include <thread>

#include "ui/headless.h"

namespace ui {

namespace {

std::atomic<Backend*> installed{nullptr};
std::atomic<std::thread::id> uiThread{};

HeadlessBackend& BuiltIn() {
  // Never destroyed: components that outlive static destruction may still report to it.
  static HeadlessBackend* backend = new HeadlessBackend;
  return *backend;
}

}  // namespace

void Backend::ShowException(const std::string& message) { std::cerr << message << std::endl; }

Backend& CurrentBackend() {
  if (Backend* backend = installed.load(std::memory_order_acquire)) return *backend;
  return BuiltIn();
}

void SetBackend(Backend* backend) {
  uiThread.store(std::this_thread::get_id());
  installed.store(backend, std::memory_order_release);
}

bool OnUserInterfaceThread() {
  const std::thread::id owner = uiThread.load();
  return owner == std::thread::id() || owner == std::this_thread::get_id();
}

void ExpectUserInterfaceThread([[maybe_unused]] const Component& c, [[maybe_unused]] const char* what) {
#ifndef NDEBUG
  if (OnUserInterfaceThread()) return;
  std::cerr << "ui: " << what << " of component \"" << c.Name() << "\" on a thread other than the user-interface thread"
            << std::endl;
  std::abort();
#endif
}

}  // namespace ui
