#pragma once
// CStock: the program's growable memory buffer. It holds either raw bytes (byte mode) or UTF-16
// little-endian text kept with a terminating zero unit (text mode). Every text file the program
// reads or writes passes through two of these, one per mode.

#include <QString>
#include <bit>
#include <cstddef>
#include <cstdint>

// Text is kept as UTF-16 little-endian bytes and read back as char16_t units in place.
static_assert(std::endian::native == std::endian::little, "CStock text needs a little-endian host");

class CStock {
 public:
  static constexpr int32_t kByteMode = 0;
  static constexpr int32_t kTextMode = 1;

  // Byte mode, first allocation 64 bytes, growing in steps of 64.
  CStock();
  // First allocation 32 bytes, growing in steps of 32, then switched to `mode` (kByteMode or
  // kTextMode; a text buffer starts as the empty text, Size 2).
  explicit CStock(int32_t mode);
  ~CStock();

  CStock(const CStock&) = delete;
  CStock& operator=(const CStock&) = delete;

  // Changes Size by `delta` bytes, enlarging the storage when needed. False, with nothing
  // changed, only when the new size would leave 0..0x7FFFFFFF or the memory cannot be obtained.
  bool Resize(int32_t delta);
  // Appends `n` bytes. False and no change when n < 1, `bytes` is null or memory runs out.
  bool Append(const void* bytes, int32_t n);
  // Appends `n` UTF-16 code units. In text mode the old terminator is dropped first, so callers
  // pass `n` including the string's own terminating zero and the text stays terminated. False
  // and no change when n < 1, `chars` is null or memory runs out.
  bool AppendText(const char16_t* chars, int32_t n);
  // AppendText of a zero-terminated string together with its terminating zero.
  bool AppendString(const char16_t* str);
  // Switches between byte mode and text mode: entering text mode adds the terminator, leaving
  // it removes the terminator and keeps the text as bytes. False for a mode other than the two.
  bool SetMode(int32_t mode);

  // Writes the bytes in use as the whole new contents of `path` (in text mode without the
  // terminator, which is not part of the text). The write goes through a temporary file renamed
  // over the target: on failure the result is false and the old file is whole.
  bool SaveToFile(const QString& path) const;
  // Replaces the contents with the whole file; afterwards Size and Capacity are both the file's
  // length and the buffer is in byte mode. False, with the buffer unchanged, when the file
  // cannot be read, is larger than 0x7FFFFFFF bytes or does not fit in memory.
  bool LoadFromFile(const QString& path);

  int32_t mode() const { return Mode; }
  int32_t size() const { return Size; }
  char* data() { return Data; }
  const char* data() const { return Data; }
  int32_t initialCapacity() const { return InitialCapacity; }
  int32_t growStep() const { return GrowStep; }
  int32_t capacity() const { return Capacity; }

  // The UTF-16 units of the content: in text mode those before the terminator, in byte mode
  // every whole unit of the bytes. Data comes from the C heap, so the pointer is aligned.
  const char16_t* text() const { return reinterpret_cast<const char16_t*>(Data); }
  int32_t textLength() const {
    const int32_t bytes = Mode == kTextMode ? Size - 2 : Size;
    return bytes > 0 ? bytes / 2 : 0;
  }

 private:
  CStock(int32_t initialCapacity, int32_t growStep);
  // Makes sure at least `bytes` bytes of real storage lie at Data, keeping the contents.
  bool Reserve(int64_t bytes);

  int32_t Mode;
  int32_t Size;
  char* Data;
  int32_t InitialCapacity;
  int32_t GrowStep;
  int32_t Capacity;
  // Bytes really allocated at Data, at least Capacity (see Resize).
  size_t Allocated;
};
