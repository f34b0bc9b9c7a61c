#pragma once
// Decides whether a file is MPEG audio before the decoder sees it. libmpg123 searches for a
// frame anywhere in the data and would "decode" noise out of a WAV, a FLAC or random bytes;
// the component must refuse those so that the program hands them to its other player.

#include <cstddef>
#include <cstdint>

namespace vbmp3 {

struct MpegHeader {
  int version = 0;  // 10 = MPEG-1, 20 = MPEG-2, 25 = MPEG-2.5
  int layer = 0;    // 1, 2 or 3
  int bitrate = 0;  // kbit/s
  int sampleRate = 0;
  int frameBytes = 0;  // length of the frame including its header
};

// Parses a four-byte frame header. False for anything that is not a usable header (reserved
// version, layer, rate or emphasis; free-format or invalid bitrate).
bool ParseMpegHeader(const uint8_t* p, MpegHeader& out);

// True when `data` (the first bytes of a file of `fileSize` bytes) starts with MPEG audio:
// after any ID3v2 tags and zero padding there is a frame header, followed by a second one of
// the same stream at the place the first one's length gives (or the end of the file).
bool LooksLikeMpegAudio(const uint8_t* data, size_t size, uint64_t fileSize);

}  // namespace vbmp3
