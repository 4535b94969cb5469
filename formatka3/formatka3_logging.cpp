// Start and Stop of the logger thread, the minimum period, and the controls locked meanwhile.
#include <exception>

#include "formatka3/data_logger.h"
#include "formatka3/formatka3.h"
#include "formatka3/log_line.h"
#include "platform/event.h"
#include "ui/application.h"
#include "ui/dialogs.h"
#include "ui/numbers.h"

void TModule3::SetConfigControlsEnabled(bool enabled) {
  Stop->SetEnabled(!enabled);
  for (ui::Control* c : std::initializer_list<ui::Control*>{Start, DeviceSelect, ReadConfig, SaveConfig, Period}) {
    c->SetEnabled(enabled);
  }
  for (int n = 1; n <= 8; ++n) {
    for (const char* prefix : {"EpsiCheckBox", "TetaCheckBox", "SigmaCheckBox"})
      CheckBoxOf(prefix, n)->SetEnabled(enabled);
    // Only a field probe measures its temperature.
    CheckBoxOf("TempCheckBox", n)->SetEnabled(enabled && CheckBoxOf("FieldProbeButton", n)->Checked());
    AuxBox(n, 1)->SetEnabled(enabled);
    AuxBox(n, 2)->SetEnabled(enabled);
  }
  for (int k = 1; k <= 2; ++k) {
    CheckBoxOf("CalCheckBox", k)->SetEnabled(enabled);
    for (const char* prefix : {"a0Edit", "a1Edit", "a2Edit"}) EditOf(prefix, k)->SetEnabled(enabled);
  }
}

void TModule3::StartClick(ui::Component*) {
  const std::string text = Period->Text();
  if (text == "period") {
    ui::MessageDlg("Set period between the measurements!", ui::DialogType::Warning, ui::DialogButtons::Ok);
    return;
  }
  double period = 0;
  try {
    period = ui::StrToFloat(text);
  } catch (const ui::EConvertError&) {
    ui::MessageDlg("The period value is incorrect!", ui::DialogType::Error, ui::DialogButtons::Ok);
    return;
  }
  if (!StoreShownStation()) return;

  const double minimum = logline::MinimumPeriod(Stations);
  if (period < minimum) {
    ui::MessageDlg("Period between the measurements is too short!\nMinimum = " + ui::FloatToStr(minimum) + " second(s)",
                   ui::DialogType::Warning, ui::DialogButtons::Ok);
    return;
  }
  const auto waitMs = logline::PeriodWaitMs(period, minimum);
  if (!waitMs) {
    ui::MessageDlg("The period value is incorrect!", ui::DialogType::Error, ui::DialogButtons::Ok);
    return;
  }
  if (const auto shared = logline::KeysSharingAFile(Stations)) {
    ui::MessageDlg("Stations \"" + shared->first + "\" and \"" + shared->second + "\" would write to the same file " +
                       logline::LogFileName(shared->first),
                   ui::DialogType::Error, ui::DialogButtons::Ok);
    return;
  }

  try {
    SetConfigControlsEnabled(false);
    Logger = new DataLogger(*waitMs, Port, &Stations, HeldLines);
  } catch (const std::exception&) {
    ui::MessageDlg("Error while performing the measurement! Try again", ui::DialogType::Error, ui::DialogButtons::Ok);
  }
}

bool TModule3::StopLogging() {
  ui::HourGlass hourGlass;
  stopping_ = true;
  Stop->SetEnabled(false);
  if (DataLogger* logger = Logger) {
    logger->Terminate();
    platform::EventHandle stopEvent = platform::CreateEventA(kThreadStopEventName, false, false);
    platform::SetEvent(stopEvent);
    // What is handled until the thread has ended may close this window or even destroy it; its
    // destructor then waits for the thread and leaves the logger to be deleted here.
    ui::ComponentWatch watch(*this);
    ui::App().ProcessMessages();
    logger->WaitFor();
    delete logger;
    platform::CloseHandle(stopEvent);
    if (!watch.Alive()) return false;
    Logger = nullptr;
  }
  SetConfigControlsEnabled(true);
  stopping_ = false;
  if (clearAfterStop_) {
    clearAfterStop_ = false;
    ClearMaps();
  }
  return true;
}

void TModule3::StopClick(ui::Component*) {
  if (!stopping_) StopLogging();
}
