#include "library/shell_commands.h"

#include <gtest/gtest.h>

#include <QClipboard>
#include <QComboBox>
#include <QDBusConnection>
#include <QDesktopServices>
#include <QGuiApplication>
#include <QListWidget>
#include <QProcess>
#include <QStandardPaths>
#include <QTest>
#include <ostream>

#include "library/file_music_lists.h"
#include "library/group_list.h"
#include "library/list_box.h"
#include "platform/shell.h"
#include "qt_print.h"
#include "settings/settings.h"

namespace {

class FakeShell : public platform::IShell {
 public:
  QStringList shown;
  QStringList copied;
  void ShowInExplorer(const QString& path) override { shown << path; }
  void SetClipboardText(const QString& text) override { copied << text; }
};

// The three lists over real list boxes, each holding `entry` in its one row.
class ShellCommandsTest : public testing::Test {
 protected:
  ShellCommandsTest()
      : lists_(settings_, &fileLB_, &musicLB_),
        groups_(settings_, &groupLB_, &timerCB_, &lists_),
        commands_(lists_, groups_, &shell_) {}

  void Fill(const QString& entry, int level) {
    settings_.DisplayLevel = level;
    lists_.AddToFileList({entry}, false);
    lists_.ShowFileList();
    lists_.MusicList = {entry};
    lists_.MusicIndex = 0;
    lists_.ShowMusicList();
    groups_.GroupList = {entry};
    groups_.ShowGroupList();
    SetFocusedRow(&groupLB_, 0);
  }

  Settings settings_;
  QListWidget fileLB_, musicLB_, groupLB_;
  QComboBox timerCB_;
  FakeShell shell_;
  CFileMusicLists lists_;
  CGroupList groups_;
  CShellCommands commands_;
};

struct CopyCase {
  const char* label;
  const char* entry;
  int level;
  const char* file;   // MnFileCopy
  const char* music;  // MnMusicCopy
};

void PrintTo(const CopyCase& c, std::ostream* os) { *os << c.label; }

class ShellCopy : public ShellCommandsTest, public testing::WithParamInterface<CopyCase> {};

TEST_P(ShellCopy, EachListCopiesItsOwnText) {
  const CopyCase& c = GetParam();
  Fill(c.entry, c.level);
  commands_.MnFileCopyClick();
  commands_.MnMusicCopyClick();
  commands_.MnGroupCopyClick();
  // The group copy is the stored path, however the row shortens it.
  EXPECT_EQ(shell_.copied, QStringList({c.file, c.music, c.entry}));
  EXPECT_TRUE(shell_.shown.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    Rows, ShellCopy,
    testing::Values(
        CopyCase{"one_level", "/Music/Artist/Album.m3u", 1, "Artist - Album", "Album"},
        CopyCase{"whole_path", "/Music/Artist/Album.m3u", -1, "Music - Artist - Album", "Album"},
        // A dot in a folder name never cuts.
        CopyCase{"dot_in_folder", "/m/Vol.2/Best of", 1, "Vol.2 - Best of", "Best of"},
        CopyCase{"last_dot_only", "/m/01 Intro.v2.mp3", 0, "01 Intro.v2", "01 Intro.v2"},
        CopyCase{"only_a_leading_dot", "/m/a/.m3u", 0, "", ""},
        CopyCase{"japanese", "/音楽/アーティスト/アルバム.flac", 1, "アーティスト - アルバム",
                 "アルバム"}),
    [](const testing::TestParamInfo<CopyCase>& p) { return std::string(p.param.label); });

TEST_F(ShellCommandsTest, OpenFolderItemsHandOverTheEntryAsStored) {
  Fill("/gone/folder/track.mp3", 0);
  commands_.MnFileExplorerOpenClick();
  commands_.MnMusicOpenExplorerClick();
  commands_.MnGroupExplorerOpenClick();
  EXPECT_EQ(shell_.shown, QStringList(3, "/gone/folder/track.mp3"));
}

TEST_F(ShellCommandsTest, WithoutAFocusedRowNothingHappens) {
  Fill("/m/a.mp3", 0);
  SetFocusedRow(&fileLB_, -1);
  SetSelectedRow(&musicLB_, -1);
  SetFocusedRow(&groupLB_, -1);
  for (auto command :
       {&CShellCommands::MnFileCopyClick, &CShellCommands::MnFileExplorerOpenClick,
        &CShellCommands::MnMusicCopyClick, &CShellCommands::MnMusicOpenExplorerClick,
        &CShellCommands::MnGroupCopyClick, &CShellCommands::MnGroupExplorerOpenClick})
    (commands_.*command)();
  EXPECT_TRUE(shell_.copied.isEmpty());
  EXPECT_TRUE(shell_.shown.isEmpty());
}

// ---- The desktop's shell ----

// Catches what QDesktopServices would open.
class UrlCatcher : public QObject {
  Q_OBJECT

 public:
  UrlCatcher() { QDesktopServices::setUrlHandler("file", this, "Open"); }
  ~UrlCatcher() override { QDesktopServices::unsetUrlHandler("file"); }
  QList<QUrl> opened;

 public slots:
  void Open(const QUrl& url) { opened << url; }
};

// A file manager on the bus that only records what it is asked to show.
class FakeFileManager : public QObject {
  Q_OBJECT
  Q_CLASSINFO("D-Bus Interface", "org.freedesktop.FileManager1")

 public:
  QList<QStringList> items;
  QStringList startupIds;

 public slots:
  void ShowItems(const QStringList& uris, const QString& startupId) {
    items << uris;
    startupIds << startupId;
  }
};

// A private session bus for one test.
class PrivateBus {
 public:
  PrivateBus() {
    const QString daemon = QStandardPaths::findExecutable("dbus-daemon");
    if (daemon.isEmpty()) return;
    process_.start(daemon, {"--session", "--nofork", "--print-address=1"});
    if (!process_.waitForReadyRead(5000)) return;
    address_ = QString::fromUtf8(process_.readLine()).trimmed();
  }
  ~PrivateBus() {
    for (const QString& name : names_) QDBusConnection::disconnectFromBus(name);
    process_.kill();
    process_.waitForFinished(5000);
  }
  bool ok() const { return !address_.isEmpty(); }
  QDBusConnection Connect(const QString& name) {
    names_ << name;
    return QDBusConnection::connectToBus(address_, name);
  }

 private:
  QProcess process_;
  QString address_;
  QStringList names_;
};

TEST(DesktopShell, ThePlainTextGoesOnTheClipboard) {
  platform::CDesktopShell shell(QDBusConnection(QStringLiteral("none")));
  shell.SetClipboardText("Artist - Album");
  EXPECT_EQ(QGuiApplication::clipboard()->text(), "Artist - Album");
}

TEST(DesktopShell, AFileManagerOnTheBusIsAskedToShowTheItem) {
  PrivateBus bus;
  if (!bus.ok()) GTEST_SKIP() << "no dbus-daemon";
  QDBusConnection service = bus.Connect("file-manager");
  FakeFileManager manager;
  ASSERT_TRUE(service.registerObject("/org/freedesktop/FileManager1", &manager,
                                     QDBusConnection::ExportAllSlots));
  ASSERT_TRUE(service.registerService("org.freedesktop.FileManager1"));
  UrlCatcher catcher;
  platform::CDesktopShell shell(bus.Connect("program"));
  shell.ShowInExplorer("/music/曲 #1.mp3");
  EXPECT_TRUE(QTest::qWaitFor([&] { return !manager.items.isEmpty(); }, 5000));
  EXPECT_EQ(manager.items, QList<QStringList>{{"file:///music/%E6%9B%B2%20%231.mp3"}});
  EXPECT_EQ(manager.startupIds, QStringList{""});
  QTest::qWait(50);
  EXPECT_TRUE(catcher.opened.isEmpty());
}

TEST(DesktopShell, WithoutAFileManagerTheItemsFolderIsOpened) {
  PrivateBus bus;
  if (!bus.ok()) GTEST_SKIP() << "no dbus-daemon";
  UrlCatcher catcher;
  platform::CDesktopShell shell(bus.Connect("lonely"));
  shell.ShowInExplorer("/music/Artist/Album");
  EXPECT_TRUE(QTest::qWaitFor([&] { return !catcher.opened.isEmpty(); }, 5000));
  EXPECT_EQ(catcher.opened, QList<QUrl>{QUrl("file:///music/Artist")});
}

TEST(DesktopShell, WithoutABusTheItemsFolderIsOpenedAtOnce) {
  UrlCatcher catcher;
  platform::CDesktopShell shell(QDBusConnection(QStringLiteral("none")));
  shell.ShowInExplorer("/a.mp3");
  EXPECT_EQ(catcher.opened, QList<QUrl>{QUrl("file:///")});
}

}  // namespace

#include "shell_commands_test.moc"
