// What the fuzz targets share: libFuzzer's input splitter, a check that stops the run on a broken
// property (a finding, as a crash is), and the small predicates several targets ask.
#pragma once

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#define FUZZ_CHECK(cond) \
  if (!(cond)) std::fprintf(stderr, "%s:%d: property broken: %s\n", __FILE__, __LINE__, #cond), std::abort()

inline bool IsUpperHex(char c) { return c != '\0' && std::strchr("0123456789ABCDEF", c) != nullptr; }

inline bool HasLineBreak(const std::string& s) { return s.find_first_of("\r\n") != std::string::npos; }

// The tokens of a line between blanks and control bytes: the columns a reader of a log file counts.
inline size_t Columns(const std::string& line) {
  size_t n = 0;
  bool apart = true;
  for (char c : line) {
    const bool separator = static_cast<unsigned char>(c) <= 0x20;
    n += apart && !separator;
    apart = separator;
  }
  return n;
}
