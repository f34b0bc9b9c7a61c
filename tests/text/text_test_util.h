#pragma once
// Helpers shared by the text tests: readable failure output for Qt strings and bytes, and
// shortcuts between buffers and Qt values.

#include <gtest/gtest.h>

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <cstddef>
#include <cstdio>
#include <ostream>
#include <string>

#include "text/stock.h"

inline void PrintTo(const QByteArray& bytes, std::ostream* os) {
  *os << '"';
  for (const char c : bytes) {
    char hex[4];
    std::snprintf(hex, sizeof hex, "%02X", static_cast<unsigned char>(c));
    *os << hex << ' ';
  }
  *os << '"';
}

inline void PrintTo(const QString& text, std::ostream* os) {
  *os << '"';
  for (const QChar c : text) {
    if (c.unicode() >= 0x20 && c.unicode() < 0x7F) {
      *os << static_cast<char>(c.unicode());
    } else {
      char hex[12];
      std::snprintf(hex, sizeof hex, "\\u%04X", c.unicode());
      *os << hex;
    }
  }
  *os << '"';
}

namespace text_test {

// Bytes from a literal, zero bytes included.
template <size_t N>
QByteArray B(const char (&bytes)[N]) {
  return QByteArray(bytes, N - 1);
}

// Names parameterised cases after their `name` field.
struct ByName {
  template <typename Case>
  std::string operator()(const testing::TestParamInfo<Case>& p) const {
    return p.param.name;
  }
};

inline QByteArray BytesOf(const CStock& stock) { return QByteArray(stock.data(), stock.size()); }

// The text of a buffer, without its terminator in text mode.
inline QString TextOf(const CStock& stock) {
  return QString(reinterpret_cast<const QChar*>(stock.text()), stock.textLength());
}

// A byte buffer holding `bytes`.
inline void Fill(CStock& stock, const QByteArray& bytes) {
  if (!bytes.isEmpty()) stock.Append(bytes.constData(), static_cast<int32_t>(bytes.size()));
}

// A text buffer (text mode) holding `text`.
inline void FillText(CStock& stock, const QString& text) {
  stock.SetMode(CStock::kTextMode);
  QString terminated = text;
  terminated.append(QChar(u'\0'));
  stock.AppendText(reinterpret_cast<const char16_t*>(terminated.utf16()),
                   static_cast<int32_t>(terminated.size()));
}

}  // namespace text_test
