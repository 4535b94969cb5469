// The spreadsheet application behind "Excel.Application": it collects the cells its workbooks are
// given and, once the program has released every object of it while it was visible, writes each
// workbook as an .xlsx file into the temporary folder and opens it in the desktop's spreadsheet
// program. When that last release is OleValue::Release, it fails with AutomationError if a workbook
// cannot be written or the program cannot be executed or exits at once with a failure.
//
// Object model (member names are matched without regard to case):
//   application: Visible (get, put), Workbooks (get)
//   workbooks:   Add (method), Item(index) (get), Count (get)
//   workbook:    Worksheets (get or method)
//   worksheets:  Item(index) (get), Count (get)
//   worksheet:   Cells (get or method)
//   cells:       Item(row, column letters or number) (get)
//   cell:        Value (get, put: a boolean, an integer, a text, or empty to clear it)
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/automation.h"

namespace platform {

// A new application object; AutomationError when no spreadsheet program is installed.
std::shared_ptr<Dispatch> MakeSpreadsheetApplication();

// The command that opens a file in the desktop's spreadsheet program, the file's path to be
// added after it: the desktop's opener when the desktop has a default application for .xlsx
// files, else a spreadsheet program found on the PATH. Nothing when there is none.
std::optional<std::vector<std::string>> FindSpreadsheetProgram();

// 1 for "A", 26 for "Z", 27 for "AA"; 0 for a text that is not column letters.
int ColumnNumber(const std::string& letters);

}  // namespace platform
