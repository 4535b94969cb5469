// The program's logo picture, embedded in the program by the build.
#pragma once

#include <cstddef>
#include <cstdint>

#include "ui/control.h"

namespace forms {

// The JPEG bytes of forms/logo.jpg (generated source).
extern const uint8_t kLogoJpeg[];
extern const size_t kLogoJpegSize;

// The logo decoded; an empty picture when it cannot be decoded, so a broken picture only leaves
// the image blank.
ui::Picture LogoPicture();

}  // namespace forms
