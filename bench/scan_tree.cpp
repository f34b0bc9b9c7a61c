// Speed of opening a large folder tree: the folder scan alone (on the calling thread, as the
// worker runs it), the scan through the progress window (a real worker thread reporting each
// folder to the user-interface thread), and the whole open of a number of top folders
// (scan, sorting by kind, the file list and the group list), which should grow linearly with
// the number of folders opened. bench/scan.sh makes the tree and compares the scan with find.
//
// The tree is the folder named by QUOMM3U_SCAN_TREE.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QListWidget>
#include <cstdio>
#include <cstdlib>

#include "library/file_music_lists.h"
#include "library/folder_scan.h"
#include "library/group_list.h"
#include "library/opener.h"
#include "library/process_form.h"
#include "settings/settings.h"

namespace {

QString TreeFolder() { return qEnvironmentVariable("QUOMM3U_SCAN_TREE"); }

// The mask of an open with the first-start settings.
QString DefaultMask() { return ScanMaskForMode(Settings(), 0); }

void BM_ScanFolder(benchmark::State& state) {
  const QString path = TreeFolder() + QStringLiteral("/*.*");
  const QString mask = DefaultMask();
  qsizetype found = 0;
  for (auto _ : state) {
    QStringList results;
    QSet<QString> visited;
    ScanFolder(path, results, mask, -1, visited, nullptr);
    found = results.size();
    benchmark::DoNotOptimize(results.constData());
  }
  state.counters["files"] = static_cast<double>(found);
}
BENCHMARK(BM_ScanFolder)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_ScanWithProgressWindow(benchmark::State& state) {
  QWidget main;
  main.show();
  TProcessForm form(&main);
  const QString path = TreeFolder() + QStringLiteral("/*.*");
  const QString mask = DefaultMask();
  qsizetype found = 0;
  for (auto _ : state) {
    QStringList results;
    form.Scan(path, results, mask, -1);
    found = results.size();
  }
  state.counters["files"] = static_cast<double>(found);
}
BENCHMARK(BM_ScanWithProgressWindow)->Unit(benchmark::kMillisecond)->UseRealTime();

// OpenPaths over the first `state.range(0)` top folders of the tree.
void BM_OpenFolders(benchmark::State& state) {
  QStringList tops = QDir(TreeFolder()).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
  tops = tops.mid(0, state.range(0));
  QStringList paths;
  for (const QString& top : tops) paths << TreeFolder() + QLatin1Char('/') + top;
  Settings settings;
  QListWidget fileLB, musicLB, groupLB;
  QComboBox timerCB;
  CFileMusicLists lists(settings, &fileLB, &musicLB);
  CGroupList groups(settings, &groupLB, &timerCB, &lists);
  COpener opener(settings, lists, groups);
  int fileEntries = 0;
  for (auto _ : state) {
    QStringList given = paths;
    opener.OpenPaths(given);
    fileEntries = static_cast<int>(lists.FileList().size());
  }
  state.counters["playlists"] = fileEntries;
}
BENCHMARK(BM_OpenFolders)->Arg(10)->Arg(100)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  if (TreeFolder().isEmpty() || !QDir(TreeFolder()).exists()) {
    std::fprintf(stderr, "Set QUOMM3U_SCAN_TREE to the folder tree (bench/scan.sh makes one).\n");
    return 2;
  }
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
