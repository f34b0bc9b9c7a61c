#include "settings/list_files.h"

#include <gtest/gtest.h>

#include <QFileDialog>
#include <functional>
#include <ostream>
#include <string>

#include "library/qt_print.h"
#include "platform/keystate.h"
#include "settings/list_blocks.h"
#include "support/temp_dir.h"
#include "text/text_lines.h"

namespace {

// Dialogs that answer from a script: each call takes the next answer (an empty one cancels)
// and records the dialog's name.
class ScriptedDialogs final : public IListFileDialogs {
 public:
  QStringList answers;
  QStringList shown;

  QString SaveFileName(const ListFileDialog& dialog) override {
    shown.append(dialog.Name);
    return answers.isEmpty() ? QString() : answers.takeFirst();
  }
  QStringList OpenFileNames(const ListFileDialog& dialog) override {
    shown.append(dialog.Name);
    const QString answer = answers.isEmpty() ? QString() : answers.takeFirst();
    return answer.isEmpty() ? QStringList() : QStringList{answer};
  }
};

class ListFilesTest : public testing::Test {
 protected:
  void SetUp() override { platform::SetKeyState(&keys); }
  void TearDown() override { platform::SetKeyState(nullptr); }

  QStringList ReadLines(const QString& path) {
    QStringList lines;
    LoadTextLines(lines, path);
    return lines;
  }

  testing_support::TempDir dir;
  platform::FakeKeyState keys;
  ScriptedDialogs dialogs;
};

CMusicTimer Timer(const char* name, std::int32_t time) {
  CMusicTimer t;
  t.SettingName = QString::fromUtf8(name);
  t.Time = time;
  t.Day = kTimerEveryDay;
  return t;
}

// ---- Saving ----

TEST_F(ListFilesTest, GroupListFileHoldsThePathsAsUtf16LineByLine) {
  dialogs.answers = {dir.file(QStringLiteral("g.qgf"))};
  EXPECT_TRUE(SaveGroupListFile(dialogs, {QStringLiteral("/Music"), QStringLiteral("/曲.m3u")}));
  EXPECT_EQ(dialogs.shown, QStringList{"SaveGroupDialog"});
  const QString text = QStringLiteral("/Music\r\n/曲.m3u\r\n");
  EXPECT_EQ(dir.read(QStringLiteral("g.qgf")),
            QByteArray(reinterpret_cast<const char*>(text.utf16()), text.size() * 2));
}

TEST_F(ListFilesTest, FileListFileIsAFileBlock) {
  const QString a = dir.write(QStringLiteral("a.m3u"), "x");
  const QString b = dir.write(QStringLiteral("b.m3u"), "x");
  dialogs.answers = {dir.file(QStringLiteral("list.qlf"))};
  CListFiles files(dialogs);
  files.SaveFileListFile({a, dir.file(QStringLiteral("gone.m3u")), b});
  EXPECT_EQ(dialogs.shown, QStringList{"SaveFileDialog"});
  const QStringList lines = ReadLines(dir.file(QStringLiteral("list.qlf")));
  EXPECT_EQ(lines,
            QStringList({"FileList0=" + a, "FileList1=" + dir.file("gone.m3u"), "FileList2=" + b}));
  EXPECT_EQ(files.ReadFileBlock(lines), QStringList({a, b}));
}

TEST_F(ListFilesTest, TimerListFileReadsBackEveryNamedTimer) {
  TimerList timers = {
      {"Alarm", Timer("Alarm", 420)}, {"Alarm", Timer("Alarm", 480)}, {"Nap", Timer("Nap", 780)}};
  dialogs.answers = {dir.file(QStringLiteral("t.qtf"))};
  EXPECT_TRUE(SaveTimerListFile(dialogs, timers, 3));
  EXPECT_EQ(dialogs.shown, QStringList{"SaveTimerDialog"});
  TimerList read;
  ReadTimerListFile(dir.file(QStringLiteral("t.qtf")), read);
  ASSERT_EQ(read.size(), 3);
  EXPECT_TRUE(read == timers);
}

// Every command gives false for a cancelled dialog and neither writes nor changes anything.
struct CancelCase {
  const char* name;
  std::function<bool(IListFileDialogs&, QStringList&)> run;
};
void PrintTo(const CancelCase& c, std::ostream* os) { *os << c.name; }

class CancelTest : public testing::TestWithParam<CancelCase> {};

TEST_P(CancelTest, ReturnsFalseAndChangesNothing) {
  testing_support::TempDir dir;
  ScriptedDialogs dialogs;
  dialogs.answers = {QString()};
  QStringList groups = {QStringLiteral("/kept")};
  EXPECT_FALSE(GetParam().run(dialogs, groups));
  EXPECT_EQ(dialogs.shown.size(), 1);
  EXPECT_EQ(groups, QStringList{"/kept"});
}

INSTANTIATE_TEST_SUITE_P(
    Commands, CancelTest,
    testing::Values(
        CancelCase{"SaveGroupListFile",
                   [](IListFileDialogs& d, QStringList& g) { return SaveGroupListFile(d, g); }},
        CancelCase{"SaveFileListFile",
                   [](IListFileDialogs& d, QStringList& g) { return SaveFileListFile(d, g); }},
        CancelCase{"SaveTimerListFile",
                   [](IListFileDialogs& d, QStringList&) {
                     return SaveTimerListFile(d, {{"A", Timer("A", 1)}}, 1);
                   }},
        CancelCase{"OpenGroupListFile",
                   [](IListFileDialogs& d, QStringList& g) { return OpenGroupListFile(d, g); }}),
    [](const testing::TestParamInfo<CancelCase>& p) { return std::string(p.param.name); });

// ---- Opening a group-list file ----

TEST_F(ListFilesTest, GroupListOpenReplacesOrAppendsWithControl) {
  // Written by hand: blanks around entries and an empty line in the middle.
  const QString path = dir.write(QStringLiteral("g.qgf"), "  /Music \n\n\t/Live.m3u\n");
  const QStringList fromFile = {"/Music", "", "/Live.m3u"};

  QStringList groups = {QStringLiteral("/old")};
  dialogs.answers = {path};
  EXPECT_TRUE(OpenGroupListFile(dialogs, groups));
  EXPECT_EQ(dialogs.shown, QStringList{"OpenGroupDialog"});
  EXPECT_EQ(groups, fromFile);

  keys.Set(platform::Key::RightControl, true);
  dialogs.answers = {path};
  EXPECT_TRUE(OpenGroupListFile(dialogs, groups));
  EXPECT_EQ(groups, fromFile + fromFile);
}

TEST_F(ListFilesTest, UnreadableGroupListFileEmptiesTheListWithoutControl) {
  QStringList groups = {QStringLiteral("/old")};
  dialogs.answers = {dir.file(QStringLiteral("missing.qgf"))};
  EXPECT_TRUE(OpenGroupListFile(dialogs, groups));
  EXPECT_TRUE(groups.isEmpty());
}

// ---- The dialogs ----

struct DialogCase {
  const ListFileDialog& (*dialog)();
  const char* name;
  bool save;
  const char* defaultExt;
  std::vector<const char*> nameFilters;
  bool multiSelect;
};
void PrintTo(const DialogCase& c, std::ostream* os) { *os << c.name; }

class DialogTest : public testing::TestWithParam<DialogCase> {};

TEST_P(DialogTest, HasItsPropertiesAndGivesThemToQFileDialog) {
  const DialogCase& c = GetParam();
  const ListFileDialog& d = c.dialog();
  EXPECT_EQ(d.Name, QString::fromUtf8(c.name));
  EXPECT_EQ(d.OverwritePrompt, c.save);
  EXPECT_EQ(d.HideReadOnly, c.save);
  EXPECT_TRUE(d.Resizable);

  QFileDialog fileDialog;
  ConfigureListFileDialog(fileDialog, d);
  EXPECT_EQ(fileDialog.acceptMode(), c.save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  EXPECT_EQ(fileDialog.fileMode(), c.save          ? QFileDialog::AnyFile
                                   : c.multiSelect ? QFileDialog::ExistingFiles
                                                   : QFileDialog::ExistingFile);
  EXPECT_EQ(fileDialog.defaultSuffix(), QString::fromUtf8(c.defaultExt));
  QStringList filters;
  for (const char* f : c.nameFilters) filters.append(QString::fromUtf8(f));
  EXPECT_EQ(fileDialog.nameFilters(), filters);
  EXPECT_EQ(fileDialog.testOption(QFileDialog::DontConfirmOverwrite), !c.save);
  EXPECT_TRUE(fileDialog.isSizeGripEnabled());
}

INSTANTIATE_TEST_SUITE_P(
    Dialogs, DialogTest,
    testing::Values(DialogCase{SaveGroupDialog,
                               "SaveGroupDialog",
                               true,
                               "qgf",
                               {"QUOM Group File(*.qgf)", "すべてのファイル(*.*) (*)"},
                               false},
                    DialogCase{OpenGroupDialog,
                               "OpenGroupDialog",
                               false,
                               "quomtl",
                               {"QUOM Group File(*.qgf)", "すべてのファイル(*.*) (*)"},
                               false},
                    DialogCase{SaveFileDialog,
                               "SaveFileDialog",
                               true,
                               "qlf",
                               {"QUOM List File(*.qlf)", "すべてのファイル(*.*) (*)"},
                               false},
                    DialogCase{OpenFileDialog,
                               "OpenFileDialog",
                               false,
                               "",
                               {"QUOM File List(*.qfl)", "すべてのファイル(*.*) (*)"},
                               true},
                    DialogCase{SaveTimerDialog,
                               "SaveTimerDialog",
                               true,
                               "qtf",
                               {"QUOM Timer File(*.qtf)", "すべてのファイル(*.*) (*)"},
                               false},
                    DialogCase{OpenTimerDialog,
                               "OpenTimerDialog",
                               false,
                               "quomtl",
                               {"QUOM Timer File(*.qtf)", "すべてのファイル(*.*) (*)"},
                               false}),
    [](const testing::TestParamInfo<DialogCase>& p) { return std::string(p.param.name); });

}  // namespace
