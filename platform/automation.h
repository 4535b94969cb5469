// Automation: late-bound objects of another application, created by a programmatic name and used
// through calls by member name. The servers are registered per name; the built-in one is the
// spreadsheet application "Excel.Application" (platform/spreadsheet_server.h).
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <variant>
#include <vector>

namespace platform {

// A call that failed: unknown member, wrong arguments, no object, a server that is missing.
class AutomationError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class Dispatch;

enum class InvokeKind { Method, PropertyGet, PropertyPut };

// A value passed to or returned by a call: nothing, a boolean, a 32-bit integer, a text or an
// object. An object stays alive while a value holds it; the last one released releases it.
class OleValue {
 public:
  using Storage = std::variant<std::monostate, bool, int32_t, std::string, std::shared_ptr<Dispatch>>;

  OleValue() = default;
  OleValue(bool b) : v_(b) {}
  OleValue(int32_t i) : v_(i) {}
  OleValue(const char* s) : v_(std::string(s)) {}
  OleValue(std::string s) : v_(std::move(s)) {}
  OleValue(std::shared_ptr<Dispatch> object) : v_(std::move(object)) {}

  const Storage& Get() const { return v_; }
  bool IsEmpty() const { return std::holds_alternative<std::monostate>(v_); }

  // Late-bound calls on the object held; AutomationError when none is held or the call fails.
  OleValue GetProperty(const std::string& member, const std::vector<OleValue>& args = {}) const;
  void PutProperty(const std::string& member, OleValue value, std::vector<OleValue> args = {}) const;
  OleValue CallMethod(const std::string& member, const std::vector<OleValue>& args = {}) const;

  // Drops what it holds (for an object: this reference to it). Dropping the last reference to an
  // object lets its server finish what it does on release: AutomationError when that fails (the
  // value is dropped all the same).
  void Release();

 private:
  Storage v_;
};

// An automation object as its server implements it.
class Dispatch {
 public:
  virtual ~Dispatch() = default;
  // One call by member name. For a property put, the value to put is the last argument.
  // Throws AutomationError when the member or its arguments are not understood.
  virtual OleValue Invoke(const std::string& member, InvokeKind kind, const std::vector<OleValue>& args) = 0;
  // The last value holding the object was released (OleValue::Release); the object goes after
  // this. Throws AutomationError when what the server does on release fails. An object whose last
  // value just goes out of scope goes without this call: nobody would hear of a failure.
  virtual void Released() {}
};

// Makes a new application object of a server; throws AutomationError when it cannot (for the
// spreadsheet: no spreadsheet program installed).
using AutomationServer = std::function<std::shared_ptr<Dispatch>()>;

// Registers the server for a programmatic name, replacing the one there; an empty one puts the
// built-in server back (or leaves the name without a server).
void RegisterAutomationServer(const std::string& progId, AutomationServer server);

// Creates the object named by a programmatic name; AutomationError when no server is registered
// for it or the server cannot make it.
OleValue CreateAutomationObject(const std::string& progId);

}  // namespace platform
