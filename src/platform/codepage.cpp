#include "platform/codepage.h"

#include <errno.h>
#include <iconv.h>

#include <cstring>
#include <stdexcept>

namespace platform {
namespace {

// One conversion descriptor per direction and thread: iconv descriptors carry state and must
// not be shared between threads, and opening them costs far more than a short line.
class IconvHandle {
 public:
  IconvHandle(const char* to, const char* from) : cd_(iconv_open(to, from)) {
    if (cd_ == reinterpret_cast<iconv_t>(-1))
      throw std::runtime_error(std::string("iconv cannot convert ") + from + " to " + to);
  }
  ~IconvHandle() { iconv_close(cd_); }
  IconvHandle(const IconvHandle&) = delete;
  IconvHandle& operator=(const IconvHandle&) = delete;
  iconv_t get() {
    iconv(cd_, nullptr, nullptr, nullptr, nullptr);  // back to the initial state
    return cd_;
  }

 private:
  iconv_t cd_;
};

iconv_t ToCp932() {
  thread_local IconvHandle handle("CP932", "UTF-16LE");
  return handle.get();
}
iconv_t FromCp932() {
  thread_local IconvHandle handle("UTF-16LE", "CP932");
  return handle.get();
}

bool IsHighSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLowSurrogate(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

// Converts a run of non-ASCII UTF-16 units. Anything iconv refuses becomes "?": a whole
// surrogate pair when the unit starts one, else the single unit.
void ConvertRunToCp932(const char16_t* text, qsizetype n, QByteArray& out) {
  iconv_t cd = ToCp932();
  char* in = const_cast<char*>(reinterpret_cast<const char*>(text));
  size_t inLeft = static_cast<size_t>(n) * 2;
  const qsizetype base = out.size();
  out.resize(base + n * 2 + 8);  // CP932 never needs more than two bytes per UTF-16 unit
  char* dst = out.data() + base;
  size_t dstLeft = static_cast<size_t>(n) * 2 + 8;
  while (inLeft > 0) {
    if (iconv(cd, &in, &inLeft, &dst, &dstLeft) != static_cast<size_t>(-1)) break;
    if (errno == E2BIG) break;  // cannot happen with the room reserved above
    const char16_t unit = *reinterpret_cast<const char16_t*>(in);
    size_t skip = 2;
    if (IsHighSurrogate(unit) && inLeft >= 4 &&
        IsLowSurrogate(*reinterpret_cast<const char16_t*>(in + 2)))
      skip = 4;
    in += skip;
    inLeft -= skip;
    *dst++ = '?';
    --dstLeft;
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
  }
  out.resize(dst - out.data());
}

void ConvertRunFromCp932(const char* bytes, qsizetype n, QString& out) {
  iconv_t cd = FromCp932();
  char* in = const_cast<char*>(bytes);
  size_t inLeft = static_cast<size_t>(n);
  const qsizetype base = out.size();
  out.resize(base + n + 4);  // one UTF-16 unit per byte at most
  char* dst = reinterpret_cast<char*>(out.data() + base);
  size_t dstLeft = (static_cast<size_t>(n) + 4) * 2;
  while (inLeft > 0) {
    if (iconv(cd, &in, &inLeft, &dst, &dstLeft) != static_cast<size_t>(-1)) break;
    if (errno == E2BIG) break;
    // EILSEQ (not a CP932 character) or EINVAL (a lead byte cut off at the end): one "?" for
    // the offending byte, then go on with the next byte.
    ++in;
    --inLeft;
    *reinterpret_cast<char16_t*>(dst) = u'?';
    dst += 2;
    dstLeft -= 2;
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
  }
  out.resize((reinterpret_cast<QChar*>(dst) - out.data()));
}

}  // namespace

void AppendUtf16AsCp932(const char16_t* text, qsizetype n, QByteArray& out) {
  // ASCII is the same in both encodings and makes up most of a path; copy it directly and call
  // iconv only for the runs in between.
  qsizetype i = 0;
  while (i < n) {
    qsizetype j = i;
    while (j < n && text[j] < 0x80) ++j;
    if (j > i) {
      const qsizetype base = out.size();
      out.resize(base + (j - i));
      char* dst = out.data() + base;
      for (qsizetype k = i; k < j; ++k) *dst++ = static_cast<char>(text[k]);
      i = j;
    }
    while (j < n && text[j] >= 0x80) ++j;
    if (j > i) {
      ConvertRunToCp932(text + i, j - i, out);
      i = j;
    }
  }
}

void AppendCp932AsUtf16(const char* bytes, qsizetype n, QString& out) {
  const auto* u = reinterpret_cast<const unsigned char*>(bytes);
  qsizetype i = 0;
  while (i < n) {
    qsizetype j = i;
    while (j < n && u[j] < 0x80) ++j;
    if (j > i) {
      const qsizetype base = out.size();
      out.resize(base + (j - i));
      QChar* dst = out.data() + base;
      for (qsizetype k = i; k < j; ++k) *dst++ = QChar(u[k]);
      i = j;
    }
    // A trail byte may be below 0x80, so a non-ASCII run takes the byte after each lead byte
    // with it.
    while (j < n && u[j] >= 0x80) {
      const unsigned char b = u[j];
      const bool lead = (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
      j += (lead && j + 1 < n) ? 2 : 1;
    }
    if (j > i) {
      ConvertRunFromCp932(bytes + i, j - i, out);
      i = j;
    }
  }
}

}  // namespace platform
