// Speed of the file-list operations on a long list: adding 50,000 entries (replacing, and
// appending onto 50,000), showing 50,000 rows in a real list box, and sorting 50,000 entries.
// Each should stay well under 200 ms.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QItemSelectionModel>
#include <QListWidget>

#include "library/file_music_lists.h"
#include "library/list_box.h"
#include "platform/random.h"
#include "settings/settings.h"

namespace {

constexpr int kEntries = 50000;

// Playlist paths as a large collection has them: artist and album folders, some Japanese.
QStringList MakeEntries(int count, int offset) {
  QStringList entries;
  entries.reserve(count);
  platform::FakeRandom random({7919, 104729, 1299709, 15485863});
  for (int i = offset; i < offset + count; ++i) {
    entries << QStringLiteral("/home/user/Music/Artist %1/アルバム %2 (Disc %3)/album-%4.m3u")
                   .arg(random.Below(5000))
                   .arg(random.Below(100))
                   .arg(i % 3)
                   .arg(i);
  }
  return entries;
}

struct Fixture {
  Settings settings;
  QListWidget fileLB;
  QListWidget musicLB;
  CFileMusicLists lists{settings, &fileLB, &musicLB};
};

void BM_AddToFileList_Replace(benchmark::State& state) {
  Fixture f;
  const QStringList entries = MakeEntries(kEntries, 0);
  for (auto _ : state) {
    f.lists.AddToFileList(entries, false);
    benchmark::DoNotOptimize(f.lists.FileList().size());
  }
}
BENCHMARK(BM_AddToFileList_Replace)->Unit(benchmark::kMillisecond);

void BM_AddToFileList_AppendOnto50000(benchmark::State& state) {
  Fixture f;
  const QStringList first = MakeEntries(kEntries, 0);
  const QStringList more = MakeEntries(kEntries, kEntries);
  for (auto _ : state) {
    state.PauseTiming();
    f.lists.AddToFileList(first, false);
    state.ResumeTiming();
    f.lists.AddToFileList(more, true);
    benchmark::DoNotOptimize(f.lists.FileList().size());
  }
}
BENCHMARK(BM_AddToFileList_AppendOnto50000)->Unit(benchmark::kMillisecond);

void BM_ShowFileList(benchmark::State& state) {
  Fixture f;
  f.settings.DisplayLevel = 1;
  f.fileLB.resize(400, 600);
  f.fileLB.show();
  f.lists.AddToFileList(MakeEntries(kEntries, 0), false);
  f.lists.FileIndex = kEntries / 2;
  for (auto _ : state) {
    f.lists.ShowFileList();
    // Includes the layout and painting the rebuild causes.
    QCoreApplication::processEvents();
    benchmark::DoNotOptimize(f.fileLB.count());
  }
}
BENCHMARK(BM_ShowFileList)->Unit(benchmark::kMillisecond);

void BM_SortList(benchmark::State& state) {
  QListWidget listBox;
  const QStringList entries = MakeEntries(kEntries, 0);
  SetRows(&listBox, entries);
  SetFocusedRow(&listBox, 123);
  for (auto _ : state) {
    state.PauseTiming();
    QStringList list = entries;
    list.detach();
    state.ResumeTiming();
    SortList(&listBox, list);
    benchmark::DoNotOptimize(list.size());
  }
}
BENCHMARK(BM_SortList)->Unit(benchmark::kMillisecond);

// The next ones have no target of their own; they guard against work per row that grows with
// the selection. Deleting every other row of a long list is the worst case for removing rows
// from a list box with a scattered selection.
void BM_DeleteEveryOtherEntry(benchmark::State& state) {
  Fixture f;
  const QStringList entries = MakeEntries(static_cast<int>(state.range(0)), 0);
  for (auto _ : state) {
    state.PauseTiming();
    f.lists.AddToFileList(entries, false);
    f.lists.FileIndex = -1;
    f.lists.ShowFileList();
    QItemSelection every;
    for (int i = 0; i < f.fileLB.count(); i += 2)
      every.select(f.fileLB.model()->index(i, 0), f.fileLB.model()->index(i, 0));
    f.fileLB.selectionModel()->select(every, QItemSelectionModel::Select);
    state.ResumeTiming();
    f.lists.DeleteSelectedFileEntries();
    benchmark::DoNotOptimize(f.lists.FileList().size());
  }
}
BENCHMARK(BM_DeleteEveryOtherEntry)->Arg(5000)->Arg(kEntries)->Unit(benchmark::kMillisecond);

void BM_MoveEveryOtherEntryUp(benchmark::State& state) {
  Fixture f;
  f.lists.AddToFileList(MakeEntries(kEntries, 0), false);
  f.lists.FileIndex = -1;
  f.lists.ShowFileList();
  QItemSelection every;
  for (int i = 1; i < f.fileLB.count(); i += 2)
    every.select(f.fileLB.model()->index(i, 0), f.fileLB.model()->index(i, 0));
  f.fileLB.selectionModel()->select(every, QItemSelectionModel::Select);
  for (auto _ : state) {
    f.lists.MoveSelectedFileEntries(-1);  // the selection follows, so the next move goes on
    benchmark::DoNotOptimize(f.lists.FileIndex);
  }
}
BENCHMARK(BM_MoveEveryOtherEntryUp)->Unit(benchmark::kMillisecond);

void BM_ShuffleFileList(benchmark::State& state) {
  Fixture f;
  f.lists.AddToFileList(MakeEntries(kEntries, 0), false);
  for (auto _ : state) {
    f.lists.ShuffleFileList();
    benchmark::DoNotOptimize(f.lists.FileIndex);
  }
}
BENCHMARK(BM_ShuffleFileList)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
