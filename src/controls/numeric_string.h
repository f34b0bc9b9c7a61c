#pragma once
// The correction rule of the numeric edit fields, kept apart from the widget so that it can be
// used and tested without a window.

#include <QString>
#include <cstdint>

namespace controls {

struct NumericCorrection {
  QString text;              // the corrected text
  std::int64_t integer = 0;  // its whole-number value
  float floating = 0;        // its value as a 32-bit float
};

// Reduces `text` to a number text: an optional leading "-" (when `minus`), at most one "." (when
// `floatEnabled`), at most nine digits; everything else is dropped. A value outside [min, max]
// is replaced by the limit and only then is the text rewritten; a value within keeps the text
// as typed, leading zeros included. The decimal point is "." whatever the locale.
NumericCorrection CorrectNumericString(const QString& text, bool minus, bool floatEnabled,
                                       const QString& max, const QString& min);

}  // namespace controls
