// Speed of the ini file's readers and writers on a large file: 20,000 file-list entries (all
// existing files), 2,000 group entries, 500 timers and every other setting. Reading the
// settings and the three blocks from the lines, and writing them, should stay well under
// 200 ms.
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstdlib>
#include <type_traits>

#include "platform/files.h"
#include "settings/key_values.h"
#include "settings/list_blocks.h"
#include "text/text_lines.h"
#include "timers/timer_list.h"

namespace {

constexpr int kFiles = 20000;
constexpr int kGroups = 2000;
constexpr int kTimers = 500;
constexpr int kHistory = 12;

const char* const kIntKeys[] = {"FormLeft",   "FormTop",          "FormWidth",
                                "FormHeight", "FileListWidth",    "AlbumArtPanelHeight",
                                "Volume",     "SearchFileDepth",  "ShowFileListLevel",
                                "RepeatMode", "ExportFolderLevel"};
const char* const kBoolKeys[] = {"EnableAddGroup",
                                 "NoAddFolderToGroup",
                                 "SearchFileDepthAll",
                                 "ShowFileListAll",
                                 "PlayWhenOpen",
                                 "LoadPreviousFiles",
                                 "PlayWhenExecute",
                                 "EnablePreviousTimer",
                                 "WhenOpenSortFileRandom",
                                 "WhenOpenSelectFileRandom",
                                 "RandomMusic",
                                 "RandomPreviousFile",
                                 "TimerEnabled",
                                 "CopyFolderJpeg"};
const char* const kStringKeys[] = {"OutputDeviceName", "ActiveFileName",     "ActiveMusicName",
                                   "MediaMask",        "ExportCharacterSet", "ExportCRCode",
                                   "ExportOtherExt",   "ExportFolder"};

// The lists the ini file holds, with the file-list entries created on disk once so that the
// file block's existence test does real work.
struct Data {
  QTemporaryDir dir;
  QStringList files;
  QStringList groups;
  TimerList timers;

  Data() {
    for (int i = 0; i < kFiles; ++i) {
      const QString folder =
          dir.path() + QStringLiteral("/Artist %1/アルバム %2").arg(i / 100).arg(i % 7);
      if (i % 100 == 0 || !QDir(folder).exists()) QDir().mkpath(folder);
      const QString path = folder + QStringLiteral("/album-%1.m3u").arg(i);
      QFile(path).open(QIODevice::WriteOnly);
      files.append(path);
    }
    for (int i = 0; i < kGroups; ++i)
      groups.append(QStringLiteral("/home/user/Music/Group %1/Folder %2").arg(i % 37).arg(i));
    for (int i = 0; i < kTimers; ++i) {
      CMusicTimer t;
      t.SettingName = QStringLiteral("タイマー %1").arg(i);
      t.FileName = QStringLiteral("/home/user/Music/Morning %1").arg(i);
      t.Time = (i * 7) % 1440;
      t.Day = 1 + i % 255;
      t.Times = i % 5;
      t.PlayTiming = i % 4;
      timers.append(TimerListEntry{t.SettingName, t});
    }
  }
};

Data& TheData() {
  static Data data;
  return data;
}

// Every line of the file, in the order it is written.
QStringList WriteIni(const Data& d) {
  QStringList lines;
  lines.reserve(64 + kFiles + kGroups + kTimers);
  int n = 0;
  for (const char* key : kIntKeys) lines.append(QLatin1String(key) + "=" + QString::number(++n));
  for (const char* key : kBoolKeys)
    lines.append(QLatin1String(key) +
                 (n++ % 2 ? QStringLiteral("=True") : QStringLiteral("=False")));
  for (const char* key : kStringKeys) {
    const QLatin1String name(key);
    lines.append(name + QLatin1Char('=') +
                 (name == QLatin1String("ActiveFileName") ? d.files[kFiles / 2]
                                                          : QStringLiteral("value of ") + name));
  }
  for (int i = 0; i < kHistory; ++i) lines.append(QStringLiteral("Search%1=word %1").arg(i));
  WriteGroupBlock(lines, d.groups);
  WriteFileBlock(lines, d.files);
  lines.append(QStringLiteral("MediaLength=") + FormatReal(243.5));
  lines.append(QStringLiteral("PlayPosition=") + FormatReal(183.046));
  WriteTimerBlock(lines, d.timers);
  return lines;
}

// What loading reads: every setting, the history, the three blocks.
template <typename Lines>
std::size_t ReadIni(const Lines& ini) {
  std::size_t sum = 0;
  auto findString = [&ini](const QString& key, int& start) {
    if constexpr (std::is_same_v<Lines, CKeyValueLines>)
      return ini.GetKeyString(key, QString(), start);
    else
      return GetKeyString(ini, key, QString(), start);
  };
  for (const char* key : kIntKeys) {
    if constexpr (std::is_same_v<Lines, CKeyValueLines>)
      sum += ini.GetKeyInt(QLatin1String(key), 0, 0, 0);
    else
      sum += GetKeyInt(ini, QLatin1String(key), 0, 0, 0);
  }
  for (const char* key : kBoolKeys) {
    if constexpr (std::is_same_v<Lines, CKeyValueLines>)
      sum += ini.GetKeyBool(QLatin1String(key), true);
    else
      sum += GetKeyBool(ini, QLatin1String(key), true);
  }
  for (const char* key : kStringKeys) {
    int start = 0;
    sum += findString(QLatin1String(key), start).size();
  }
  for (int i = 0; i < 20; ++i) {
    int start = 0;
    sum += findString(QStringLiteral("Search") + QString::number(i), start).size();
  }
  if constexpr (std::is_same_v<Lines, CKeyValueLines>)
    sum += static_cast<std::size_t>(ini.GetKeyReal(QStringLiteral("PlayPosition"), 0, 0, 0));
  else
    sum += static_cast<std::size_t>(GetKeyReal(ini, QStringLiteral("PlayPosition"), 0, 0, 0));
  QStringList groups;
  QStringList files;
  TimerList timers;
  ReadGroupBlock(ini, groups);
  ReadFileBlock(ini, files);
  ReadTimerBlock(ini, timers);
  if (files.size() != kFiles || groups.size() != kGroups || timers.size() != kTimers) std::abort();
  return sum + groups.size() + files.size() + timers.size();
}

// The loading path: index the lines once, then read.
void BM_ReadIndexed(benchmark::State& state) {
  const QStringList lines = WriteIni(TheData());
  for (auto _ : state) {
    const CKeyValueLines ini(lines);
    benchmark::DoNotOptimize(ReadIni(ini));
  }
}
BENCHMARK(BM_ReadIndexed)->Unit(benchmark::kMillisecond);

// The same over the plain lines, for comparison.
void BM_ReadPlain(benchmark::State& state) {
  const QStringList lines = WriteIni(TheData());
  for (auto _ : state) benchmark::DoNotOptimize(ReadIni(lines));
}
BENCHMARK(BM_ReadPlain)->Unit(benchmark::kMillisecond);

// Building the index alone.
void BM_IndexLines(benchmark::State& state) {
  const QStringList lines = WriteIni(TheData());
  for (auto _ : state) benchmark::DoNotOptimize(CKeyValueLines(lines).Lines().size());
}
BENCHMARK(BM_IndexLines)->Unit(benchmark::kMillisecond);

// The floor under the file block: one existence test per entry.
void BM_FileExistence(benchmark::State& state) {
  const Data& d = TheData();
  for (auto _ : state) {
    int found = 0;
    for (const QString& path : d.files) found += platform::FileExists(path) ? 1 : 0;
    benchmark::DoNotOptimize(found);
  }
}
BENCHMARK(BM_FileExistence)->Unit(benchmark::kMillisecond);

// Writing every line of the file into a list.
void BM_Write(benchmark::State& state) {
  const Data& d = TheData();
  for (auto _ : state) benchmark::DoNotOptimize(WriteIni(d).size());
}
BENCHMARK(BM_Write)->Unit(benchmark::kMillisecond);

// The whole round with the file itself: written as UTF-16LE, read back with detection.
void BM_SaveAndLoadFile(benchmark::State& state) {
  const Data& d = TheData();
  const QString path = d.dir.path() + QStringLiteral("/quomm3u.ini");
  for (auto _ : state) {
    SaveTextLines(WriteIni(d), path);
    QStringList lines;
    LoadTextLines(lines, path);
    benchmark::DoNotOptimize(ReadIni(CKeyValueLines(lines)));
  }
}
BENCHMARK(BM_SaveAndLoadFile)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
