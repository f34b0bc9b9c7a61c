#include "mpeg_sniff.h"

namespace vbmp3 {
namespace {

// kbit/s by [MPEG-1 ? 0 : 1][layer - 1][index]; index 0 (free format) and 15 are refused.
constexpr int kBitrates[2][3][16] = {
    {{0, 32, 64, 96, 128, 160, 192, 224, 256, 288, 320, 352, 384, 416, 448, 0},
     {0, 32, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 384, 0},
     {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 0}},
    {{0, 32, 48, 56, 64, 80, 96, 112, 128, 144, 160, 176, 192, 224, 256, 0},
     {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160, 0},
     {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160, 0}}};
constexpr int kMpeg1Rates[3] = {44100, 48000, 32000};

// The ID3v2 tag at `p`, if any: its whole length, else 0.
size_t Id3v2Length(const uint8_t* p, size_t available) {
  if (available < 10 || p[0] != 'I' || p[1] != 'D' || p[2] != '3') return 0;
  if (p[3] == 0xFF || p[4] == 0xFF) return 0;
  for (int i = 6; i < 10; ++i) {
    if (p[i] & 0x80) return 0;
  }
  size_t body = (size_t(p[6]) << 21) | (size_t(p[7]) << 14) | (size_t(p[8]) << 7) | p[9];
  bool footer = (p[5] & 0x10) != 0;
  return 10 + body + (footer ? 10 : 0);
}

}  // namespace

bool ParseMpegHeader(const uint8_t* p, MpegHeader& out) {
  if (p[0] != 0xFF || (p[1] & 0xE0) != 0xE0) return false;
  int versionBits = (p[1] >> 3) & 3;
  int layerBits = (p[1] >> 1) & 3;
  int bitrateIndex = p[2] >> 4;
  int rateIndex = (p[2] >> 2) & 3;
  bool padding = (p[2] >> 1) & 1;
  if (versionBits == 1 || layerBits == 0 || rateIndex == 3 || (p[3] & 3) == 2) return false;
  MpegHeader h;
  h.version = versionBits == 3 ? 10 : versionBits == 2 ? 20 : 25;
  h.layer = 4 - layerBits;
  h.bitrate = kBitrates[h.version == 10 ? 0 : 1][h.layer - 1][bitrateIndex];
  if (h.bitrate == 0) return false;
  h.sampleRate = kMpeg1Rates[rateIndex] / (h.version == 10 ? 1 : h.version == 20 ? 2 : 4);
  if (h.layer == 1) {
    h.frameBytes = (12 * h.bitrate * 1000 / h.sampleRate + (padding ? 1 : 0)) * 4;
  } else {
    int factor = (h.layer == 3 && h.version != 10) ? 72 : 144;
    h.frameBytes = factor * h.bitrate * 1000 / h.sampleRate + (padding ? 1 : 0);
  }
  out = h;
  return true;
}

bool LooksLikeMpegAudio(const uint8_t* data, size_t size, uint64_t fileSize) {
  size_t pos = 0;
  // Tags may follow each other; a tag running past the bytes we have leaves no frame to see.
  while (size_t tag = Id3v2Length(data + pos, size - pos)) {
    pos += tag;
    if (pos >= size) return false;
  }
  while (pos < size && data[pos] == 0) ++pos;
  MpegHeader first;
  if (size - pos < 4 || !ParseMpegHeader(data + pos, first)) return false;
  size_t next = pos + size_t(first.frameBytes);
  // A file of a single frame ends right after it, or after an ID3v1 tag.
  if (next == fileSize) return true;
  if (next + 128 == fileSize && next + 3 <= size) {
    return data[next] == 'T' && data[next + 1] == 'A' && data[next + 2] == 'G';
  }
  if (next + 4 > size) return false;
  MpegHeader second;
  return ParseMpegHeader(data + next, second) && second.version == first.version &&
         second.layer == first.layer && second.sampleRate == first.sampleRate;
}

}  // namespace vbmp3
