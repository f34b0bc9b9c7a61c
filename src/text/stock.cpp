#include "text/stock.h"

#include <QByteArray>
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <new>
#include <string>

#include "platform/files.h"

namespace {

constexpr int64_t kMaxSize = std::numeric_limits<int32_t>::max();

}  // namespace

CStock::CStock() : CStock(64, 64) {}

CStock::CStock(int32_t mode) : CStock(32, 32) { SetMode(mode); }

CStock::CStock(int32_t initialCapacity, int32_t growStep)
    : Mode(kByteMode),
      Size(0),
      Data(nullptr),
      InitialCapacity(initialCapacity),
      GrowStep(growStep),
      Capacity(initialCapacity),
      Allocated(static_cast<size_t>(initialCapacity)) {
  Data = static_cast<char*>(std::malloc(Allocated));
  if (Data == nullptr) throw std::bad_alloc();
}

CStock::~CStock() { std::free(Data); }

bool CStock::Reserve(int64_t bytes) {
  if (bytes <= static_cast<int64_t>(Allocated)) return true;
  // Capacity follows the fixed-step rule, but reallocating at every step would make a buffer
  // that collects a long playlist copy itself once per 64 bytes, quadratic in its length. The
  // real storage therefore at least doubles each time it has to grow, so appending costs
  // amortised constant time while Capacity still reports the step rule's value. When the
  // doubled block cannot be had, the exact amount is tried before giving up.
  const int64_t doubled = std::min<int64_t>(static_cast<int64_t>(Allocated) * 2, kMaxSize);
  const int64_t wanted = std::max(bytes, doubled);
  void* grown = std::realloc(Data, static_cast<size_t>(wanted));
  int64_t got = wanted;
  if (grown == nullptr && wanted > bytes) {
    grown = std::realloc(Data, static_cast<size_t>(bytes));
    got = bytes;
  }
  if (grown == nullptr) return false;  // realloc left the old block, and the contents, alone
  Data = static_cast<char*>(grown);
  Allocated = static_cast<size_t>(got);
  return true;
}

bool CStock::Resize(int32_t delta) {
  if (delta == 0) return true;
  const int64_t newSize = static_cast<int64_t>(Size) + delta;
  if (newSize < 0 || newSize > kMaxSize) return false;
  if (delta > 0 && newSize > Capacity) {
    // The smallest InitialCapacity + k * GrowStep that holds the new size. A loaded file can
    // leave Capacity below InitialCapacity, in which case k is 0. Sizes just below 2^31 have no
    // such value within 32 bits; the capacity is then the largest size there is.
    int64_t capacity = InitialCapacity;
    if (newSize > InitialCapacity)
      capacity +=
          static_cast<int64_t>(GrowStep) * ((newSize - InitialCapacity + GrowStep - 1) / GrowStep);
    capacity = std::min(capacity, kMaxSize);
    if (!Reserve(capacity)) return false;
    Capacity = static_cast<int32_t>(capacity);
  }
  // Shrinking only moves Size; the storage stays for the next append.
  Size = static_cast<int32_t>(newSize);
  return true;
}

bool CStock::Append(const void* bytes, int32_t n) {
  if (n < 1 || bytes == nullptr) return false;
  const int32_t at = Size;
  if (!Resize(n)) return false;
  std::memcpy(Data + at, bytes, static_cast<size_t>(n));
  return true;
}

bool CStock::AppendText(const char16_t* chars, int32_t n) {
  if (n < 1 || chars == nullptr) return false;
  if (n > kMaxSize / 2) return false;
  // In text mode the new units overwrite the terminator; the caller's units end with the new
  // one. Give the terminator back if the buffer cannot grow, so a failure changes nothing.
  const bool dropTerminator = Mode == kTextMode && Size >= 2;
  if (dropTerminator) Size -= 2;
  const int32_t at = Size;
  if (!Resize(n * 2)) {
    if (dropTerminator) Size += 2;
    return false;
  }
  std::memcpy(Data + at, chars, static_cast<size_t>(n) * 2);
  return true;
}

bool CStock::AppendString(const char16_t* str) {
  if (str == nullptr) return false;
  const size_t length = std::char_traits<char16_t>::length(str);
  if (length >= static_cast<size_t>(kMaxSize / 2)) return false;
  return AppendText(str, static_cast<int32_t>(length) + 1);
}

bool CStock::SetMode(int32_t mode) {
  if (mode != kByteMode && mode != kTextMode) return false;
  if (mode == Mode) return true;
  if (mode == kTextMode) {
    const int32_t at = Size;
    if (!Resize(2)) return false;
    Data[at] = 0;
    Data[at + 1] = 0;
  } else if (Size >= 2) {
    Resize(-2);
  }
  Mode = mode;
  return true;
}

bool CStock::SaveToFile(const QString& path) const {
  const int32_t bytes = Mode == kTextMode ? std::max(Size - 2, 0) : Size;
  return platform::WriteWholeFile(path, Data, bytes);
}

bool CStock::LoadFromFile(const QString& path) {
  QByteArray contents;
  if (!platform::ReadWholeFile(path, contents)) return false;
  const qsizetype length = contents.size();
  if (length > kMaxSize) return false;
  // Exactly the file's length, so the next append reallocates by the growth rule. An empty file
  // still gets a block of its own, so Data is never null.
  char* fresh = static_cast<char*>(std::malloc(length > 0 ? static_cast<size_t>(length) : 1));
  if (fresh == nullptr) return false;
  if (length > 0) std::memcpy(fresh, contents.constData(), static_cast<size_t>(length));
  std::free(Data);
  Data = fresh;
  Allocated = static_cast<size_t>(length);
  Size = static_cast<int32_t>(length);
  Capacity = static_cast<int32_t>(length);
  // The file's bytes are raw bytes, whatever the buffer held before.
  Mode = kByteMode;
  return true;
}
