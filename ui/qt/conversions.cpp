#include "ui/qt/conversions.h"

#include <QStringList>
#include <algorithm>
#include <cmath>
#include <string_view>

namespace ui::qt {

QColor ToQColor(ui::Color c) {
  return QColor(static_cast<int>((c >> 16) & 0xFF), static_cast<int>((c >> 8) & 0xFF), static_cast<int>(c & 0xFF));
}

bool IsSymbolFont(const ui::Font& f) { return f.name == "Symbol"; }

QFont ToQFont(const ui::Font& f) {
  QFont font;
  if (!IsSymbolFont(f) && !f.name.empty()) font.setFamilies({ToQt(f.name)});
  font.setStyleHint(QFont::SansSerif);
  const int points = f.size > 0 ? f.size : 8;
  font.setPixelSize(std::max(1, static_cast<int>(std::lround(points * 96.0 / 72.0))));
  font.setBold(f.bold);
  return font;
}

QString SymbolToGreek(const QString& text) {
  // The Symbol font's letters, 'A' to 'Z' and 'a' to 'z'.
  static const char16_t kUpper[] = u"ΑΒΧΔΕΦΓΗΙϑΚΛΜΝΟΠΘΡΣΤΥςΩΞΨΖ";
  static const char16_t kLower[] = u"αβχδεφγηιϕκλμνοπθρστυϖωξψζ";
  QString out = text;
  for (QChar& ch : out) {
    const char16_t u = ch.unicode();
    if (u >= u'A' && u <= u'Z') ch = QChar(kUpper[u - u'A']);
    if (u >= u'a' && u <= u'z') ch = QChar(kLower[u - u'a']);
  }
  return out;
}

QString ToQtInputMask(const std::string& pattern, char blank) {
  if (pattern.empty()) return {};
  // Characters with a meaning in Qt masks; as literals they need a backslash.
  static const QString kSpecial = QStringLiteral("AaNnXx90DdHhBb#<>!\\[]{};");
  QString mask;
  auto literal = [&](char c) {
    const QChar ch = QChar::fromLatin1(c);
    if (kSpecial.contains(ch)) mask += QLatin1Char('\\');
    mask += ch;
  };
  // Places to type in: the framework's mask character and Qt's at the same index (required and
  // optional digit, letter, letter or digit).
  constexpr std::string_view kOwnPlaces = "09LlAa";
  constexpr std::string_view kQtPlaces = "90AaNn";
  for (size_t i = 0; i < pattern.size(); ++i) {
    const char c = pattern[i];
    if (const size_t place = kOwnPlaces.find(c); place != std::string_view::npos) {
      mask += QLatin1Char(kQtPlaces[place]);
    } else if (c == '\\') {
      if (i + 1 < pattern.size()) literal(pattern[++i]);
    } else {
      literal(c);
    }
  }
  mask += QLatin1Char(';');
  mask += QChar::fromLatin1(blank ? blank : ' ');
  return mask;
}

QString WrapCaption(const QString& caption, const QFontMetrics& metrics, int width) {
  QStringList lines;
  for (const QString& paragraph : caption.split(QLatin1Char('\n'))) {
    QString line;
    for (const QString& word : paragraph.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
      const QString longer = line.isEmpty() ? word : line + QLatin1Char(' ') + word;
      if (line.isEmpty() || metrics.horizontalAdvance(longer) <= width) {
        line = longer;
      } else {
        lines << line;
        line = word;
      }
    }
    lines << line;
  }
  return lines.join(QLatin1Char('\n'));
}

QString ToQtNameFilter(const std::string& filter) {
  QString all = QStringLiteral("All files (*)");
  const QString text = ToQt(filter).trimmed();
  if (text.isEmpty()) return all;
  QStringList filters;
  if (text.contains(QLatin1Char('|'))) {
    const QStringList parts = text.split(QLatin1Char('|'));
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
      QString patterns = parts[i + 1];
      patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
      filters << QStringLiteral("%1 (%2)").arg(parts[i], patterns);
    }
  } else {
    QString patterns = text;
    patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
    const QString first = patterns.split(QLatin1Char(' '), Qt::SkipEmptyParts).value(0);
    const qsizetype dot = first.lastIndexOf(QLatin1Char('.'));
    const QString ext = dot >= 0 ? first.mid(dot + 1) : QString();
    QString description;
    if (ext.compare(QLatin1String("txt"), Qt::CaseInsensitive) == 0) {
      description = QStringLiteral("Text files");
    } else if (!ext.isEmpty() && ext != QLatin1String("*")) {
      description = ext.toUpper() + QStringLiteral(" files");
    } else {
      description = QStringLiteral("Files");
    }
    filters << QStringLiteral("%1 (%2)").arg(description, patterns);
  }
  if (!filters.contains(all)) filters << all;
  return filters.join(QStringLiteral(";;"));
}

}  // namespace ui::qt
