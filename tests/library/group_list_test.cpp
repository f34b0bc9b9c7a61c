#include "library/group_list.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QListWidget>
#include <QTest>
#include <ostream>

#include "library/file_music_lists.h"
#include "library/list_box.h"
#include "platform/keystate.h"
#include "qt_print.h"
#include "settings/list_files.h"
#include "settings/settings.h"
#include "support/temp_dir.h"
#include "text/text_lines.h"

namespace {

using testing_support::TempDir;

class RecordingTransport : public IListTransport {
 public:
  QStringList calls;
  bool Playing() const override { return false; }
  bool HasCurrentMedia() const override { return false; }
  void StopTrack() override { calls << "StopTrack"; }
  void PlayFromStart() override { calls << "PlayFromStart"; }
  void OpenCurrentTrack() override { calls << "OpenCurrentTrack"; }
  void PlayPauseSBClick() override {}
  void PlayerClose() override {}
  void PlayerSetPosition(double) override {}
};

class FakeOpener : public IGroupOpener {
 public:
  int result = 1;
  QList<QStringList> opened;
  int filePages = 0;
  int OpenPaths(QStringList& paths) override {
    opened << paths;
    return result;
  }
  void ShowFilePage() override { ++filePages; }
};

class FakeDialogs : public IListDialogs {
 public:
  bool answer = false;
  QStringList questions;
  bool Confirm(const QString& question) override {
    questions << question;
    return answer;
  }
  QString OpenFileName(const QString&) override { return QString(); }
};

class FakeFileDialogs : public IListFileDialogs {
 public:
  QString chosen;  // empty: cancelled
  QStringList names;
  QString SaveFileName(const ListFileDialog& dialog) override {
    names << dialog.Name;
    return chosen;
  }
  QStringList OpenFileNames(const ListFileDialog& dialog) override {
    names << dialog.Name;
    return chosen.isEmpty() ? QStringList() : QStringList{chosen};
  }
};

class FakePlaylists : public IPlaylistReader {
 public:
  QStringList ReadPlaylist(const QString& path) override { return {path + ".track.mp3"}; }
};

QStringList Rows(const QListWidget& lb) {
  QStringList rows;
  for (int i = 0; i < lb.count(); ++i) rows << lb.item(i)->text();
  return rows;
}

QStringList Items(const QComboBox& box) {
  QStringList items;
  for (int i = 0; i < box.count(); ++i) items << box.itemText(i);
  return items;
}

// The group list over a real list box and a real editable combo box, with ten entries
// /g/e0 … /g/e9 shown whole.
class GroupListTest : public testing::Test {
 protected:
  GroupListTest() {
    platform::SetKeyState(&keys_);
    settings_.DisplayLevel = -1;
    timerCB_.setEditable(true);
    FileListHooks listHooks;
    listHooks.Playlists = &playlists_;
    lists_ = std::make_unique<CFileMusicLists>(settings_, &fileLB_, &musicLB_, listHooks);
    GroupListHooks hooks;
    hooks.Transport = &transport_;
    hooks.Opener = &opener_;
    hooks.Dialogs = &dialogs_;
    hooks.FileDialogs = &fileDialogs_;
    groups_ = std::make_unique<CGroupList>(settings_, &groupLB_, &timerCB_, lists_.get(), hooks);
    for (int i = 0; i < 10; ++i) entries_ << QStringLiteral("/g/e%1").arg(i);
    groups_->GroupList = entries_;
    groups_->ShowGroupList();
    timerCB_.setEditText("typed by the user");
  }
  ~GroupListTest() override { platform::SetKeyState(nullptr); }

  // The entries as indexes into the original ten.
  QList<int> Order() const {
    QList<int> order;
    for (const QString& e : groups_->GroupList) order << entries_.indexOf(e);
    return order;
  }

  TempDir dir_;
  Settings settings_;
  platform::FakeKeyState keys_;
  QListWidget fileLB_, musicLB_, groupLB_;
  QComboBox timerCB_;
  RecordingTransport transport_;
  FakeOpener opener_;
  FakeDialogs dialogs_;
  FakeFileDialogs fileDialogs_;
  FakePlaylists playlists_;
  std::unique_ptr<CFileMusicLists> lists_;
  std::unique_ptr<CGroupList> groups_;
  QStringList entries_;
};

TEST_F(GroupListTest, ShowingFillsBothControlsAndKeepsTheTextBeingEdited) {
  settings_.DisplayLevel = 0;
  groups_->GroupList = {"/music/Artist/Album.m3u", "/music/Live"};
  groups_->ShowGroupList();
  EXPECT_EQ(Rows(groupLB_), QStringList({"Album.m3u", "Live"}));
  EXPECT_EQ(Items(timerCB_), groups_->GroupList);
  EXPECT_EQ(timerCB_.currentText(), "typed by the user");
}

struct AddCase {
  const char* label;
  QStringList before;
  QStringList paths;
  bool append;
  QStringList after;
};

void PrintTo(const AddCase& c, std::ostream* os) { *os << c.label; }

class GroupAdd : public GroupListTest, public testing::WithParamInterface<AddCase> {};

TEST_P(GroupAdd, SkipsPathsAlreadyThere) {
  groups_->GroupList = GetParam().before;
  groups_->AddToGroupList(GetParam().paths, GetParam().append);
  EXPECT_EQ(groups_->GroupList, GetParam().after);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, GroupAdd,
    testing::Values(AddCase{"replace", {"/a", "/b"}, {"/c", "/c", "/b"}, false, {"/c", "/b"}},
                    AddCase{
                        "append", {"/a", "/b"}, {"/b", "/c", "/a", "/c"}, true, {"/a", "/b", "/c"}},
                    // Linux file systems tell case apart, so these are two entries.
                    AddCase{"case_differs", {"/A.m3u"}, {"/a.m3u"}, true, {"/A.m3u", "/a.m3u"}}),
    [](const testing::TestParamInfo<AddCase>& p) { return std::string(p.param.label); });

struct MoveCase {
  QList<int> selected;
  int key;
  QList<int> order;
  QList<int> selectedAfter;
};

void PrintTo(const MoveCase& c, std::ostream* os) {
  *os << (c.key == Qt::Key_Up ? "up" : "down") << " with rows";
  for (int r : c.selected) *os << ' ' << r;
}

class GroupMove : public GroupListTest, public testing::WithParamInterface<MoveCase> {};

TEST_P(GroupMove, AltArrowsMoveTheSelectedBlocks) {
  const MoveCase& c = GetParam();
  const int focus = c.selected.isEmpty() ? 4 : c.selected.first();
  SetFocusedRow(&groupLB_, focus);
  SetSelectedRows(&groupLB_, c.selected);
  keys_.Set(platform::Key::LeftAlt, true);
  QTest::keyClick(&groupLB_, static_cast<Qt::Key>(c.key), Qt::AltModifier);
  EXPECT_EQ(Order(), c.order);
  EXPECT_EQ(Rows(groupLB_), groups_->GroupList);
  EXPECT_EQ(SelectedRows(&groupLB_), c.selectedAfter);
  const bool moved = c.order != QList<int>({0, 1, 2, 3, 4, 5, 6, 7, 8, 9});
  EXPECT_EQ(FocusedRow(&groupLB_), moved ? focus + (c.key == Qt::Key_Up ? -1 : 1) : focus);
  // The drop-down keeps its order until the next ShowGroupList.
  EXPECT_EQ(Items(timerCB_), entries_);
}

INSTANTIATE_TEST_SUITE_P(
    Blocks, GroupMove,
    testing::Values(MoveCase{{2, 3, 6}, Qt::Key_Up, {0, 2, 3, 1, 4, 6, 5, 7, 8, 9}, {1, 2, 5}},
                    MoveCase{{2, 3, 6}, Qt::Key_Down, {0, 1, 4, 2, 3, 5, 7, 6, 8, 9}, {3, 4, 7}},
                    // A block at the edge holds the others back.
                    MoveCase{{0, 4}, Qt::Key_Up, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9}, {0, 4}},
                    MoveCase{{5, 9}, Qt::Key_Down, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9}, {5, 9}},
                    MoveCase{{}, Qt::Key_Up, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9}, {}}));

TEST_F(GroupListTest, PlainArrowsAreLeftToTheListBox) {
  EXPECT_FALSE(groups_->GroupLBKeyDown(Qt::Key_Up));
  EXPECT_FALSE(groups_->GroupLBKeyDown(Qt::Key_Down));
  EXPECT_FALSE(groups_->GroupLBKeyDown(Qt::Key_Return));
  EXPECT_EQ(groups_->GroupList, entries_);
}

TEST_F(GroupListTest, DeleteRemovesTheSelectedEntriesWithTheirDropDownItems) {
  SetSelectedRows(&groupLB_, {1, 3, 9});
  QTest::keyClick(&groupLB_, Qt::Key_Delete);
  const QStringList rest = {"/g/e0", "/g/e2", "/g/e4", "/g/e5", "/g/e6", "/g/e7", "/g/e8"};
  EXPECT_EQ(groups_->GroupList, rest);
  EXPECT_EQ(Rows(groupLB_), rest);
  EXPECT_EQ(Items(timerCB_), rest);
  EXPECT_EQ(timerCB_.currentText(), "typed by the user");
}

TEST_F(GroupListTest, ClearingAsksFirst) {
  for (bool yes : {false, true}) {
    dialogs_.answer = yes;
    groups_->ClearGroupButtonClick();
    EXPECT_EQ(groups_->GroupList, yes ? QStringList() : entries_);
    EXPECT_EQ(groupLB_.count(), yes ? 0 : 10);
  }
  EXPECT_EQ(dialogs_.questions, QStringList(2, "グループリストをすべて削除してよろしいですか？"));
}

TEST_F(GroupListTest, SortingOrdersByNameIgnoringCase) {
  groups_->GroupList = {"/b", "/C", "/a"};
  groups_->ShowGroupList();
  SetFocusedRow(&groupLB_, 0);
  groups_->MnGroupSortClick();
  EXPECT_EQ(groups_->GroupList, QStringList({"/a", "/b", "/C"}));
  EXPECT_EQ(Rows(groupLB_), groups_->GroupList);
  EXPECT_EQ(Items(timerCB_), groups_->GroupList);
  EXPECT_EQ(FocusedRow(&groupLB_), 1);  // still on "/b"
}

struct OpenEntryCase {
  const char* label;
  bool exists;
  int result;
  bool playWhenOpen;
  QStringList calls;
  int filePages;
};

void PrintTo(const OpenEntryCase& c, std::ostream* os) { *os << c.label; }

class GroupOpenEntry : public GroupListTest, public testing::WithParamInterface<OpenEntryCase> {};

TEST_P(GroupOpenEntry, ADoubleClickOpensTheFocusedEntry) {
  const OpenEntryCase& c = GetParam();
  settings_.PlayWhenOpen = c.playWhenOpen;
  opener_.result = c.result;
  const QString entry = c.exists ? dir_.write("album.m3u", "x") : dir_.file("gone.m3u");
  lists_->AddToFileList({entry}, false);
  lists_->ShowFileList();
  groups_->GroupList = {"/g/other", entry};
  groups_->ShowGroupList();
  SetFocusedRow(&groupLB_, 1);
  groups_->GroupLBDblClick();
  EXPECT_EQ(transport_.calls, c.calls);
  EXPECT_EQ(opener_.opened, c.exists ? QList<QStringList>{{entry}} : QList<QStringList>{});
  EXPECT_EQ(opener_.filePages, c.filePages);
  // Without auto-play the current entry's tracks are loaded before the track is opened.
  const bool loaded = c.exists && c.result == 1 && !c.playWhenOpen;
  EXPECT_EQ(lists_->MusicList, loaded ? QStringList{entry + ".track.mp3"} : QStringList());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, GroupOpenEntry,
    testing::Values(
        OpenEntryCase{"gone_only_stops", false, 1, true, {"StopTrack"}, 0},
        OpenEntryCase{"lists_opened_play", true, 1, true, {"StopTrack", "PlayFromStart"}, 1},
        OpenEntryCase{
            "lists_opened_without_auto_play", true, 1, false, {"StopTrack", "OpenCurrentTrack"}, 1},
        OpenEntryCase{"media_added", true, 2, true, {"StopTrack"}, 1}),
    [](const testing::TestParamInfo<OpenEntryCase>& p) { return std::string(p.param.label); });

TEST_F(GroupListTest, ReadingAGroupFileReplacesOrWithControlAppendsEveryLine) {
  const QString file = dir_.file("groups.qgf");
  ASSERT_TRUE(SaveTextLines({"/g/new", "", "/g/e0"}, file));
  for (bool control : {false, true}) {
    SCOPED_TRACE(control ? "Control held" : "Control up");
    keys_.Set(platform::Key::RightControl, control);
    groups_->GroupList = {"/g/e0"};
    fileDialogs_.chosen = file;
    groups_->LoadGroupButtonClick();
    // Empty lines and duplicates come in as they are.
    const QStringList read = {"/g/new", "", "/g/e0"};
    EXPECT_EQ(groups_->GroupList, control ? QStringList{"/g/e0"} + read : read);
    EXPECT_EQ(Rows(groupLB_), groups_->GroupList);
  }
  fileDialogs_.chosen.clear();
  groups_->MnGroupOpenClick();
  EXPECT_EQ(groups_->GroupList.size(), 4);
  EXPECT_EQ(fileDialogs_.names, QStringList(3, "OpenGroupDialog"));
}

TEST_F(GroupListTest, SavingWritesOneEntryPerLine) {
  fileDialogs_.chosen = dir_.file("saved.qgf");
  groups_->SaveGroupButtonClick();
  QStringList lines;
  LoadTextLines(lines, fileDialogs_.chosen);
  EXPECT_EQ(lines, entries_);
  EXPECT_EQ(fileDialogs_.names, QStringList{"SaveGroupDialog"});
}

}  // namespace
