// What an exchange with an instrument gave: a value, or which failure happened. The windows and
// the logger thread turn it into their own log lines, boxes and file values.
#pragma once

#include <optional>
#include <utility>

inline namespace qvusb {
namespace protocol {

enum class Failure {
  NotSent,      // no frame could be built (no address, no channel) or the write failed
  NoReply,      // nothing arrived within the read's time-outs
  Refused,      // the instrument answered "ER"
  TooShort,     // fewer characters than the reply needs
  ErrorResult,  // a calibration step answered 'E'
  Unreadable,   // the reply's characters make no value (a probe-type mask's digits)
};

template <class T>
class Result {
 public:
  Result(T value) : value_(std::move(value)) {}   // NOLINT(google-explicit-constructor)
  Result(Failure failure) : failure_(failure) {}  // NOLINT(google-explicit-constructor)

  bool ok() const { return value_.has_value(); }
  explicit operator bool() const { return ok(); }
  const T& value() const { return *value_; }
  const T& operator*() const { return *value_; }
  const T* operator->() const { return &*value_; }
  // Meaningful only when !ok().
  Failure failure() const { return failure_; }
  bool failed(Failure f) const { return !ok() && failure_ == f; }

 private:
  std::optional<T> value_;
  Failure failure_ = Failure::NotSent;
};

// For exchanges that bring no value back.
struct Done {};

}  // namespace protocol
}  // namespace qvusb
