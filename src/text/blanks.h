#pragma once
// What the program's text formats call blanks: spaces and every control character, that is every
// code up to 32. Lines, keys, values and masks are trimmed of them at both ends.

#include <QChar>
#include <QStringView>

inline bool IsBlank(QChar c) { return c.unicode() <= 32; }

inline QStringView TrimBlanks(QStringView text) {
  qsizetype begin = 0;
  qsizetype end = text.size();
  while (begin < end && IsBlank(text[begin])) ++begin;
  while (end > begin && IsBlank(text[end - 1])) --end;
  return text.mid(begin, end - begin);
}
