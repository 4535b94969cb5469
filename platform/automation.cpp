#include "platform/automation.h"

#include <map>
#include <mutex>
#include <utility>

#include "platform/spreadsheet_server.h"

namespace platform {

namespace {

struct Registry {
  std::mutex mu;
  std::map<std::string, AutomationServer> servers;
};

std::map<std::string, AutomationServer> BuiltInServers() { return {{"Excel.Application", MakeSpreadsheetApplication}}; }

Registry& Servers() {
  static Registry registry{{}, BuiltInServers()};
  return registry;
}

Dispatch& ObjectOf(const OleValue& value) {
  const auto* object = std::get_if<std::shared_ptr<Dispatch>>(&value.Get());
  if (object == nullptr || *object == nullptr) throw AutomationError("the value holds no object");
  return **object;
}

}  // namespace

OleValue OleValue::GetProperty(const std::string& member, const std::vector<OleValue>& args) const {
  return ObjectOf(*this).Invoke(member, InvokeKind::PropertyGet, args);
}

void OleValue::PutProperty(const std::string& member, OleValue value, std::vector<OleValue> args) const {
  args.push_back(std::move(value));
  ObjectOf(*this).Invoke(member, InvokeKind::PropertyPut, args);
}

OleValue OleValue::CallMethod(const std::string& member, const std::vector<OleValue>& args) const {
  return ObjectOf(*this).Invoke(member, InvokeKind::Method, args);
}

void OleValue::Release() {
  const Storage held = std::exchange(v_, std::monostate{});
  const auto* object = std::get_if<std::shared_ptr<Dispatch>>(&held);
  if (object != nullptr && *object != nullptr && object->use_count() == 1) (*object)->Released();
}

void RegisterAutomationServer(const std::string& progId, AutomationServer server) {
  Registry& r = Servers();
  std::lock_guard lock(r.mu);
  if (server) {
    r.servers[progId] = std::move(server);
    return;
  }
  auto builtIn = BuiltInServers();
  auto it = builtIn.find(progId);
  if (it != builtIn.end()) {
    r.servers[progId] = it->second;
  } else {
    r.servers.erase(progId);
  }
}

OleValue CreateAutomationObject(const std::string& progId) {
  AutomationServer server;
  {
    Registry& r = Servers();
    std::lock_guard lock(r.mu);
    auto it = r.servers.find(progId);
    if (it == r.servers.end()) throw AutomationError("no automation server for \"" + progId + "\"");
    server = it->second;
  }
  std::shared_ptr<Dispatch> object = server();
  if (!object) throw AutomationError("\"" + progId + "\" could not be created");
  return OleValue(std::move(object));
}

}  // namespace platform
