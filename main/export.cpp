// Exporting the last moisture result and reflectogram trace to a new workbook of the spreadsheet
// application, through automation.
#include <exception>

#include "main/main.h"
#include "platform/automation.h"
#include "ui/application.h"
#include "ui/dialogs.h"

namespace {

// Trace values 1 to 1023 go to rows 2 to 1024; value 0 is not exported.
constexpr int32_t kLastExportedValue = 1023;

}  // namespace

void TModule1::ExportmeasurementresultstoMSExcel1Click(ui::Component*) {
  ui::HourGlass hourglass;
  if (!CheckDeviceFound()) return;
  if (!CheckMoistureKept()) return;
  platform::OleValue application;
  try {
    application = platform::CreateAutomationObject("Excel.Application");
  } catch (const std::exception&) {
    ui::ShowMessage("You must install MSExcel first");
    return;
  }
  // Every object is released when it goes out of scope, the application last: the cells made
  // before a failing call stay in the workbook.
  try {
    application.PutProperty("Visible", true);
    const platform::OleValue workbooks = application.GetProperty("Workbooks");
    workbooks.CallMethod("Add");
    const platform::OleValue workbook = workbooks.GetProperty("Item", {1});
    const platform::OleValue worksheets = workbook.CallMethod("Worksheets");
    const platform::OleValue sheet = worksheets.GetProperty("Item", {1});
    const platform::OleValue cells = sheet.CallMethod("Cells");
    cells.GetProperty("Item", {1, "A"}).PutProperty("Value", "theta =");
    cells.GetProperty("Item", {1, "B"}).PutProperty("Value", *LastMoisture);
    for (int32_t i = 1; i <= kLastExportedValue; ++i) {
      const int32_t value = -static_cast<int32_t>((*LastReflectogram)[static_cast<size_t>(i)]);
      cells.GetProperty("Item", {i + 1, "A"}).PutProperty("Value", value);
    }
  } catch (const std::exception&) {
    ui::ShowMessage("Exporting to MS Excel failed - Try again.");
  }
}
