#include "controls/numeric_string.h"

#include <charconv>
#include <cmath>
#include <optional>
#include <string>

namespace controls {
namespace {

// Reads a limit or a corrected text as a whole number. Limit texts are themselves corrected
// texts, so they hold at most nine digits; a text without digits ("" or "-") reads as 0.
std::int64_t ReadInteger(const QString& text) {
  const std::string s = text.toStdString();
  std::int64_t value = 0;
  const char* first = s.data();
  const char* last = s.data() + s.size();
  if (std::from_chars(first, last, value).ec != std::errc()) return 0;
  return value;
}

// Reads a decimal text with "." as the point, independent of the locale. Empty when the text
// holds no digit (only a point, or nothing).
std::optional<float> ReadFloat(const QString& text) {
  const std::string s = text.toStdString();
  float value = 0;
  const auto [ptr, ec] = std::from_chars(s.data(), s.data() + s.size(), value);
  if (ec != std::errc()) return std::nullopt;
  return value;
}

// The general floating-point form: up to 15 significant digits, exponent form for very large
// or small values, "." as the point.
QString FormatFloat(float value) {
  char buffer[64];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, static_cast<double>(value),
                                    std::chars_format::general, 15);
  return QString::fromLatin1(buffer, result.ptr - buffer);
}

std::int64_t TruncateToInteger(float value) {
  if (!std::isfinite(value)) return 0;
  return static_cast<std::int64_t>(std::trunc(static_cast<double>(value)));
}

// The value of a text without any digit: 0, raised to the lower limit and then lowered to the
// upper one (the second test sees the raised value).
NumericCorrection EmptyValue(QString text, bool floatEnabled, const QString& max,
                             const QString& min) {
  NumericCorrection r;
  r.text = std::move(text);
  if (floatEnabled) {
    float v = 0;
    const float lo = ReadFloat(min).value_or(0);
    const float hi = ReadFloat(max).value_or(0);
    if (v < lo) v = lo;
    if (v > hi) v = hi;
    r.floating = v;
    r.integer = TruncateToInteger(v);
  } else {
    std::int64_t n = 0;
    const std::int64_t lo = ReadInteger(min);
    const std::int64_t hi = ReadInteger(max);
    if (n < lo) n = lo;
    if (n > hi) n = hi;
    r.integer = n;
    r.floating = static_cast<float>(n);
  }
  return r;
}

}  // namespace

NumericCorrection CorrectNumericString(const QString& text, bool minus, bool floatEnabled,
                                       const QString& max, const QString& min) {
  // Blanks and control characters around the text are not part of it.
  qsizetype begin = 0, end = text.size();
  while (begin < end && text[begin].unicode() <= 0x20) ++begin;
  while (end > begin && text[end - 1].unicode() <= 0x20) --end;

  QString result;
  bool negative = false, point = false;
  int digits = 0;
  for (qsizetype i = begin; i < end; ++i) {
    const QChar c = text[i];
    if (minus && c == u'-' && !negative && result.isEmpty()) {
      negative = true;
    } else if (floatEnabled && c == u'.' && !point) {
      point = true;
      result += u'.';
    } else if (c >= u'0' && c <= u'9' && digits < 9) {
      // Nine digits always fit the integer value, so reading never overflows.
      result += c;
      ++digits;
    }
  }

  if (negative && result.isEmpty()) return NumericCorrection{QStringLiteral("-"), 0, 0};
  if (result.isEmpty()) return EmptyValue(QString(), floatEnabled, max, min);

  NumericCorrection r;
  if (floatEnabled) {
    const std::optional<float> read = ReadFloat(result);
    // A lone point has no value; it counts as an empty text but stays as typed.
    if (!read) return EmptyValue(negative ? QStringLiteral("-") + result : result, true, max, min);
    float v = negative ? -*read : *read;
    const float hi = ReadFloat(max).value_or(0);
    const float lo = ReadFloat(min).value_or(0);
    float c = v;
    if (v < lo) c = lo;
    if (v > hi) c = hi;
    if (c != v) {
      v = c;
      result = FormatFloat(c);
    } else if (negative) {
      result.prepend(u'-');
    }
    r.floating = v;
    r.integer = TruncateToInteger(v);
  } else {
    std::int64_t n = ReadInteger(result);
    if (negative) n = -n;
    const std::int64_t hi = ReadInteger(max);
    const std::int64_t lo = ReadInteger(min);
    std::int64_t c = n;
    if (n < lo) c = lo;
    if (n > hi) c = hi;
    if (c != n) {
      n = c;
      result = QString::number(c);
    } else if (negative) {
      result.prepend(u'-');
    }
    r.integer = n;
    r.floating = static_cast<float>(n);
  }
  r.text = std::move(result);
  return r;
}

}  // namespace controls
