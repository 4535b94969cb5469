// Reads back the cells of the first worksheet of an .xlsx file, to check what was written.
#pragma once

#include <map>
#include <optional>
#include <string>

namespace testing_support {

// The members of a zip archive by name, inflated; nothing when the file is no readable zip.
std::optional<std::map<std::string, std::string>> ReadZip(const std::string& path);

// Cell reference ("A1") -> its value as text: a text cell's text, a number as written.
// Nothing when the file is no readable workbook.
std::optional<std::map<std::string, std::string>> ReadFirstSheetCells(const std::string& path);

}  // namespace testing_support
