#include "ui/backend.h"

#include <atomic>
#include <iostream>

#include "ui/headless.h"

namespace ui {

namespace {

std::atomic<Backend*> installed{nullptr};

HeadlessBackend& BuiltIn() {
  // Never destroyed: components that outlive static destruction may still report to it.
  static HeadlessBackend* backend = new HeadlessBackend;
  return *backend;
}

}  // namespace

void Backend::ShowException(const std::string& message) { std::cerr << message << std::endl; }

Backend& CurrentBackend() {
  Backend* backend = installed.load(std::memory_order_acquire);
  return backend ? *backend : BuiltIn();
}

void SetBackend(Backend* backend) { installed.store(backend, std::memory_order_release); }

}  // namespace ui
