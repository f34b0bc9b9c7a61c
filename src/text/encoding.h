#pragma once
// The seven text encodings and three line ends of the program's text files, and the
// conversion between a byte buffer (the file's bytes) and a text buffer (UTF-16 in which every
// line is followed by one U+000A, except perhaps the last).

#include <QString>
#include <QStringList>
#include <cstdint>

class CStock;

// The values are the positions of the names in the option pages' encoding boxes and are what
// the settings refer to (by name, through EncodingFromName).
enum class TextEncoding : int32_t {
  kShiftJis = 0,        // "Shift-JIS": code page 932, no mark
  kUtf16LE = 1,         // "UTF-16LE": no mark
  kUtf16BE = 2,         // "UTF-16BE": no mark
  kUtf16LEWithBom = 3,  // "UTF-16(LE)": FF FE
  kUtf16BEWithBom = 4,  // "UTF-16(BE)": FE FF
  kUtf8WithBom = 5,     // "UTF-8": EF BB BF
  kUtf8N = 6,           // "UTF-8N": no mark
};
inline constexpr int kTextEncodingCount = 7;

enum class LineEnding : int32_t {
  kCrLf = 0,  // "CR + LF"
  kCr = 1,    // "CR"
  kLf = 2,    // "LF"
};
inline constexpr int kLineEndingCount = 3;

// The exact names the user sees; the empty text for a value outside the list.
QString EncodingName(TextEncoding encoding);
QString LineEndingName(LineEnding lineEnding);
// Every name in order, for the option pages' combo boxes.
const QStringList& EncodingNames();
const QStringList& LineEndingNames();

// The value of an exact name (case included); any other text gives kShiftJis.
TextEncoding EncodingFromName(const QString& name);
// "CR" and "LF" give their values; any other text gives kCrLf.
LineEnding LineEndingFromName(const QString& name);

// Turns the text of `text` into bytes appended to `bytes`: the encoding's byte-order mark, then
// each line in the encoding followed, where the text has U+000A, by the line end in the same
// encoding. Puts `text` in text mode and `bytes` in byte mode. False only when the result does
// not fit in a buffer (nothing is appended then).
bool EncodeText(CStock& bytes, CStock& text, TextEncoding encoding, LineEnding lineEnding);

// Examines the bytes of `bytes`. On entry `encoding` and `lineEnding` hold the caller's
// fallback; on return what the bytes showed where they showed something. True when the
// encoding was decided by the bytes (a byte-order mark, or a Shift-JIS/UTF-8 pattern test that
// only one of the two passes).
bool DetectTextEncoding(const CStock& bytes, TextEncoding& encoding, LineEnding& lineEnding);

// Detects with the given pair as fallback, then appends the decoded lines to `text` (put in
// text mode), each line end becoming U+000A. On return the pair holds what was used. False
// only when the text does not fit in a buffer (nothing is appended then).
bool DecodeText(CStock& text, CStock& bytes, TextEncoding& encoding, LineEnding& lineEnding);
