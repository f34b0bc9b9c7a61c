// Speed of the ini file with a large state: 20,000 file-list entries (each an existing file, as
// reading the file block checks), 2,000 group entries and 500 timers. SaveSettings and
// LoadSettings (into a fresh main window, as at start-up) should each stay under 200 ms. The
// others measure what a file of garbage in place of the ini file costs: one at the size cap of
// the ini file (read, should stay well under a second) and one of 100 MB (not read).
#include "settings/settings_file.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <memory>

#include "app/main_form.h"
#include "app/settings_host.h"
#include "library/file_music_lists.h"
#include "text/text_lines.h"

namespace {

constexpr int kFileEntries = 20000;
constexpr int kGroupEntries = 2000;
constexpr int kTimers = 500;
const QString kProfile = QStringLiteral("bench");

// One data folder for the whole run, with the albums and the ini file under it.
class Data {
 public:
  Data() {
    qputenv("XDG_DATA_HOME", dir_.path().toLocal8Bit());
    for (int i = 0; i < kFileEntries; ++i) {
      const QString folder = dir_.path() + QStringLiteral("/Music/Artist %1").arg(i / 200);
      if (i % 200 == 0) QDir().mkpath(folder);
      const QString path = folder + QStringLiteral("/アルバム %1.m3u").arg(i);
      QFile(path).open(QIODevice::WriteOnly);
      files_.append(path);
    }
  }
  const QStringList& Files() const { return files_; }
  QString Path() const { return dir_.path(); }

 private:
  QTemporaryDir dir_;
  QStringList files_;
};

Data& TheData() {
  static Data data;
  return data;
}

std::unique_ptr<TMainForm> NewForm() { return std::make_unique<TMainForm>(ProgramParts()); }

// A window holding the large state.
std::unique_ptr<TMainForm> FullForm() {
  auto form = NewForm();
  form->Lists()->AddToFileList(TheData().Files(), false);
  form->Lists()->FileIndex = kFileEntries / 2;
  for (int i = 0; i < kGroupEntries; ++i)
    form->Groups()->GroupList.append(QStringLiteral("/home/user/Music/Group %1/アルバム").arg(i));
  for (int i = 0; i < kTimers; ++i) {
    CMusicTimer timer;
    timer.SettingName = QStringLiteral("Timer %1").arg(i);
    timer.FileName = QStringLiteral("/home/user/Music/Alarm %1.m3u").arg(i);
    timer.Time = i % 1440;
    timer.Day = kTimerEveryDay;
    form->TimerList.append(TimerListEntry{timer.SettingName, timer});
  }
  form->SettingsHost().RefreshTimerList();
  return form;
}

void BM_SaveSettings(benchmark::State& state) {
  auto form = FullForm();
  for (auto _ : state) form->SettingsStore().SaveSettings(kProfile);
}
BENCHMARK(BM_SaveSettings)->Unit(benchmark::kMillisecond);

void BM_LoadSettings(benchmark::State& state) {
  FullForm()->SettingsStore().SaveSettings(kProfile);
  for (auto _ : state) {
    state.PauseTiming();
    auto form = NewForm();
    state.ResumeTiming();
    form->SettingsStore().LoadSettings(kProfile);
    benchmark::DoNotOptimize(form->Lists()->FileList().size());
    state.PauseTiming();
    if (form->Lists()->FileList().size() != kFileEntries || form->TimerList.size() != kTimers)
      state.SkipWithError("the state did not come back");
    form.reset();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_LoadSettings)->Unit(benchmark::kMillisecond);

// A file of random bytes of `megabytes` MB in place of the ini file of a profile.
QString GarbageProfile(int megabytes) {
  const QString name = QStringLiteral("garbage%1").arg(megabytes);
  const QString path = SettingsFilePath(name);
  QDir().mkpath(TheData().Path() + QStringLiteral("/quomm3u"));
  if (!QFile::exists(path)) {
    QByteArray bytes(megabytes * 1024 * 1024, '\0');
    QRandomGenerator(11).fillRange(reinterpret_cast<quint32*>(bytes.data()), bytes.size() / 4);
    QFile f(path);
    f.open(QIODevice::WriteOnly);
    f.write(bytes);
  }
  return name;
}

void BM_LoadTextLines_Garbage(benchmark::State& state) {
  const QString path = SettingsFilePath(GarbageProfile(static_cast<int>(state.range(0))));
  for (auto _ : state) {
    QStringList lines;
    LoadTextLines(lines, path);
    benchmark::DoNotOptimize(lines.size());
  }
}
BENCHMARK(BM_LoadTextLines_Garbage)
    ->Arg(16)
    ->Arg(100)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

// Up to the size cap the file is read; the 100 MB one is not.
void BM_LoadSettings_Garbage(benchmark::State& state) {
  const QString profile = GarbageProfile(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    state.PauseTiming();
    auto form = NewForm();
    state.ResumeTiming();
    form->SettingsStore().LoadSettings(profile);
    state.PauseTiming();
    form.reset();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_LoadSettings_Garbage)->Arg(16)->Arg(100)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  TheData();
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
