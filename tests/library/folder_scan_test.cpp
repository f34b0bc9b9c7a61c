#include "library/folder_scan.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QScopeGuard>
#include <QWidget>
#include <ostream>

#include "library/process_form.h"
#include "platform/dir_enum.h"
#include "qt_print.h"
#include "support/temp_dir.h"

namespace {

using testing_support::TempDir;

// A folder tree in a temporary folder; results are compared as paths relative to it.
class ScanTest : public testing::Test {
 protected:
  ScanTest() : real_(QDir(dir_.path()).canonicalPath()) {}

  QString Make(const QString& rel) { return dir_.write(rel, "x"); }
  void MakeDir(const QString& rel) { QDir().mkpath(dir_.file(rel)); }
  void Link(const QString& target, const QString& rel) {
    ASSERT_EQ(::symlink(platform::EncodeFileName(target).constData(),
                        platform::EncodeFileName(dir_.file(rel)).constData()),
              0);
  }
  // A path of the tree as seen from its top; link targets come back without links, so both
  // spellings of the top are taken off.
  QString Rel(const QString& path) const {
    for (const QString& top : {dir_.path(), real_})
      if (path.startsWith(top + '/')) return path.mid(top.size() + 1);
    return path;
  }
  QStringList Rel(const QStringList& paths) const {
    QStringList rel;
    for (const QString& p : paths) rel << Rel(p);
    return rel;
  }
  QStringList Scan(const QString& folder, int depth, const QString& mask = "*.mp3") {
    QStringList results;
    QSet<QString> visited;
    ScanFolder(dir_.file(folder) + "/*.*", results, mask, depth, visited, nullptr);
    return Rel(results);
  }
  static QStringList Sorted(QStringList list) {
    list.sort();
    return list;
  }

  TempDir dir_;
  const QString real_;
};

struct DepthCase {
  int depth;
  QStringList expected;
};

void PrintTo(const DepthCase& c, std::ostream* os) { *os << "depth " << c.depth; }

class ScanDepth : public ScanTest, public testing::WithParamInterface<DepthCase> {};

TEST_P(ScanDepth, EachLevelAddsOneLevelOfSubfolders) {
  Make("r/a.mp3");
  Make("r/s/b.mp3");
  Make("r/s/t/c.mp3");
  EXPECT_EQ(Scan("r", GetParam().depth), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Depths, ScanDepth,
                         testing::Values(DepthCase{0, {"r/a.mp3"}},
                                         DepthCase{1, {"r/s/b.mp3", "r/a.mp3"}},
                                         DepthCase{2, {"r/s/t/c.mp3", "r/s/b.mp3", "r/a.mp3"}},
                                         DepthCase{-1, {"r/s/t/c.mp3", "r/s/b.mp3", "r/a.mp3"}}));

TEST_F(ScanTest, SubfoldersComeFirstThenLinkedFoldersThenOwnFiles) {
  Make("r/own.mp3");
  Make("r/sub/s.mp3");
  Make("outside/o.mp3");
  Link(dir_.file("outside"), "r/ln");
  EXPECT_EQ(Scan("r", -1), QStringList({"r/sub/s.mp3", "outside/o.mp3", "r/own.mp3"}));
}

TEST_F(ScanTest, HiddenFoldersAreSkippedButHiddenFilesAndLinksToHiddenFoldersAreNot) {
  Make("r/.hid/skipped.mp3");
  Make("r/.h.mp3");
  Make("r/.other/linked.mp3");
  Link(".other", "r/to_hidden");
  EXPECT_EQ(Scan("r", -1), QStringList({"r/.other/linked.mp3", "r/.h.mp3"}));
}

TEST_F(ScanTest, TheMaskIgnoresCaseAndStarTakesEveryFile) {
  Make("r/A.MP3");
  Make("r/b.txt");
  Make("r/noext");
  EXPECT_EQ(Scan("r", 0), QStringList({"r/A.MP3"}));
  EXPECT_EQ(Sorted(Scan("r", 0, "*")), QStringList({"r/A.MP3", "r/b.txt", "r/noext"}));
  EXPECT_EQ(Sorted(Scan("r", 0, "*.*")), QStringList({"r/A.MP3", "r/b.txt", "r/noext"}));
}

TEST_F(ScanTest, EveryFolderIsScannedOnceWhateverLinksLeadToIt) {
  Make("r/r.mp3");
  Make("ext/e.mp3");
  Link(dir_.file("ext"), "r/l1");
  Link(dir_.file("ext"), "r/l2");
  Link(".", "r/back");        // a loop to the scanned folder itself
  Link("..", "r/up");         // the folder above, which holds both
  Link("../r", "ext/round");  // and a longer way round
  EXPECT_EQ(Sorted(Scan("r", -1)), QStringList({"ext/e.mp3", "r/r.mp3"}));
}

TEST_F(ScanTest, ALinkToAFileStandsForItsTargetWhenTheTargetMatches) {
  Make("store/data.mp3");
  Make("store/data.bin");
  MakeDir("r");
  Link(dir_.file("store/data.mp3"), "r/song");
  Link(dir_.file("store/data.bin"), "r/fake.mp3");
  Link(dir_.file("missing.mp3"), "r/dead.mp3");
  EXPECT_EQ(Scan("r", -1), QStringList({"store/data.mp3"}));
}

TEST_F(ScanTest, OddNamesAreFoundAndTheirPathsOpen) {
  const QStringList names = {"with space.mp3", "it's \"x\".mp3", "new\nline.mp3", "-dash.mp3",
                             "曲 アルバム.mp3"};
  for (const QString& name : names) Make("r/" + name);
  const QByteArray raw = platform::EncodeFileName(dir_.file("r")) + "/bad\xff\xfe.mp3";
  const int fd = ::open(raw.constData(), O_WRONLY | O_CREAT, 0644);
  ASSERT_GE(fd, 0);
  // QTemporaryDir cannot remove a name that is not UTF-8, so the test removes its own.
  const auto removeRaw = qScopeGuard([&raw] { ::unlink(raw.constData()); });
  ASSERT_EQ(::write(fd, "bytes", 5), 5);
  ::close(fd);

  QStringList results;
  QSet<QString> visited;
  ScanFolder(dir_.file("r") + "/*.*", results, "*.mp3", -1, visited, nullptr);
  QStringList expected;
  for (const QString& name : names) expected << dir_.file("r/" + name);
  expected << platform::DecodeFileName(raw);
  EXPECT_EQ(Sorted(results), Sorted(expected));
  // The name that is not UTF-8 leads back to the same file.
  const int back =
      ::open(platform::EncodeFileName(platform::DecodeFileName(raw)).constData(), O_RDONLY);
  ASSERT_GE(back, 0);
  char buffer[8] = {};
  EXPECT_EQ(::read(back, buffer, sizeof buffer), 5);
  ::close(back);
}

TEST_F(ScanTest, UnreadableFoldersGiveNothing) { EXPECT_TRUE(Scan("missing", -1).isEmpty()); }

TEST_F(ScanTest, ResolveShortcutGivesTheFinalTargetOfALinkOnly) {
  Make("f.mp3");
  Link("f.mp3", "one");
  Link("one", "two");
  Link("gone", "dead");
  EXPECT_EQ(ResolveShortcut(dir_.file("two")), real_ + "/f.mp3");
  EXPECT_EQ(ResolveShortcut(dir_.file("dead")), QString());
  EXPECT_EQ(ResolveShortcut(dir_.file("f.mp3")), QString());
}

// The progress window over a real worker thread.
class ProcessFormTest : public ScanTest {
 protected:
  ProcessFormTest() : form_(&main_) {
    main_.setGeometry(100, 80, 400, 300);
    main_.show();
  }
  QStringList RunScan(const QString& folder) {
    QStringList results;
    form_.Scan(dir_.file(folder) + "/*.*", results, "*.mp3", -1);
    return Rel(results);
  }

  QWidget main_;
  TProcessForm form_;
};

TEST_F(ProcessFormTest, ShowsEachFolderAsItIsEnteredAndClosesAtTheEnd) {
  Make("r/a.mp3");
  Make("r/s/b.mp3");
  QStringList shown;
  QObject::connect(&form_, &TProcessForm::FolderShown, [&](const QString& folder) {
    shown << Rel(folder);
    EXPECT_TRUE(form_.isVisible());
  });
  EXPECT_EQ(RunScan("r"), QStringList({"r/s/b.mp3", "r/a.mp3"}));
  EXPECT_EQ(shown, QStringList({"r/", "r/s/"}));
  EXPECT_EQ(form_.ProcessLabel()->text(), dir_.file("r/s/"));
  EXPECT_FALSE(form_.isVisible());
  EXPECT_EQ(form_.windowTitle(), "進行状況");
  EXPECT_EQ(form_.Button()->text(), "キャンセル");
  EXPECT_EQ(form_.pos(), main_.frameGeometry().topLeft() + QPoint(20, 150));
  // The window closed before the worker's body returned; the worker then ends by itself.
  ASSERT_TRUE(form_.ScanThread);
  EXPECT_TRUE(form_.ScanThread->wait(5000));
}

struct CancelCase {
  const char* label;
  void (*cancel)(TProcessForm&);
};

void PrintTo(const CancelCase& c, std::ostream* os) { *os << c.label; }

class ProcessFormCancel : public ProcessFormTest, public testing::WithParamInterface<CancelCase> {};

TEST_P(ProcessFormCancel, KeepsWhatWasFoundAndTheNextScanRunsWhole) {
  Make("r/one/1.mp3");
  Make("r/two/2.mp3");
  Make("r/top.mp3");
  // The folders come in the order the file system lists them; cancel on entering the second.
  std::vector<platform::DirEntry> entries;
  platform::ReadFolder(dir_.file("r"), entries);
  QStringList subfolders;
  for (const auto& e : entries)
    if (e.Type == platform::EntryType::Folder) subfolders << e.Name;
  ASSERT_EQ(subfolders.size(), 2);
  const QString second = dir_.file("r/" + subfolders[1]) + '/';
  auto connection = QObject::connect(&form_, &TProcessForm::FolderShown, [&](const QString& f) {
    if (f == second) GetParam().cancel(form_);
  });
  const QString firstFile = subfolders[0] == "one" ? "r/one/1.mp3" : "r/two/2.mp3";
  EXPECT_EQ(RunScan("r"), QStringList{firstFile});
  EXPECT_FALSE(form_.isVisible());
  EXPECT_FALSE(form_.CancelRequested);
  QObject::disconnect(connection);
  EXPECT_EQ(Sorted(RunScan("r")), QStringList({"r/one/1.mp3", "r/top.mp3", "r/two/2.mp3"}));
}

INSTANTIATE_TEST_SUITE_P(
    Ways, ProcessFormCancel,
    testing::Values(CancelCase{"button", [](TProcessForm& f) { f.Button()->click(); }},
                    // Escape and the window manager's close ask the scan to stop too, and the
                    // window still closes only when the worker has ended.
                    CancelCase{"reject", [](TProcessForm& f) { f.reject(); }}),
    [](const testing::TestParamInfo<CancelCase>& p) { return std::string(p.param.label); });

TEST_F(ProcessFormTest, AScanStartedDuringAScanGetsAWindowOfItsOwn) {
  Make("outer/o.mp3");
  Make("inner/i.mp3");
  QStringList inner;
  bool started = false;
  QObject::connect(&form_, &TProcessForm::FolderShown, [&](const QString&) {
    if (started) return;
    started = true;
    form_.Scan(dir_.file("inner") + "/*.*", inner, "*.mp3", -1);
  });
  EXPECT_EQ(RunScan("outer"), QStringList({"outer/o.mp3"}));
  EXPECT_EQ(Rel(inner), QStringList({"inner/i.mp3"}));
}

}  // namespace
