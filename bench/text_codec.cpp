// Speed of the text codecs on playlist-like text: paths of mixed ASCII and Japanese.
//   DecodeText / EncodeText over 16 MB in UTF-8N, UTF-16LE and Shift-JIS (bytes/second of the
//   encoded file); targets: 200 MB/s for the UTF forms, 50 MB/s for Shift-JIS.
//   SaveTextLines / LoadTextLines of 20,000 paths; target: under 100 ms each.
#include <benchmark/benchmark.h>

#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <memory>

#include "text/encoding.h"
#include "text/stock.h"
#include "text/text_lines.h"

namespace {

QString PlaylistPath(int i) {
  static const char16_t* const kArtists[] = {u"アーティスト", u"宇多田ヒカル",    u"The Band",
                                             u"坂本龍一",     u"Various Artists", u"スピッツ"};
  static const char16_t* const kAlbums[] = {u"ベスト・アルバム", u"Live at Budokan", u"夏の終わり",
                                            u"Greatest Hits 1999-2009", u"空の青さを知る人よ"};
  static const char16_t* const kTitles[] = {u"ロビンソン", u"Track",      u"さよならの向こう側",
                                            u"First Love", u"雨のち晴れ", u"Intro (Remix)"};
  return QStringLiteral("/home/user/Music/%1/%2 (%3)/%4 %5.mp3")
      .arg(QString::fromUtf16(kArtists[i % 6]), QString::fromUtf16(kAlbums[(i / 6) % 5]))
      .arg(1990 + i % 30)
      .arg(i % 20 + 1, 2, 10, QLatin1Char('0'))
      .arg(QString::fromUtf16(kTitles[(i / 30) % 6]));
}

QStringList PlaylistLines(int count) {
  QStringList lines;
  lines.reserve(count);
  for (int i = 0; i < count; ++i) lines.append(PlaylistPath(i));
  return lines;
}

// A text buffer of playlist lines whose file in `encoding` is about 16 MB.
std::unique_ptr<CStock> PlaylistText(TextEncoding encoding) {
  const QStringList sample = PlaylistLines(1000);
  CStock sampleText;
  AppendLinesToText(sampleText, sample);
  CStock sampleBytes;
  EncodeText(sampleBytes, sampleText, encoding, LineEnding::kCrLf);
  const int repeats = (16 << 20) / sampleBytes.size() + 1;
  auto text = std::make_unique<CStock>();
  for (int r = 0; r < repeats; ++r) AppendLinesToText(*text, sample);
  text->SetMode(CStock::kTextMode);
  return text;
}

void BM_DecodeText(benchmark::State& state, TextEncoding encoding) {
  auto text = PlaylistText(encoding);
  CStock bytes;
  EncodeText(bytes, *text, encoding, LineEnding::kCrLf);
  for (auto _ : state) {
    CStock decoded(CStock::kTextMode);
    TextEncoding usedEncoding = encoding;
    LineEnding usedLineEnding = LineEnding::kCrLf;
    DecodeText(decoded, bytes, usedEncoding, usedLineEnding);
    benchmark::DoNotOptimize(decoded.data());
    if (decoded.size() != text->size()) state.SkipWithError("decoded text differs");
  }
  state.SetBytesProcessed(state.iterations() * bytes.size());
}

void BM_EncodeText(benchmark::State& state, TextEncoding encoding) {
  auto text = PlaylistText(encoding);
  int64_t encodedSize = 0;
  for (auto _ : state) {
    CStock bytes;
    EncodeText(bytes, *text, encoding, LineEnding::kCrLf);
    benchmark::DoNotOptimize(bytes.data());
    encodedSize = bytes.size();
  }
  state.SetBytesProcessed(state.iterations() * encodedSize);
}

BENCHMARK_CAPTURE(BM_DecodeText, Utf8N, TextEncoding::kUtf8N)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_DecodeText, Utf16LE, TextEncoding::kUtf16LE)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_DecodeText, ShiftJis, TextEncoding::kShiftJis)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_EncodeText, Utf8N, TextEncoding::kUtf8N)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_EncodeText, Utf16LE, TextEncoding::kUtf16LE)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_EncodeText, ShiftJis, TextEncoding::kShiftJis)->Unit(benchmark::kMillisecond);

constexpr int kListPaths = 20000;

void BM_SaveTextLines(benchmark::State& state) {
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("list.qlf"));
  const QStringList lines = PlaylistLines(kListPaths);
  for (auto _ : state) {
    if (!SaveTextLines(lines, path)) state.SkipWithError("save failed");
  }
  state.SetItemsProcessed(state.iterations() * kListPaths);
}
BENCHMARK(BM_SaveTextLines)->Unit(benchmark::kMillisecond);

void BM_LoadTextLines(benchmark::State& state) {
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("list.qlf"));
  // The first line is ASCII, as the program's own files begin with a key or a plain path.
  QStringList lines = PlaylistLines(kListPaths);
  lines.prepend(QStringLiteral("[FileList]"));
  SaveTextLines(lines, path);
  for (auto _ : state) {
    QStringList loaded;
    LoadTextLines(loaded, path);
    if (loaded.size() != lines.size()) state.SkipWithError("lines lost");
    benchmark::DoNotOptimize(loaded.data());
  }
  state.SetItemsProcessed(state.iterations() * kListPaths);
}
BENCHMARK(BM_LoadTextLines)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
