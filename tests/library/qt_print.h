#pragma once
// Readable GoogleTest messages for Qt strings (and, through them, string lists).

#include <QString>
#include <ostream>

inline void PrintTo(const QString& text, std::ostream* os) {
  *os << '"' << text.toStdString() << '"';
}
