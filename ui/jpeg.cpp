// JPEG decoding with libjpeg. Its default error handler ends the process, so ours jumps back to
// DecodeJpeg, which reports the failure instead.
#include <csetjmp>
#include <cstddef>
#include <cstdio>

#include "ui/control.h"

// After <cstdio>: the header uses size_t and FILE without declaring them.
// clang-format off
#include <jpeglib.h>
// clang-format on

namespace ui {

namespace {

struct ErrorManager {
  jpeg_error_mgr pub;  // first, so that libjpeg's pointer to it is a pointer to the whole
  std::jmp_buf jump;
  char message[JMSG_LENGTH_MAX];
};

[[noreturn]] void ErrorExit(j_common_ptr cinfo) {
  auto* err = reinterpret_cast<ErrorManager*>(cinfo->err);
  (*cinfo->err->format_message)(cinfo, err->message);
  std::longjmp(err->jump, 1);
}

// Warnings (a slightly damaged file) are not worth a line on stderr.
void OutputMessage(j_common_ptr /*cinfo*/) {}

// Larger pictures are refused before their pixels are allocated: a damaged header must not ask
// for gigabytes. Our logo is a few hundred pixels wide.
constexpr unsigned long kMaxPixels = 16UL * 1024 * 1024;

// Each step that may fail sets its own jump target, in a frame that holds nothing with a
// destructor; on failure the decompressor is released and the message kept in `err`.
bool StartDecompress(jpeg_decompress_struct& cinfo, ErrorManager& err, const uint8_t* data, size_t size) {
  if (setjmp(err.jump)) {
    jpeg_destroy_decompress(&cinfo);
    return false;
  }
  jpeg_create_decompress(&cinfo);
  jpeg_mem_src(&cinfo, data, static_cast<unsigned long>(size));
  jpeg_read_header(&cinfo, TRUE);
  cinfo.out_color_space = JCS_RGB;
  jpeg_start_decompress(&cinfo);
  return true;
}

bool ReadRows(jpeg_decompress_struct& cinfo, ErrorManager& err, uint8_t* rgb, size_t stride) {
  if (setjmp(err.jump)) {
    jpeg_destroy_decompress(&cinfo);
    return false;
  }
  while (cinfo.output_scanline < cinfo.output_height) {
    JSAMPROW row = rgb + cinfo.output_scanline * stride;
    jpeg_read_scanlines(&cinfo, &row, 1);
  }
  jpeg_finish_decompress(&cinfo);
  jpeg_destroy_decompress(&cinfo);
  return true;
}

}  // namespace

bool DecodeJpeg(const uint8_t* data, size_t size, Picture* out, std::string* error) {
  auto fail = [error](const std::string& message) {
    if (error) *error = message;
    return false;
  };
  if (!out) return fail("No picture to decode into");
  if (!data || size == 0) return fail("No JPEG data");

  jpeg_decompress_struct cinfo{};
  ErrorManager err{};
  cinfo.err = jpeg_std_error(&err.pub);
  err.pub.error_exit = ErrorExit;
  err.pub.output_message = OutputMessage;
  if (!StartDecompress(cinfo, err, data, size)) return fail(err.message);

  const unsigned long pixels =
      static_cast<unsigned long>(cinfo.output_width) * static_cast<unsigned long>(cinfo.output_height);
  if (cinfo.output_components != 3 || pixels == 0 || pixels > kMaxPixels) {
    const bool layout = cinfo.output_components != 3;
    jpeg_destroy_decompress(&cinfo);
    return fail(layout ? "Unsupported JPEG colour layout" : "JPEG picture size out of range");
  }
  Picture picture;
  picture.width = static_cast<int>(cinfo.output_width);
  picture.height = static_cast<int>(cinfo.output_height);
  picture.rgb.resize(pixels * 3);
  if (!ReadRows(cinfo, err, picture.rgb.data(), static_cast<size_t>(picture.width) * 3)) {
    return fail(err.message);
  }
  *out = std::move(picture);
  return true;
}

}  // namespace ui
