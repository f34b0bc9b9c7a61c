#include "text/encoding.h"

#include <QByteArray>
#include <QByteArrayView>
#include <algorithm>
#include <cstring>
#include <limits>

#include "platform/codepage.h"
#include "text/stock.h"

namespace {

constexpr qsizetype kMaxTextUnits = std::numeric_limits<int32_t>::max() / 2;

TextEncoding Valid(TextEncoding encoding) {
  const int value = static_cast<int>(encoding);
  return value >= 0 && value < kTextEncodingCount ? encoding : TextEncoding::kShiftJis;
}

LineEnding Valid(LineEnding lineEnding) {
  const int value = static_cast<int>(lineEnding);
  return value >= 0 && value < kLineEndingCount ? lineEnding : LineEnding::kCrLf;
}

// How the units of a line become bytes; the mark is a separate matter.
enum class Form { kCp932, kUtf16LE, kUtf16BE, kUtf8 };

Form FormOf(TextEncoding encoding) {
  switch (encoding) {
    case TextEncoding::kUtf16LE:
    case TextEncoding::kUtf16LEWithBom:
      return Form::kUtf16LE;
    case TextEncoding::kUtf16BE:
    case TextEncoding::kUtf16BEWithBom:
      return Form::kUtf16BE;
    case TextEncoding::kUtf8WithBom:
    case TextEncoding::kUtf8N:
      return Form::kUtf8;
    case TextEncoding::kShiftJis:
      break;
  }
  return Form::kCp932;
}

QByteArrayView MarkOf(TextEncoding encoding) {
  switch (encoding) {
    case TextEncoding::kUtf16LEWithBom:
      return QByteArrayView("\xFF\xFE", 2);
    case TextEncoding::kUtf16BEWithBom:
      return QByteArrayView("\xFE\xFF", 2);
    case TextEncoding::kUtf8WithBom:
      return QByteArrayView("\xEF\xBB\xBF", 3);
    default:
      return QByteArrayView();
  }
}

// The line end in a one-byte-per-ASCII encoding (Shift-JIS, UTF-8).
QByteArrayView ByteLineEnd(LineEnding lineEnding) {
  switch (lineEnding) {
    case LineEnding::kCr:
      return QByteArrayView("\r", 1);
    case LineEnding::kLf:
      return QByteArrayView("\n", 1);
    case LineEnding::kCrLf:
      break;
  }
  return QByteArrayView("\r\n", 2);
}

// Eight bytes at a time: kHighs marks the high bit of each byte, and HasZeroByte is nonzero
// exactly when one of the eight bytes is zero.
constexpr uint64_t kOnes = 0x0101010101010101ULL;
constexpr uint64_t kHighs = 0x8080808080808080ULL;
constexpr uint64_t HasZeroByte(uint64_t v) { return (v - kOnes) & ~v & kHighs; }

// ---- Detection ----

// Skips bytes 01 to 7F, eight at a time: both pattern tests accept them alone, and they are
// most of any playlist.
qsizetype SkipPlainAscii(const uchar* b, qsizetype i, qsizetype n) {
  while (i + 8 <= n) {
    uint64_t v;
    std::memcpy(&v, b + i, 8);
    if (((v & kHighs) | HasZeroByte(v)) != 0) break;
    i += 8;
  }
  return i;
}

bool InRange(uchar c, uchar low, uchar high) { return c >= low && c <= high; }

// Passes unless a byte shows the data is not Shift-JIS: a zero byte, a half-width katakana byte
// (A1 to DF; rare in file names and far more likely to be part of UTF-8), or a lead byte
// without a trail byte.
bool PassesShiftJisTest(const uchar* b, qsizetype n) {
  for (qsizetype i = 0;;) {
    i = SkipPlainAscii(b, i, n);
    if (i >= n) return true;
    const uchar c = b[i];
    if (c == 0x00 || InRange(c, 0xA1, 0xDF)) return false;
    if (InRange(c, 0x81, 0x9F) || InRange(c, 0xE0, 0xFC)) {
      if (i + 1 >= n) return false;
      const uchar trail = b[i + 1];
      if (!InRange(trail, 0x40, 0x7E) && !InRange(trail, 0x80, 0xFC)) return false;
      i += 2;
    } else {
      ++i;  // 01 to 80, A0, FD to FF stand alone
    }
  }
}

// Passes unless a byte breaks the shape of UTF-8 sequences: a zero byte, a continuation byte
// standing alone, a lead byte without its continuation bytes, or F8 to FF.
bool PassesUtf8Test(const uchar* b, qsizetype n) {
  for (qsizetype i = 0;;) {
    i = SkipPlainAscii(b, i, n);
    if (i >= n) return true;
    const uchar c = b[i];
    if (c == 0x00 || InRange(c, 0x80, 0xBF) || c >= 0xF8) return false;
    int follow = 0;
    if (InRange(c, 0xC2, 0xDF))
      follow = 1;
    else if (InRange(c, 0xE0, 0xEF))
      follow = 2;
    else if (InRange(c, 0xF0, 0xF7))
      follow = 3;
    if (i + follow >= n) return false;  // the sequence runs past the end
    for (int k = 1; k <= follow; ++k)
      if (!InRange(b[i + k], 0x80, 0xBF)) return false;
    i += 1 + follow;  // 01 to 7F, C0 and C1 stand alone
  }
}

// ---- Encoding ----

bool IsHighSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLowSurrogate(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

void EncodeCp932(const char16_t* s, qsizetype n, LineEnding lineEnding, QByteArray& out) {
  // Converted line by line, as the code page conversion sees each line on its own. Characters
  // that code page 932 lacks, and unpaired surrogates, become "?" in the conversion.
  const QByteArrayView end = ByteLineEnd(lineEnding);
  qsizetype start = 0;
  while (start < n) {
    const char16_t* lf = std::find(s + start, s + n, u'\n');
    const qsizetype stop = lf - s;
    if (stop > start) platform::AppendUtf16AsCp932(s + start, stop - start, out);
    if (stop == n) break;
    out.append(end);
    start = stop + 1;
  }
}

void EncodeUtf16(const char16_t* s, qsizetype n, bool bigEndian, LineEnding lineEnding,
                 QByteArray& out) {
  // Units pass through as they are, unpaired surrogates included: UTF-16 can carry them.
  const qsizetype lineFeeds = std::count(s, s + n, u'\n');
  const qsizetype extra = lineEnding == LineEnding::kCrLf ? lineFeeds : 0;
  const qsizetype base = out.size();
  out.resize(base + (n + extra) * 2);
  uchar* p = reinterpret_cast<uchar*>(out.data()) + base;
  auto put = [&p, bigEndian](char16_t c) {
    p[bigEndian ? 1 : 0] = static_cast<uchar>(c & 0xFF);
    p[bigEndian ? 0 : 1] = static_cast<uchar>(c >> 8);
    p += 2;
  };
  if (!bigEndian && lineEnding == LineEnding::kLf) {
    // The text buffer already holds exactly these bytes.
    std::memcpy(p, s, static_cast<size_t>(n) * 2);
    return;
  }
  for (qsizetype i = 0; i < n; ++i) {
    const char16_t c = s[i];
    if (c != u'\n') {
      put(c);
    } else if (lineEnding == LineEnding::kCrLf) {
      put(u'\r');
      put(u'\n');
    } else {
      put(lineEnding == LineEnding::kCr ? u'\r' : u'\n');
    }
  }
}

void EncodeUtf8(const char16_t* s, qsizetype n, LineEnding lineEnding, QByteArray& out) {
  const QByteArrayView end = ByteLineEnd(lineEnding);
  // Each unit takes at most three bytes (a pair takes four for two units, a line end at most
  // two for one), so a chunk of units never needs more room than three bytes each; the few
  // spare bytes cover a pair that straddles the chunk's end.
  constexpr qsizetype kChunk = 16384;
  qsizetype used = out.size();
  qsizetype i = 0;
  while (i < n) {
    const qsizetype stop = std::min(n, i + kChunk);
    out.resize(used + (stop - i) * 3 + 4);
    uchar* const begin = reinterpret_cast<uchar*>(out.data());
    uchar* p = begin + used;
    while (i < stop) {
      const char16_t c = s[i++];
      if (c < 0x80) {
        if (c != u'\n') {
          *p++ = static_cast<uchar>(c);
        } else {
          std::memcpy(p, end.data(), static_cast<size_t>(end.size()));
          p += end.size();
        }
      } else if (c < 0x800) {
        *p++ = static_cast<uchar>(0xC0 | (c >> 6));
        *p++ = static_cast<uchar>(0x80 | (c & 0x3F));
      } else if (IsHighSurrogate(c) && i < n && IsLowSurrogate(s[i])) {
        const char32_t cp = 0x10000 + ((char32_t(c) - 0xD800) << 10) + (char32_t(s[i++]) - 0xDC00);
        *p++ = static_cast<uchar>(0xF0 | (cp >> 18));
        *p++ = static_cast<uchar>(0x80 | ((cp >> 12) & 0x3F));
        *p++ = static_cast<uchar>(0x80 | ((cp >> 6) & 0x3F));
        *p++ = static_cast<uchar>(0x80 | (cp & 0x3F));
      } else if (IsHighSurrogate(c) || IsLowSurrogate(c)) {
        // An unpaired surrogate has no UTF-8 form. It becomes U+FFFD, as the platform's own
        // converter does, so the file stays valid UTF-8.
        *p++ = 0xEF;
        *p++ = 0xBF;
        *p++ = 0xBD;
      } else {
        *p++ = static_cast<uchar>(0xE0 | (c >> 12));
        *p++ = static_cast<uchar>(0x80 | ((c >> 6) & 0x3F));
        *p++ = static_cast<uchar>(0x80 | (c & 0x3F));
      }
    }
    used = p - begin;
  }
  out.resize(used);
}

// ---- Decoding ----

// Shift-JIS: the line end is searched byte by byte; 0D and 0A are never trail bytes.
qsizetype FindByteLineEnd(const char* b, qsizetype from, qsizetype n, LineEnding lineEnding) {
  const char first = lineEnding == LineEnding::kLf ? '\n' : '\r';
  while (from < n) {
    const void* hit = std::memchr(b + from, first, static_cast<size_t>(n - from));
    if (hit == nullptr) return -1;
    const qsizetype at = static_cast<const char*>(hit) - b;
    if (lineEnding != LineEnding::kCrLf) return at;
    if (at + 1 < n && b[at + 1] == '\n') return at;
    from = at + 1;
  }
  return -1;
}

// Appends one decoded Shift-JIS segment, cut at its first U+0000.
void AppendCp932Segment(const char* b, qsizetype n, QString& out) {
  if (n <= 0) return;
  const qsizetype base = out.size();
  // A lead byte without a valid trail byte, a lead byte at the end of a line and unassigned
  // codes each become "?" in the conversion.
  platform::AppendCp932AsUtf16(b, n, out);
  const QChar* d = out.constData();
  const QChar* zero = std::find(d + base, d + out.size(), QChar(u'\0'));
  if (zero != d + out.size()) out.truncate(zero - d);
}

void DecodeCp932(const char* b, qsizetype n, LineEnding lineEnding, QString& out) {
  const qsizetype endLength = ByteLineEnd(lineEnding).size();
  qsizetype start = 0;
  for (;;) {
    const qsizetype at = FindByteLineEnd(b, start, n, lineEnding);
    if (at < 0) break;
    AppendCp932Segment(b + start, at - start, out);
    out.append(QChar(u'\n'));
    start = at + endLength;
  }
  AppendCp932Segment(b + start, n - start, out);
}

// Writes UTF-16 units to memory that need not be aligned for them (a text buffer may hold an
// odd number of bytes before the text being decoded).
class UnitWriter {
 public:
  explicit UnitWriter(char* out) : p_(out) {}
  void Put(char16_t unit) {
    std::memcpy(p_, &unit, 2);
    p_ += 2;
  }
  char* end() const { return p_; }

 private:
  char* p_;
};

// UTF-8 and UTF-16 are decoded in one pass that also cuts the lines: a line end becomes
// U+000A, and each line stops at its first U+0000 (nothing after a zero belongs to the line;
// a zero never occurs in a sound text file) and starts again after the next line end. Neither
// ever writes more units than there are bytes.

// Malformed UTF-8 becomes U+FFFD, one for each maximal ill-formed part: a byte that cannot
// start a sequence, or a start whose next byte does not fit (cut off by the end of the line or
// of the data, an overlong form, an encoded surrogate, a code past U+10FFFF). The byte that
// did not fit is read again. Line ends are ASCII bytes and never continue a sequence, so a
// sequence never runs into the next line. A U+FEFF inside the text is a character like any
// other: the file's own mark was skipped before.
char* DecodeUtf8(const uchar* b, qsizetype n, LineEnding lineEnding, char* out) {
  const uchar first = lineEnding == LineEnding::kLf ? '\n' : '\r';
  const bool crLf = lineEnding == LineEnding::kCrLf;
  const uint64_t firsts = kOnes * first;
  UnitWriter w(out);
  bool cut = false;
  qsizetype i = 0;
  while (i < n) {
    // Runs of ASCII that hold no zero and no line end (most of a path) go eight bytes at a time.
    while (!cut && i + 8 <= n) {
      uint64_t v;
      std::memcpy(&v, b + i, 8);
      if (((v & kHighs) | HasZeroByte(v) | HasZeroByte(v ^ firsts)) != 0) break;
      for (int k = 0; k < 8; ++k) w.Put(b[i + k]);
      i += 8;
    }
    if (i >= n) break;
    const uchar c = b[i];
    if (c < 0x80) {
      if (c == first && (!crLf || (i + 1 < n && b[i + 1] == '\n'))) {
        w.Put(u'\n');
        cut = false;
        i += crLf ? 2 : 1;
        continue;
      }
      if (c == 0) cut = true;
      if (!cut) w.Put(c);
      ++i;
      continue;
    }
    int need = 0;
    uchar low = 0x80;  // bounds of the next byte; narrower after E0, ED, F0 and F4
    uchar high = 0xBF;
    char32_t code = 0;
    if (InRange(c, 0xC2, 0xDF)) {
      need = 1;
      code = c & 0x1F;
    } else if (InRange(c, 0xE0, 0xEF)) {
      need = 2;
      code = c & 0x0F;
      if (c == 0xE0) low = 0xA0;
      if (c == 0xED) high = 0x9F;
    } else if (InRange(c, 0xF0, 0xF4)) {
      need = 3;
      code = c & 0x07;
      if (c == 0xF0) low = 0x90;
      if (c == 0xF4) high = 0x8F;
    }
    ++i;
    int got = 0;
    while (got < need && i < n && InRange(b[i], low, high)) {
      code = (code << 6) | (b[i] & 0x3F);
      low = 0x80;
      high = 0xBF;
      ++i;
      ++got;
    }
    if (cut) continue;
    if (need == 0 || got < need) {
      w.Put(u'\uFFFD');
    } else if (code >= 0x10000) {
      w.Put(static_cast<char16_t>(0xD800 + ((code - 0x10000) >> 10)));
      w.Put(static_cast<char16_t>(0xDC00 + (code & 0x3FF)));
    } else {
      w.Put(static_cast<char16_t>(code));
    }
  }
  return w.end();
}

// Line ends are matched only on whole units at even offsets, so a 0D or 0A byte that is half
// of another character never cuts a line. An odd final byte is half a unit with no partner;
// it is dropped. Unpaired surrogates pass through as the units they are.
char* DecodeUtf16(const uchar* b, qsizetype n, bool bigEndian, LineEnding lineEnding, char* out) {
  const qsizetype units = n / 2;
  auto unitAt = [b, bigEndian](qsizetype k) {
    return bigEndian ? static_cast<char16_t>((b[2 * k] << 8) | b[2 * k + 1])
                     : static_cast<char16_t>(b[2 * k] | (b[2 * k + 1] << 8));
  };
  const char16_t first = lineEnding == LineEnding::kLf ? u'\n' : u'\r';
  const bool crLf = lineEnding == LineEnding::kCrLf;
  UnitWriter w(out);
  bool cut = false;
  for (qsizetype k = 0; k < units; ++k) {
    const char16_t c = unitAt(k);
    if (c == first && (!crLf || (k + 1 < units && unitAt(k + 1) == u'\n'))) {
      w.Put(u'\n');
      cut = false;
      if (crLf) ++k;
      continue;
    }
    if (c == 0) cut = true;
    if (!cut) w.Put(c);
  }
  return w.end();
}

}  // namespace

const QStringList& EncodingNames() {
  static const QStringList names = {QStringLiteral("Shift-JIS"),  QStringLiteral("UTF-16LE"),
                                    QStringLiteral("UTF-16BE"),   QStringLiteral("UTF-16(LE)"),
                                    QStringLiteral("UTF-16(BE)"), QStringLiteral("UTF-8"),
                                    QStringLiteral("UTF-8N")};
  return names;
}

const QStringList& LineEndingNames() {
  static const QStringList names = {QStringLiteral("CR + LF"), QStringLiteral("CR"),
                                    QStringLiteral("LF")};
  return names;
}

QString EncodingName(TextEncoding encoding) {
  const int index = static_cast<int>(encoding);
  return index >= 0 && index < kTextEncodingCount ? EncodingNames().at(index) : QString();
}

QString LineEndingName(LineEnding lineEnding) {
  const int index = static_cast<int>(lineEnding);
  return index >= 0 && index < kLineEndingCount ? LineEndingNames().at(index) : QString();
}

TextEncoding EncodingFromName(const QString& name) {
  const qsizetype index = EncodingNames().indexOf(name);  // exact, case-sensitive
  return index < 0 ? TextEncoding::kShiftJis : static_cast<TextEncoding>(index);
}

LineEnding LineEndingFromName(const QString& name) {
  if (name == QLatin1String("CR")) return LineEnding::kCr;
  if (name == QLatin1String("LF")) return LineEnding::kLf;
  return LineEnding::kCrLf;
}

bool EncodeText(CStock& bytes, CStock& text, TextEncoding encoding, LineEnding lineEnding) {
  if (!text.SetMode(CStock::kTextMode) || !bytes.SetMode(CStock::kByteMode)) return false;
  encoding = Valid(encoding);
  lineEnding = Valid(lineEnding);
  const char16_t* s = text.text();
  const qsizetype n = text.textLength();

  QByteArray out;
  out.append(MarkOf(encoding));
  switch (FormOf(encoding)) {
    case Form::kCp932:
      EncodeCp932(s, n, lineEnding, out);
      break;
    case Form::kUtf16LE:
      EncodeUtf16(s, n, false, lineEnding, out);
      break;
    case Form::kUtf16BE:
      EncodeUtf16(s, n, true, lineEnding, out);
      break;
    case Form::kUtf8:
      EncodeUtf8(s, n, lineEnding, out);
      break;
  }
  if (out.isEmpty()) return true;
  if (out.size() > std::numeric_limits<int32_t>::max()) return false;
  return bytes.Append(out.constData(), static_cast<int32_t>(out.size()));
}

bool DetectTextEncoding(const CStock& bytes, TextEncoding& encoding, LineEnding& lineEnding) {
  const uchar* b = reinterpret_cast<const uchar*>(bytes.data());
  qsizetype n = bytes.size();
  if (n < 3) return false;

  bool decided = true;
  if (b[0] == 0xFF && b[1] == 0xFE) {
    encoding = TextEncoding::kUtf16LEWithBom;
    b += 2;
    n -= 2;
  } else if (b[0] == 0xFE && b[1] == 0xFF) {
    encoding = TextEncoding::kUtf16BEWithBom;
    b += 2;
    n -= 2;
  } else if (b[0] == 0xEF && b[1] == 0xBB && b[2] == 0xBF) {
    encoding = TextEncoding::kUtf8WithBom;
    b += 3;
    n -= 3;
  } else {
    const bool shiftJis = PassesShiftJisTest(b, n);
    const bool utf8 = PassesUtf8Test(b, n);
    if (utf8 && !shiftJis) {
      encoding = TextEncoding::kUtf8N;
    } else if (shiftJis && !utf8) {
      encoding = TextEncoding::kShiftJis;
    } else {
      decided = false;  // plain ASCII passes both; UTF-16 without a mark fails both
    }
  }

  // The first 0D or 0A byte decides the line end, even when it is half of a UTF-16 unit. When
  // nothing decided the encoding, a zero byte beside a CR means UTF-16, its side the byte order.
  qsizetype i = 0;
  while (i < n && b[i] != 0x0A && b[i] != 0x0D) ++i;
  if (i < n) {
    const bool even = i % 2 == 0;
    if (b[i] == 0x0A) {
      lineEnding = LineEnding::kLf;
    } else if (i + 1 < n && b[i + 1] == 0x0A) {
      lineEnding = LineEnding::kCrLf;
    } else if (i + 2 < n && b[i + 1] == 0x00 && b[i + 2] == 0x0A) {
      lineEnding = LineEnding::kCrLf;
      if (!decided) {
        if (even && i + 3 < n && b[i + 3] == 0x00)
          encoding = TextEncoding::kUtf16LE;
        else if (!even && b[i - 1] == 0x00)
          encoding = TextEncoding::kUtf16BE;
      }
    } else {
      lineEnding = LineEnding::kCr;
      if (!decided) {
        if (even && i + 1 < n && b[i + 1] == 0x00)
          encoding = TextEncoding::kUtf16LE;
        else if (!even && b[i - 1] == 0x00)
          encoding = TextEncoding::kUtf16BE;
      }
    }
  }
  return decided;
}

bool DecodeText(CStock& text, CStock& bytes, TextEncoding& encoding, LineEnding& lineEnding) {
  if (!bytes.SetMode(CStock::kByteMode) || !text.SetMode(CStock::kTextMode)) return false;
  DetectTextEncoding(bytes, encoding, lineEnding);
  encoding = Valid(encoding);
  lineEnding = Valid(lineEnding);

  const char* b = bytes.data();
  qsizetype n = bytes.size();
  // The mark is skipped only where the bytes really begin with it: a fallback that names a
  // marked encoding must not eat the first characters of a file written without one.
  const QByteArrayView mark = MarkOf(encoding);
  if (!mark.isEmpty() && QByteArrayView(b, n).startsWith(mark)) {
    b += mark.size();
    n -= mark.size();
  }
  if (n == 0) return true;
  const auto* u = reinterpret_cast<const uchar*>(b);
  const Form form = FormOf(encoding);

  if (form == Form::kCp932) {
    QString out;
    out.reserve(n + 1);  // never more units than bytes, plus the terminator
    DecodeCp932(b, n, lineEnding, out);
    if (out.isEmpty()) return true;
    out.append(QChar(u'\0'));  // the terminator AppendText expects in text mode
    if (out.size() > kMaxTextUnits) return false;
    return text.AppendText(reinterpret_cast<const char16_t*>(out.constData()),
                           static_cast<int32_t>(out.size()));
  }

  // UTF-8 and UTF-16 are decoded straight into the text buffer: the terminator comes off, room
  // for the most units the bytes can give (and the terminator) is claimed, and what the
  // decoding did not use is given back before the terminator goes on again, into room that is
  // already there.
  const qsizetype most = (form == Form::kUtf8 ? n : n / 2) + 1;
  if (most > kMaxTextUnits) return false;
  text.SetMode(CStock::kByteMode);
  const int32_t base = text.size();
  if (!text.Resize(static_cast<int32_t>(most * 2))) {
    text.SetMode(CStock::kTextMode);
    return false;
  }
  char* const start = text.data() + base;
  char* end = nullptr;
  switch (form) {
    case Form::kUtf16LE:
      end = DecodeUtf16(u, n, false, lineEnding, start);
      break;
    case Form::kUtf16BE:
      end = DecodeUtf16(u, n, true, lineEnding, start);
      break;
    default:
      end = DecodeUtf8(u, n, lineEnding, start);
      break;
  }
  text.Resize(static_cast<int32_t>(end - start) - static_cast<int32_t>(most * 2));
  text.SetMode(CStock::kTextMode);
  return true;
}
