#pragma once
// Readers of Key=Value lines, as the ini file and the list blocks hold them. A line matches a
// key when it begins with the key (case-sensitive) and what follows, with blanks and control
// characters trimmed, begins with "="; so SearchFileDepth is not confused with
// SearchFileDepthAll, nor Search1 with Search10. The first matching line at or after `start`
// wins. Spaces around the key and the "=" are allowed (Volume = 70 reads as 70).

#include <QHash>
#include <QString>
#include <QStringList>
#include <QVector>
#include <cstdint>

// The value of the first line at index `start` or later that holds `key`, trimmed; `start`
// becomes the index after that line. The empty text, with `start` unchanged, when none does.
QString FindKeyValue(const QStringList& lines, const QString& key, int& start);
// Decimal digits after an optional "-", up to the first non-digit; a value without digits is
// 0, a missing or empty value the default (not clamped). Clamped into [min, max] only when the
// bounds differ.
std::int32_t GetKeyInt(const QStringList& lines, const QString& key, std::int32_t def,
                       std::int32_t min, std::int32_t max);
// The value as a number with "." as the decimal point, whatever the locale; clamped as above.
// A value that is not a number reads as 0.
double GetKeyReal(const QStringList& lines, const QString& key, double def, double min, double max);
// True exactly when the first four characters, upper-cased, are "TRUE"; values shorter than
// four characters (1, 0, Yes) give the default.
bool GetKeyBool(const QStringList& lines, const QString& key, bool def);
// The value found from `start` on; an empty value gives the default.
QString GetKeyString(const QStringList& lines, const QString& key, const QString& def, int& start);

// The same readers over lines indexed once, for files with many lines: each look-up costs a
// hash probe and a binary search instead of a pass over every line, and gives exactly the
// result of the plain readers above (keys holding "=" or ending in a blank, which the program
// never uses, take the plain pass).
class CKeyValueLines {
 public:
  explicit CKeyValueLines(const QStringList& lines);
  const QStringList& Lines() const { return lines_; }

  QString FindKeyValue(const QString& key, int& start) const;
  std::int32_t GetKeyInt(const QString& key, std::int32_t def, std::int32_t min,
                         std::int32_t max) const;
  double GetKeyReal(const QString& key, double def, double min, double max) const;
  bool GetKeyBool(const QString& key, bool def) const;
  QString GetKeyString(const QString& key, const QString& def, int& start) const;

 private:
  QStringList lines_;
  // Key part of a line -> its line indexes, ascending. The keys view the text of lines_, which
  // this object never changes.
  QHash<QStringView, QVector<int>> lineIndexes_;
};

// Formats a real in the shortest text that reads back exactly, at most 15 significant digits
// (a value needing more is rounded to 15), "." as the decimal point whatever the locale: 12.5,
// 0, 183.046. Fixed notation from 0.00001 to 15 integer digits, else "1E20", "-2.5E-6".
// Values that are not finite are written as 0.
QString FormatReal(double value);
