#include "library/playlist_save.h"

#include <gtest/gtest.h>

#include <QFileDialog>
#include <QListWidget>
#include <memory>

#include "library/dialog_filter.h"
#include "library/file_music_lists.h"
#include "library/list_box.h"
#include "library/playlist.h"
#include "qt_print.h"
#include "settings/settings.h"
#include "support/temp_dir.h"

namespace {

using testing_support::TempDir;

QString U(const char* utf8) { return QString::fromUtf8(utf8); }

// A GoogleTest name from a case's description.
template <typename Case>
std::string CaseName(const testing::TestParamInfo<Case>& info) {
  std::string name;
  for (const char* c = info.param.name; *c; ++c)
    name += (std::isalnum(static_cast<unsigned char>(*c)) != 0) ? *c : '_';
  return name;
}

QStringList Rows(const QListWidget& lb) {
  QStringList rows;
  for (int i = 0; i < lb.count(); ++i) rows << lb.item(i)->text();
  return rows;
}

// The UTF-16LE bytes of a text, without a mark.
QByteArray Utf16LE(const QString& text) {
  return QByteArray(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
}

// Answers with `chosen` and records where it was asked to start.
class ScriptedDialog : public ISavePlaylistDialog {
 public:
  QString chosen;
  QStringList asked;  // "folder|name" per call
  QString SavePlaylistFileName(const QString& folder, const QString& fileName) override {
    asked << folder + QLatin1Char('|') + fileName;
    return chosen;
  }
};

// ---- Where the dialog starts ----

struct StartCase {
  const char* name;
  const char* track;
  int displayLevel;
  const char* folder;
  const char* fileName;
};
void PrintTo(const StartCase& c, std::ostream* os) {
  *os << '"' << c.track << "\" level " << c.displayLevel;
}

class SaveDialogStartTest : public testing::TestWithParam<StartCase> {};

TEST_P(SaveDialogStartTest, StartsAboveTheTrackAndProposesItsFolderName) {
  const StartCase& c = GetParam();
  EXPECT_EQ(SavePlaylistStartFolder(U(c.track), c.displayLevel), U(c.folder));
  EXPECT_EQ(ProposedPlaylistName(U(c.track)), U(c.fileName));
}

INSTANTIATE_TEST_SUITE_P(
    Tracks, SaveDialogStartTest,
    testing::Values(
        StartCase{"level 1", "/Music/Album/01.mp3", 1, "/Music", "Album.m3u"},
        StartCase{"level 0", "/Music/Album/01.mp3", 0, "/Music/Album", "Album.m3u"},
        StartCase{"whole paths", "/Music/Album/01.mp3", -1, "/Music/Album", "Album.m3u"},
        StartCase{"level 2", "/Music/Album/01.mp3", 2, "/", "Album.m3u"},
        StartCase{"level 5", "/Music/Album/01.mp3", 5, "/", "Album.m3u"},
        StartCase{"a track in the root", "/01.mp3", 0, "/", "list.m3u"},
        StartCase{"a colon in the folder name", "/Music/Disc:1/01.mp3", 1, "/Music", "list.m3u"},
        StartCase{"Japanese names", "/音楽/夏の歌/01.mp3", 1, "/音楽", "夏の歌.m3u"}),
    CaseName<StartCase>);

TEST(SavePlaylistDialog, IsASaveDialogForM3uFilesThatAsksBeforeReplacing) {
  TempDir dir;
  const auto dialog = MakeSavePlaylistDialog(nullptr, dir.path(), QStringLiteral("Album.m3u"));
  EXPECT_EQ(dialog->objectName(), QStringLiteral("SavePlaylistDialog"));
  EXPECT_EQ(dialog->acceptMode(), QFileDialog::AcceptSave);
  EXPECT_EQ(dialog->defaultSuffix(), QStringLiteral("m3u"));
  EXPECT_FALSE(dialog->testOption(QFileDialog::DontConfirmOverwrite));
  EXPECT_EQ(dialog->nameFilters(),
            QtNameFilters(U("m3u ファイル(*.m3u)|*.m3u|すべてのファイル(*.*)|*.*")));
  EXPECT_EQ(dialog->directory().absolutePath(), dir.path());
  EXPECT_EQ(dialog->selectedFiles(), QStringList{dir.file(QStringLiteral("Album.m3u"))});
}

// ---- Saving ----

// A music list of tracks in a temporary folder, the file list shown with whole paths, and the
// lists controller over two real list boxes.
class SavePlaylistTest : public testing::Test {
 protected:
  SavePlaylistTest() {
    settings_.DisplayLevel = -1;
    tracks_ = {dir_.write(QStringLiteral("Music/Album/01.mp3"), "x"),
               dir_.write(QStringLiteral("Music/Album/02.mp3"), "x"),
               dir_.write(QStringLiteral("Other/03.mp3"), "x")};
    lists_ = std::make_unique<CFileMusicLists>(settings_, &fileLB_, &musicLB_);
  }

  void SetMusic(const QStringList& tracks, int current) {
    lists_->MusicList = tracks;
    lists_->MusicIndex = current;
    lists_->ShowMusicList();
  }
  void SetFiles(const QStringList& entries, int current, int focused) {
    lists_->AddToFileList(entries, false);
    lists_->FileIndex = current;
    lists_->ShowFileList();
    SetFocusedRow(&fileLB_, focused);
  }
  QString Entry(const char* name) const { return dir_.file(U(name)); }

  TempDir dir_;
  QStringList tracks_;
  Settings settings_;
  QListWidget fileLB_;
  QListWidget musicLB_;
  std::unique_ptr<CFileMusicLists> lists_;
  ScriptedDialog dialog_;
};

TEST_F(SavePlaylistTest, WritesRelativeUtf16LinesThatReadBackAsTheSameTracks) {
  const QString playlist = Entry("Music/list.m3u");
  const QStringList music = {tracks_[0], tracks_[2], dir_.write(U("Music/#1 夏.mp3"), "x")};
  SetMusic(music, 1);
  EXPECT_TRUE(WritePlaylist(*lists_, playlist));
  EXPECT_EQ(dir_.read(QStringLiteral("Music/list.m3u")),
            Utf16LE(U("Album/01.mp3\r\n../Other/03.mp3\r\n./#1 夏.mp3\r\n")));
  QStringList readBack;
  EXPECT_TRUE(ReadPlaylist(playlist, readBack, Settings()));
  EXPECT_EQ(readBack, music);
  // The music list itself is not reloaded.
  EXPECT_EQ(lists_->MusicList, music);
  EXPECT_EQ(lists_->MusicIndex, 1);
}

struct RegisterCase {
  const char* name;
  std::vector<const char*> before;  // file-list entries
  int current;
  int focused;
  const char* saved;
  std::vector<const char*> after;
  int index;  // the current, focused and only selected entry afterwards
};
void PrintTo(const RegisterCase& c, std::ostream* os) { *os << c.name; }

class RegisterPlaylistTest : public SavePlaylistTest,
                             public testing::WithParamInterface<RegisterCase> {};

TEST_P(RegisterPlaylistTest, MakesTheSavedFileTheCurrentEntry) {
  const RegisterCase& c = GetParam();
  QStringList before, after;
  for (const char* e : c.before) before << Entry(e);
  for (const char* e : c.after) after << Entry(e);
  SetFiles(before, c.current, c.focused);
  SetMusic(tracks_, 0);

  EXPECT_TRUE(WritePlaylist(*lists_, Entry(c.saved)));
  EXPECT_TRUE(QFileInfo::exists(Entry(c.saved)));
  EXPECT_EQ(lists_->FileList(), after);
  EXPECT_EQ(Rows(fileLB_), after);
  EXPECT_EQ(lists_->FileIndex, c.index);
  EXPECT_EQ(FocusedRow(&fileLB_), c.index);
  EXPECT_EQ(SelectedRows(&fileLB_), QList<int>{c.index});
  // The entry is in the look-up set: adding it again adds nothing.
  lists_->AddToFileList({Entry(c.saved)}, true);
  EXPECT_EQ(lists_->FileList(), after);
}

INSTANTIATE_TEST_SUITE_P(
    Entries, RegisterPlaylistTest,
    testing::Values(RegisterCase{"inserted after the focused row",
                                 {"a.m3u", "b.m3u", "c.m3u"},
                                 0,
                                 1,
                                 "new.m3u",
                                 {"a.m3u", "b.m3u", "new.m3u", "c.m3u"},
                                 2},
                    RegisterCase{"appended after the focused last row",
                                 {"a.m3u", "b.m3u"},
                                 0,
                                 1,
                                 "new.m3u",
                                 {"a.m3u", "b.m3u", "new.m3u"},
                                 2},
                    RegisterCase{"first without a focused row",
                                 {"a.m3u", "b.m3u"},
                                 1,
                                 -1,
                                 "new.m3u",
                                 {"new.m3u", "a.m3u", "b.m3u"},
                                 0},
                    RegisterCase{
                        "the only entry of an empty list", {}, -1, -1, "new.m3u", {"new.m3u"}, 0},
                    RegisterCase{"an entry already there only becomes current",
                                 {"a.m3u", "list.m3u", "c.m3u"},
                                 0,
                                 2,
                                 "list.m3u",
                                 {"a.m3u", "list.m3u", "c.m3u"},
                                 1},
                    // Linux file systems tell case apart, so this is another file.
                    RegisterCase{"a name differing in case is a new entry",
                                 {"list.m3u"},
                                 0,
                                 0,
                                 "List.m3u",
                                 {"list.m3u", "List.m3u"},
                                 1}),
    CaseName<RegisterCase>);

TEST_F(SavePlaylistTest, AFailedWriteRegistersNothing) {
  SetFiles({Entry("a.m3u")}, 0, 0);
  SetMusic(tracks_, 0);
  EXPECT_FALSE(WritePlaylist(*lists_, Entry("missing folder/list.m3u")));
  EXPECT_EQ(lists_->FileList(), QStringList{Entry("a.m3u")});
  EXPECT_EQ(lists_->FileIndex, 0);
}

TEST_F(SavePlaylistTest, WithAnEmptyMusicListNothingHappens) {
  SetFiles({Entry("a.m3u")}, 0, 0);
  dialog_.chosen = Entry("list.m3u");
  MnSavePlayListClick(*lists_, settings_, dialog_);
  EXPECT_TRUE(dialog_.asked.isEmpty());
  EXPECT_FALSE(QFileInfo::exists(Entry("list.m3u")));
  EXPECT_EQ(lists_->FileList(), QStringList{Entry("a.m3u")});
}

TEST_F(SavePlaylistTest, TheDialogStartsFromTheSelectedTrackOrTheFirst) {
  settings_.DisplayLevel = 1;
  SetMusic(tracks_, 2);  // selects the track in Other
  MnSavePlayListClick(*lists_, settings_, dialog_);
  SetSelectedRow(&musicLB_, -1);
  MnSavePlayListClick(*lists_, settings_, dialog_);
  EXPECT_EQ(dialog_.asked, (QStringList{dir_.path() + QStringLiteral("|Other.m3u"),
                                        Entry("Music") + QStringLiteral("|Album.m3u")}));
  // Both were cancelled: nothing was written or registered.
  EXPECT_TRUE(lists_->FileList().isEmpty());
  EXPECT_EQ(QDir(dir_.path()).entryList(QDir::Files), QStringList{});
}

TEST_F(SavePlaylistTest, TheChosenFileIsWrittenAndBecomesCurrent) {
  SetFiles({Entry("a.m3u")}, 0, 0);
  SetMusic(tracks_, 0);
  dialog_.chosen = Entry("Music/Album.m3u");
  MnSavePlayListClick(*lists_, settings_, dialog_);
  EXPECT_EQ(dir_.read(QStringLiteral("Music/Album.m3u")),
            Utf16LE(QStringLiteral("Album/01.mp3\r\nAlbum/02.mp3\r\n../Other/03.mp3\r\n")));
  EXPECT_EQ(lists_->FileList(), (QStringList{Entry("a.m3u"), Entry("Music/Album.m3u")}));
  EXPECT_EQ(lists_->FileIndex, 1);
}

}  // namespace
