// Speed of ReadPlaylist on bad and large input, in bytes of playlist file per second. The
// target is at least 10 MB/s for every kind of input (about a second per 10 MB), so that an
// album entry that turns out to be garbage never freezes the window for long.
//   Garbage: 200 MB of random bytes, read as M3U and as PLS.
//   LongLines: 20 MB of 10,000-character path-like lines.
//   MissingTracks: 20 MB of short relative lines naming files that do not exist (a playlist
//   whose album was moved), each line one file-system look-up.
//   ExistingTracks: 10,000 lines naming existing files in 100 folders (items per second).
#include "library/playlist.h"

#include <benchmark/benchmark.h>

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <cstring>
#include <random>

namespace {

bool WriteFile(const QString& path, const QByteArray& bytes) {
  QDir().mkpath(path.left(path.lastIndexOf(QLatin1Char('/'))));
  QFile file(path);
  return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QByteArray RandomBytes(qsizetype size) {
  std::mt19937_64 random(7);
  QByteArray bytes(size, Qt::Uninitialized);
  char* p = bytes.data();
  for (qsizetype i = 0; i + 8 <= size; i += 8) {
    const std::uint64_t v = random();
    std::memcpy(p + i, &v, 8);
  }
  return bytes;
}

QByteArray LongLines(qsizetype size) {
  QByteArray line;
  for (int i = 0; line.size() < 10000; ++i) line += (i % 9 == 8) ? '/' : char('a' + i % 26);
  line += "\r\n";
  return line.repeated(size / line.size());
}

QByteArray MissingTrackLines(qsizetype size) {
  QByteArray bytes;
  bytes.reserve(size + 64);
  for (int i = 0; bytes.size() < size; ++i)
    bytes +=
        "Album " + QByteArray::number(i % 997) + "\\Track " + QByteArray::number(i) + ".mp3\r\n";
  return bytes;
}

void ReadOnce(benchmark::State& state, const QString& path, qint64 bytes, int expected) {
  for (auto _ : state) {
    QStringList tracks;
    ReadPlaylist(path, tracks, TextEncoding::kShiftJis, LineEnding::kCrLf);
    if (tracks.size() != expected) state.SkipWithError("unexpected tracks");
    benchmark::DoNotOptimize(tracks.data());
  }
  state.SetBytesProcessed(state.iterations() * bytes);
}

void BM_ReadPlaylistGarbage(benchmark::State& state, const char* name) {
  QTemporaryDir dir;
  const QString path = dir.filePath(QString::fromLatin1(name));
  constexpr qint64 kSize = 200 << 20;
  // Written and let go, so that only the reader's own memory is in use while it runs.
  if (!WriteFile(path, RandomBytes(kSize))) return state.SkipWithError("cannot write the playlist");
  ReadOnce(state, path, kSize, 0);
}
BENCHMARK_CAPTURE(BM_ReadPlaylistGarbage, M3u, "list.m3u")
    ->Unit(benchmark::kMillisecond)
    ->Iterations(2)
    ->UseRealTime();
BENCHMARK_CAPTURE(BM_ReadPlaylistGarbage, Pls, "list.pls")
    ->Unit(benchmark::kMillisecond)
    ->Iterations(2)
    ->UseRealTime();

void BM_ReadPlaylistLongLines(benchmark::State& state) {
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("list.m3u"));
  const QByteArray bytes = LongLines(20 << 20);
  if (!WriteFile(path, bytes)) return state.SkipWithError("cannot write the playlist");
  ReadOnce(state, path, bytes.size(), 0);
}
BENCHMARK(BM_ReadPlaylistLongLines)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_ReadPlaylistMissingTracks(benchmark::State& state) {
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("list.m3u"));
  const QByteArray bytes = MissingTrackLines(20 << 20);
  if (!WriteFile(path, bytes)) return state.SkipWithError("cannot write the playlist");
  ReadOnce(state, path, bytes.size(), 0);
}
BENCHMARK(BM_ReadPlaylistMissingTracks)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_ReadPlaylistExistingTracks(benchmark::State& state) {
  QTemporaryDir dir;
  constexpr int kTracks = 10000;
  QByteArray bytes;
  for (int i = 0; i < kTracks; ++i) {
    const QByteArray line =
        "Album " + QByteArray::number(i % 100) + "/" + QByteArray::number(i) + " Track.mp3";
    if (!WriteFile(dir.filePath(QString::fromLatin1(line)), "x"))
      return state.SkipWithError("cannot write a track");
    bytes += line + "\r\n";
  }
  const QString path = dir.filePath(QStringLiteral("list.m3u"));
  if (!WriteFile(path, bytes)) return state.SkipWithError("cannot write the playlist");
  ReadOnce(state, path, bytes.size(), kTracks);
  state.SetItemsProcessed(state.iterations() * kTracks);
}
BENCHMARK(BM_ReadPlaylistExistingTracks)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
