#include "text/text_lines.h"

#include <algorithm>
#include <cstring>
#include <limits>

#include "text/encoding.h"
#include "text/stock.h"

bool AppendLinesToText(CStock& text, const QStringList& lines) {
  qsizetype units = 0;
  for (const QString& line : lines) units += line.size() + 1;
  if (units == 0) return true;
  // One growth for the whole list instead of one per line; the units are then copied in place.
  const bool textMode = text.mode() == CStock::kTextMode;
  const qsizetype terminator = textMode ? 1 : 0;
  if (units + terminator > std::numeric_limits<int32_t>::max() / 2 - text.size() / 2) return false;
  // In text mode the terminator is taken off while the lines go in and put back after them;
  // the room for it is claimed first, so putting it back cannot fail.
  if (textMode) text.SetMode(CStock::kByteMode);
  const int32_t at = text.size();
  const int32_t bytes = static_cast<int32_t>(units + terminator) * 2;
  if (!text.Resize(bytes)) {
    if (textMode) text.SetMode(CStock::kTextMode);
    return false;
  }
  text.Resize(-2 * static_cast<int32_t>(terminator));
  char* p = text.data() + at;
  for (const QString& line : lines) {
    const size_t lineBytes = static_cast<size_t>(line.size()) * 2;
    if (lineBytes > 0) std::memcpy(p, line.utf16(), lineBytes);
    p += lineBytes;
    const char16_t lf = u'\n';
    std::memcpy(p, &lf, 2);
    p += 2;
  }
  if (textMode) text.SetMode(CStock::kTextMode);
  return true;
}

void SplitTextLines(QStringList& lines, const CStock& text) {
  const char16_t* s = text.text();
  const qsizetype n = text.textLength();
  if (n == 0) return;
  const qsizetype lineFeeds = std::count(s, s + n, u'\n');
  lines.reserve(lines.size() + lineFeeds + 1);
  auto add = [&lines, s](qsizetype begin, qsizetype end) {
    while (begin < end && s[begin] <= 32) ++begin;
    while (end > begin && s[end - 1] <= 32) --end;
    lines.append(QString(reinterpret_cast<const QChar*>(s + begin), end - begin));
  };
  qsizetype start = 0;
  while (start < n) {
    const qsizetype stop = std::find(s + start, s + n, u'\n') - s;
    add(start, stop);
    start = stop + 1;
  }
}

bool SaveTextLines(const QStringList& lines, const QString& path) {
  CStock text;
  CStock bytes;
  if (!AppendLinesToText(text, lines)) return false;
  if (!EncodeText(bytes, text, TextEncoding::kUtf16LE, LineEnding::kCrLf)) return false;
  return bytes.SaveToFile(path);
}

namespace {

// Whether the bytes hold a UTF-16LE CR LF (0D 00 0A 00) at an even offset, as every line that
// SaveTextLines writes ends. Text in the legacy code page or UTF-8 never holds zero bytes.
bool HasUtf16LeCrLf(const CStock& bytes) {
  const auto* b = reinterpret_cast<const unsigned char*>(bytes.data());
  for (qint64 i = 0; i + 3 < bytes.size(); i += 2)
    if (b[i] == 0x0D && b[i + 1] == 0 && b[i + 2] == 0x0A && b[i + 3] == 0) return true;
  return false;
}

}  // namespace

void LoadTextLines(QStringList& lines, const QString& path) {
  CStock bytes;
  CStock text;
  if (!bytes.LoadFromFile(path)) return;
  // The program's own files are UTF-16LE without a mark, and detection may not decide them: a
  // first line holding a character with a 0A or 0D byte (上 is 0A 4E) is taken for an LF file of
  // undecided encoding. Falling back on UTF-16LE for such bytes reads them back as written
  // (the line end found then is LF, and the CR left before it is trimmed with the line).
  TextEncoding encoding =
      HasUtf16LeCrLf(bytes) ? TextEncoding::kUtf16LE : TextEncoding::kShiftJis;
  LineEnding lineEnding = LineEnding::kCrLf;
  if (!DecodeText(text, bytes, encoding, lineEnding)) return;
  SplitTextLines(lines, text);
}
