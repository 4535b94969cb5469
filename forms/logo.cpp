#include "forms/logo.h"

#include <string>

namespace forms {

ui::Picture LogoPicture() {
  ui::Picture picture;
  std::string error;
  if (!ui::DecodeJpeg(kLogoJpeg, kLogoJpegSize, &picture, &error)) return ui::Picture{};
  return picture;
}

}  // namespace forms
