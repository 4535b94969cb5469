// The framework's conversions between numbers and the texts the user reads and types: the
// user's decimal separator, general format with 15 significant digits.
#pragma once

#include <string>

#include "ui/application.h"

namespace ui {

// What a text that holds no number raises: "'%s' is not a valid floating point value".
class EConvertError : public Exception {
 public:
  using Exception::Exception;
};

// The user's decimal separator: the one set here, else the process locale's when it is a single
// byte, else '.'.
char DecimalSeparator();
// 0 goes back to the process locale's.
void SetDecimalSeparator(char separator);

// Blanks around the number allowed, an optional sign, digits with at most one decimal separator,
// an optional exponent. Anything else (an empty text, a '.' where the user writes ',', a number
// too large for a double) raises EConvertError.
double StrToFloat(const std::string& text);
// General format, at most 15 significant digits, the user's decimal separator: 0, 2.5, 1E-5.
std::string FloatToStr(double value);

}  // namespace ui
