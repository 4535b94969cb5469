// Typed numbers: the coefficients and period as the user types them, and the dielectric
// constants and water temperature of a full calibration.
#include "ui/numbers.h"

#include <cmath>

#include "fuzz/fuzz.h"
#include "link/calibration.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider in(data, size);
  ui::SetDecimalSeparator(in.ConsumeBool() ? ',' : '.');
  const std::string text = in.ConsumeRemainingBytesAsString();
  try {
    const double value = ui::StrToFloat(text);
    FUZZ_CHECK(std::isfinite(value));
    // What the edit shows reads back as itself.
    const std::string shown = ui::FloatToStr(value);
    FUZZ_CHECK(ui::FloatToStr(ui::StrToFloat(shown)) == shown);
  } catch (const ui::EConvertError&) {
  }
  if (const auto eps = link::ParseEps(text)) {
    FUZZ_CHECK(std::isfinite(*eps));
    const auto payload = link::EpsRootsPayload(*eps, *eps);
    FUZZ_CHECK(!payload || payload->size() == 16);
  }
  const auto water = link::WaterTemperaturePayload(text);
  FUZZ_CHECK(water.has_value() == link::IsTemperatureText(text) && (!water || water->size() == 16));
  return 0;
}
