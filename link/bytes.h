// An owning byte buffer as the serial reads hand it out: the bytes received followed by a NUL.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

// The namespace sits in an inline one because a global `link` would clash with the C library's
// link() that <unistd.h> declares (and <memory> pulls in). Write link::X as usual; reopen it only
// as below.
inline namespace qvusb {
namespace link {

class Bytes {
 public:
  Bytes() : buf_(1, 0) {}
  // A copy of `count` bytes, NUL added.
  Bytes(const uint8_t* data, size_t count) : buf_(data, data + count) { buf_.push_back(0); }
  explicit Bytes(const std::string& s) : Bytes(reinterpret_cast<const uint8_t*>(s.data()), s.size()) {}

  const uint8_t* data() const { return buf_.data(); }
  uint8_t* data() { return buf_.data(); }
  size_t size() const { return buf_.size() - 1; }
  bool empty() const { return size() == 0; }
  uint8_t operator[](size_t i) const { return buf_.at(i); }
  // The bytes as a C string: up to the first NUL.
  const char* c_str() const { return reinterpret_cast<const char*>(buf_.data()); }
  // The text up to the first NUL, at most `limit` characters.
  std::string Text(size_t limit = std::string::npos) const {
    size_t n = strnlen(c_str(), size());
    return std::string(c_str(), n < limit ? n : limit);
  }
  // The content, NULs included.
  std::string Raw() const { return std::string(c_str(), size()); }
  bool StartsWith(const char* prefix) const {
    size_t n = std::strlen(prefix);
    return size() >= n && std::memcmp(buf_.data(), prefix, n) == 0;
  }

 private:
  std::vector<uint8_t> buf_;
};

// Instrument text as the program log shows it: control bytes other than TAB, CR and LF become
// '?', so that nothing reading the log stops at a NUL or acts on a control code. Bytes from 0x80
// up are 8-bit text and stay.
inline std::string ShownInLog(std::string text) {
  for (char& c : text) {
    const auto b = static_cast<unsigned char>(c);
    if ((b < 0x20 && c != '\t' && c != '\r' && c != '\n') || b == 0x7F) c = '?';
  }
  return text;
}

}  // namespace link
}  // namespace qvusb
