#include "settings/key_values.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <string>
#include <system_error>

#include "text/blanks.h"

namespace {

// The value a line holds for `key`: the line begins with the key, then blanks, then "=". Sets
// `matched` and returns the text after the "=", trimmed.
QStringView LineValue(const QString& line, const QString& key, bool& matched) {
  matched = false;
  if (!line.startsWith(key)) return {};
  qsizetype i = key.size();
  while (i < line.size() && IsBlank(line[i])) ++i;
  if (i == line.size() || line[i] != QLatin1Char('=')) return {};
  matched = true;
  return TrimBlanks(QStringView(line).mid(i + 1));
}

// The key under which CKeyValueLines files a line: the text before its first "=", blanks
// removed from its end. A key without "=" and not ending in a blank can only match a line at
// its first "=", and only as exactly this text; other keys are looked up by a plain pass.
bool IndexKeyOf(const QString& line, QStringView& key) {
  const qsizetype eq = line.indexOf(QLatin1Char('='));
  if (eq < 0) return false;
  qsizetype end = eq;
  while (end > 0 && IsBlank(line[end - 1])) --end;
  key = QStringView(line).left(end);
  return true;
}

bool IndexableKey(const QString& key) {
  return !key.contains(QLatin1Char('=')) && !(key.size() > 0 && IsBlank(key.back()));
}

std::int32_t ParseInt(const QString& value, std::int32_t def, std::int32_t min, std::int32_t max) {
  if (value.isEmpty()) return def;
  qsizetype i = 0;
  const bool negative = value[0] == QLatin1Char('-');
  if (negative) i = 1;
  // Accumulated wide and saturated, so that an overlong number cannot overflow.
  constexpr std::int64_t kLimit = std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1;
  std::int64_t n = 0;
  for (; i < value.size(); ++i) {
    const char16_t c = value[i].unicode();
    if (c < u'0' || c > u'9') break;
    n = std::min<std::int64_t>(n * 10 + (c - u'0'), kLimit);
  }
  if (negative) n = -n;
  std::int32_t result = static_cast<std::int32_t>(std::clamp<std::int64_t>(
      n, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
  if (min != max) result = std::clamp(result, std::min(min, max), std::max(min, max));
  return result;
}

// A decimal number with "." whatever the locale; an optional sign and exponent are allowed,
// nothing else. Anything that is not a finite number reads as 0.
double ParseReal(const QString& value) {
  std::string text = value.toStdString();
  const char* begin = text.data();
  const char* end = begin + text.size();
  if (begin != end && *begin == '+') ++begin;
  double result = 0;
  const auto [ptr, ec] = std::from_chars(begin, end, result);
  if (ec != std::errc() || ptr != end || !std::isfinite(result)) return 0;
  return result;
}

double ReadReal(const QString& value, double def, double min, double max) {
  if (value.isEmpty()) return def;
  double result = ParseReal(value);
  if (min != max) result = std::clamp(result, std::min(min, max), std::max(min, max));
  return result;
}

bool ReadBool(const QString& value, bool def) {
  if (value.size() < 4) return def;
  return value.left(4).toUpper() == QLatin1String("TRUE");
}

}  // namespace

QString FindKeyValue(const QStringList& lines, const QString& key, int& start) {
  for (qsizetype i = std::max(start, 0); i < lines.size(); ++i) {
    bool matched = false;
    const QStringView value = LineValue(lines[i], key, matched);
    if (matched) {
      start = static_cast<int>(i + 1);
      return value.toString();
    }
  }
  return QString();
}

std::int32_t GetKeyInt(const QStringList& lines, const QString& key, std::int32_t def,
                       std::int32_t min, std::int32_t max) {
  int start = 0;
  return ParseInt(FindKeyValue(lines, key, start), def, min, max);
}

double GetKeyReal(const QStringList& lines, const QString& key, double def, double min,
                  double max) {
  int start = 0;
  return ReadReal(FindKeyValue(lines, key, start), def, min, max);
}

bool GetKeyBool(const QStringList& lines, const QString& key, bool def) {
  int start = 0;
  return ReadBool(FindKeyValue(lines, key, start), def);
}

QString GetKeyString(const QStringList& lines, const QString& key, const QString& def, int& start) {
  const QString value = FindKeyValue(lines, key, start);
  return value.isEmpty() ? def : value;
}

CKeyValueLines::CKeyValueLines(const QStringList& lines) : lines_(lines) {
  // Read-only access, so that the text the keys view is never detached.
  const QStringList& all = lines_;
  lineIndexes_.reserve(all.size());
  for (qsizetype i = 0; i < all.size(); ++i) {
    QStringView key;
    if (IndexKeyOf(all[i], key)) lineIndexes_[key].append(static_cast<int>(i));
  }
}

QString CKeyValueLines::FindKeyValue(const QString& key, int& start) const {
  if (!IndexableKey(key)) return ::FindKeyValue(lines_, key, start);
  const auto found = lineIndexes_.constFind(QStringView(key));
  if (found == lineIndexes_.constEnd()) return QString();
  const QVector<int>& indexes = *found;
  const auto next = std::lower_bound(indexes.begin(), indexes.end(), std::max(start, 0));
  if (next == indexes.end()) return QString();
  bool matched = false;
  const QStringView value = LineValue(lines_[*next], key, matched);
  start = *next + 1;
  return value.toString();
}

std::int32_t CKeyValueLines::GetKeyInt(const QString& key, std::int32_t def, std::int32_t min,
                                       std::int32_t max) const {
  int start = 0;
  return ParseInt(FindKeyValue(key, start), def, min, max);
}

double CKeyValueLines::GetKeyReal(const QString& key, double def, double min, double max) const {
  int start = 0;
  return ReadReal(FindKeyValue(key, start), def, min, max);
}

bool CKeyValueLines::GetKeyBool(const QString& key, bool def) const {
  int start = 0;
  return ReadBool(FindKeyValue(key, start), def);
}

QString CKeyValueLines::GetKeyString(const QString& key, const QString& def, int& start) const {
  const QString value = FindKeyValue(key, start);
  return value.isEmpty() ? def : value;
}

QString FormatReal(double value) {
  // Zero (of either sign) and values that are not finite are written as 0, which is also what
  // the reader makes of a text that is not a number.
  if (value == 0 || !std::isfinite(value)) return QStringLiteral("0");

  // The shortest digits that read back exactly, as d.ddde[+-]x; more than 15 significant
  // digits are rounded to 15.
  char buffer[64];
  std::to_chars_result written =
      std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific);
  std::string sci(buffer, written.ptr);
  auto significantDigits = [](const std::string& s) {
    const std::size_t e = s.find('e');
    int n = 0;
    for (std::size_t i = 0; i < e; ++i) n += (s[i] >= '0' && s[i] <= '9') ? 1 : 0;
    return n;
  };
  if (significantDigits(sci) > 15) {
    written =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific, 14);
    sci.assign(buffer, written.ptr);
  }

  const std::size_t ePos = sci.find('e');
  const bool negative = sci[0] == '-';
  std::string digits;
  for (std::size_t i = negative ? 1 : 0; i < ePos; ++i)
    if (sci[i] != '.') digits += sci[i];
  while (digits.size() > 1 && digits.back() == '0') digits.pop_back();
  const int exponent = std::stoi(sci.substr(ePos + 1));
  const int count = static_cast<int>(digits.size());

  // Fixed notation from 0.00001 up to 15 digits before the point, scientific outside that
  // ("1E20", "1E-7", "-2.5E-6"), as the general float form of the platform has it.
  std::string out = negative ? "-" : "";
  if (exponent >= -5 && exponent < 15) {
    if (exponent < 0) {
      out += "0.";
      out.append(static_cast<std::size_t>(-exponent - 1), '0');
      out += digits;
    } else if (exponent + 1 >= count) {
      out += digits;
      out.append(static_cast<std::size_t>(exponent + 1 - count), '0');
    } else {
      out += digits.substr(0, static_cast<std::size_t>(exponent + 1));
      out += '.';
      out += digits.substr(static_cast<std::size_t>(exponent + 1));
    }
  } else {
    out += digits[0];
    if (count > 1) out += '.' + digits.substr(1);
    out += 'E' + std::to_string(exponent);
  }
  return QString::fromLatin1(out.data(), static_cast<qsizetype>(out.size()));
}
