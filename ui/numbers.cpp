#include "ui/numbers.h"

#include <algorithm>
#include <atomic>
#include <cctype>
#include <charconv>
#include <clocale>
#include <cmath>
#include <system_error>

namespace ui {

namespace {

std::atomic<char> chosenSeparator{0};

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

char DecimalSeparator() {
  const char chosen = chosenSeparator.load();
  if (chosen) return chosen;
  const std::lconv* conv = std::localeconv();
  // A point of more than one byte (U+066B in some locales) cannot stand in one char: '.' then.
  const char* point = conv ? conv->decimal_point : nullptr;
  return point && point[0] && !point[1] ? point[0] : '.';
}

void SetDecimalSeparator(char separator) { chosenSeparator = separator; }

double StrToFloat(const std::string& text) {
  const auto fail = [&text]() -> double { throw EConvertError("'" + text + "' is not a valid floating point value"); };
  size_t begin = 0, end = text.size();
  while (begin < end && IsBlank(text[begin])) ++begin;
  while (end > begin && IsBlank(text[end - 1])) --end;

  // Checked here rather than left to the parser, which knows nothing of the user's separator.
  const char separator = DecimalSeparator();
  std::string plain;
  size_t i = begin;
  if (i < end && (text[i] == '+' || text[i] == '-')) {
    if (text[i] == '-') plain += '-';
    ++i;
  }
  int digits = 0;
  bool point = false;
  for (; i < end; ++i) {
    const char c = text[i];
    if (IsDigit(c)) {
      ++digits;
      plain += c;
    } else if (c == separator && !point) {
      point = true;
      plain += '.';
    } else {
      break;
    }
  }
  if (digits == 0) return fail();
  if (i < end && (text[i] == 'e' || text[i] == 'E')) {
    plain += 'e';
    ++i;
    if (i < end && (text[i] == '+' || text[i] == '-')) plain += text[i++];
    int expDigits = 0;
    for (; i < end && IsDigit(text[i]); ++i, ++expDigits) plain += text[i];
    if (expDigits == 0) return fail();
  }
  if (i != end) return fail();

  double value = 0;
  const auto [ptr, ec] = std::from_chars(plain.data(), plain.data() + plain.size(), value);
  if (ec != std::errc() || ptr != plain.data() + plain.size() || !std::isfinite(value)) return fail();
  return value;
}

std::string FloatToStr(double value) {
  if (value == 0) return "0";  // no "-0"
  char buf[64];
  const auto [ptr, ec] = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::general, 15);
  std::string text = ec == std::errc() ? std::string(buf, ptr) : std::string("0");
  for (char& c : text) {
    if (c == '.') c = DecimalSeparator();
  }
  // The exponent as the user reads it: "1E-5", "1.5E20".
  const size_t e = text.find('e');
  if (e != std::string::npos) {
    std::string exponent = text.substr(e + 1);
    const bool negative = !exponent.empty() && exponent[0] == '-';
    if (!exponent.empty() && (exponent[0] == '-' || exponent[0] == '+')) exponent.erase(0, 1);
    exponent.erase(0, std::min(exponent.find_first_not_of('0'), exponent.size() - 1));
    text.replace(e, std::string::npos, (negative ? "E-" : "E") + exponent);
  }
  return text;
}

}  // namespace ui
