#pragma once
// Conversion between UTF-16 and code page 932 (Windows-31J, the encoding the program calls
// "Shift-JIS"), through glibc's iconv.

#include <QByteArray>
#include <QString>

namespace platform {

// Appends the CP932 bytes of `n` UTF-16 code units to `out`. A character that CP932 cannot
// represent, and an unpaired surrogate, become "?".
void AppendUtf16AsCp932(const char16_t* text, qsizetype n, QByteArray& out);

// Appends the UTF-16 text of `n` CP932 bytes to `out`. Bytes that do not form a CP932 character
// (a lead byte without a valid trail byte, a lead byte at the very end, an unassigned code)
// become "?" one byte at a time, so decoding never reads past the end and always progresses.
void AppendCp932AsUtf16(const char* bytes, qsizetype n, QString& out);

inline QByteArray Utf16ToCp932(const QString& text) {
  QByteArray out;
  AppendUtf16AsCp932(reinterpret_cast<const char16_t*>(text.utf16()), text.size(), out);
  return out;
}
inline QString Cp932ToUtf16(const QByteArray& bytes) {
  QString out;
  AppendCp932AsUtf16(bytes.constData(), bytes.size(), out);
  return out;
}

}  // namespace platform
