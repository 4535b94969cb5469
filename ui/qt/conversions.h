// Small translations between the framework's values and Qt's: texts, fonts, colours, edit
// masks, file filters, wrapped button captions.
#pragma once

#include <QColor>
#include <QFont>
#include <QFontMetrics>
#include <QString>
#include <string>

#include "ui/chart.h"
#include "ui/control.h"

namespace ui::qt {

// Framework texts are UTF-8.
inline QString ToQt(const std::string& s) { return QString::fromStdString(s); }
inline std::string FromQt(const QString& s) { return s.toStdString(); }
// 8-bit texts: one character per byte, the Latin-1 one of its code; a character beyond Latin-1
// becomes '?'.
inline QString BytesToQt(const std::string& s) {
  return QString::fromLatin1(s.data(), static_cast<qsizetype>(s.size()));
}
inline std::string BytesFromQt(const QString& s) {
  const QByteArray bytes = s.toLatin1();
  return std::string(bytes.constData(), static_cast<size_t>(bytes.size()));
}

QColor ToQColor(ui::Color c);

// The layouts give sizes in pixels at 96 dots per inch, so fonts are sized in pixels too; a
// face this system lacks falls back to a sans-serif one.
QFont ToQFont(const ui::Font& f);

// The layouts write Greek letters as Latin ones in the "Symbol" font, which Linux lacks: the
// Greek letters themselves are shown instead.
bool IsSymbolFont(const ui::Font& f);
QString SymbolToGreek(const QString& text);

// The Qt input mask for a framework mask pattern ('0' required digit, '9' optional digit, 'L'/'l'
// letter, 'A'/'a' letter or digit, '\\' escape) with its blank character. Empty for no mask.
QString ToQtInputMask(const std::string& pattern, char blank);

// A caption broken into lines at blanks so that each line fits `width` pixels; a word longer
// than the width stands on a line of its own.
QString WrapCaption(const QString& caption, const QFontMetrics& metrics, int width);

// The name filters of a file dialog for a pattern such as "*.txt" (or "desc|pattern|..." pairs);
// all files are offered too.
QString ToQtNameFilter(const std::string& filter);

}  // namespace ui::qt
