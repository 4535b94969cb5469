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
  // Released in order, the application last; a failing call leaves the rest to go out of scope
  // in the same order, keeping the cells made before it in the workbook.
  platform::OleValue workbooks, workbook, worksheets, sheet, cells;
  try {
    application.PutProperty("Visible", true);
    workbooks = application.GetProperty("Workbooks");
    workbooks.CallMethod("Add");
    workbook = workbooks.GetProperty("Item", {1});
    worksheets = workbook.CallMethod("Worksheets");
    sheet = worksheets.GetProperty("Item", {1});
    cells = sheet.CallMethod("Cells");
    cells.GetProperty("Item", {1, "A"}).PutProperty("Value", "theta =");
    cells.GetProperty("Item", {1, "B"}).PutProperty("Value", *LastMoisture);
    for (int32_t i = 1; i <= kLastExportedValue; ++i) {
      const int32_t value = -static_cast<int32_t>((*LastReflectogram)[static_cast<size_t>(i)]);
      cells.GetProperty("Item", {i + 1, "A"}).PutProperty("Value", value);
    }
    // The application's release shows the workbook, and fails when it cannot.
    for (platform::OleValue* object : {&cells, &sheet, &worksheets, &workbook, &workbooks, &application}) {
      object->Release();
    }
  } catch (const std::exception&) {
    ui::ShowMessage("Exporting to MS Excel failed - Try again.");
  }
}
