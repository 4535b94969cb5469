// The water-temperature dialog answered as the user does: the temperature typed, then OK.
#pragma once

#include <string>

#include "common/dialogQ.h"
#include "ui/headless.h"

namespace testing_support {

inline void AnswerWaterTemperature(ui::ScriptedResponder& responder, const std::string& text) {
  responder.AnswerForm("SetPropDialog", [text](ui::Form& f) {
    auto& dialog = static_cast<TSetPropDialog&>(f);
    dialog.Edit1->UserType(text);
    dialog.OKbutton->Click();
  });
}

}  // namespace testing_support
