#include "settings/list_blocks.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "library/qt_print.h"
#include "support/temp_dir.h"

// Readable failures for timer lists (global for argument-dependent look-up, static to stay
// in this file).
static void PrintTo(const TimerListEntry& e, std::ostream* os) {
  *os << e.Name.toStdString() << ": " << FormatTimerRecord(e.Timer).toStdString();
}

namespace {

QStringList Lines(const char* text) {
  return QString::fromUtf8(text).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

CMusicTimer Timer(const char* name, std::int32_t time) {
  CMusicTimer t;
  t.SettingName = QString::fromUtf8(name);
  t.FileName = QStringLiteral("/Music/") + t.SettingName;
  t.Time = time;
  t.Day = kTimerEveryDay;
  return t;
}

TimerList Timers(std::initializer_list<CMusicTimer> records) {
  TimerList list;
  for (const CMusicTimer& t : records) list.append(TimerListEntry{t.SettingName, t});
  return list;
}

// ---- Writing ----

TEST(WriteBlocks, AppendOneNumberedLinePerEntry) {
  QStringList lines = {QStringLiteral("Volume=5000")};
  EXPECT_TRUE(WriteGroupBlock(lines, {QStringLiteral("/Music"), QStringLiteral("/Live.m3u")}));
  EXPECT_TRUE(WriteFileBlock(lines, {QStringLiteral(" /a b.m3u")}));
  EXPECT_TRUE(WriteGroupBlock(lines, {}));
  EXPECT_EQ(lines, QStringList({"Volume=5000", "GroupList0=/Music", "GroupList1=/Live.m3u",
                                "FileList0= /a b.m3u"}));
}

TEST(WriteTimerBlock, WritesOneLinePerRowFromTheRecordAtThatIndex) {
  const TimerList timers = Timers({Timer("A", 1), Timer("B", 2), Timer("C", 3)});
  QStringList lines;
  EXPECT_TRUE(WriteTimerBlock(lines, timers, 2));
  EXPECT_EQ(lines, QStringList({"TimerList0=" + FormatTimerRecord(timers[0].Timer),
                                "TimerList1=" + FormatTimerRecord(timers[1].Timer)}));
  // More rows than records cannot index past the list.
  lines.clear();
  EXPECT_TRUE(WriteTimerBlock(lines, timers, 5));
  EXPECT_EQ(lines.size(), 3);
  lines.clear();
  EXPECT_TRUE(WriteTimerBlock(lines, timers, -1));
  EXPECT_TRUE(lines.isEmpty());
  EXPECT_TRUE(WriteTimerBlock(lines, timers));
  EXPECT_EQ(lines.size(), 3);
}

// ---- Reading a group block: the running start ----

struct BlockCase {
  const char* name;
  const char* lines;
  std::vector<const char*> entries;
};
void PrintTo(const BlockCase& c, std::ostream* os) { *os << c.lines; }

class GroupBlockTest : public testing::TestWithParam<BlockCase> {};

TEST_P(GroupBlockTest, ReadsUpToTheFirstIndexNotFoundAfterThePreviousOne) {
  const BlockCase& c = GetParam();
  QStringList expected = {QStringLiteral("kept")};
  for (const char* e : c.entries) expected.append(QString::fromUtf8(e));
  QStringList plain = {QStringLiteral("kept")};
  QStringList indexed = plain;
  EXPECT_TRUE(ReadGroupBlock(Lines(c.lines), plain));
  EXPECT_TRUE(ReadGroupBlock(CKeyValueLines(Lines(c.lines)), indexed));
  EXPECT_EQ(plain, expected);
  EXPECT_EQ(indexed, expected);
}

INSTANTIATE_TEST_SUITE_P(
    Blocks, GroupBlockTest,
    testing::Values(
        BlockCase{"Empty", "Volume=1", {}},
        BlockCase{"InOrderAmongOtherLines",
                  "Volume=1\nGroupList0=/a\nSearch0=x\nGroupList1= /b c \nTimerEnabled=True",
                  {"/a", "/b c"}},
        BlockCase{"IndexTenNotTakenForOne",
                  "GroupList0=a\nGroupList1=b\nGroupList2=c\nGroupList3=d\nGroupList4=e\n"
                  "GroupList5=f\nGroupList6=g\nGroupList7=h\nGroupList8=i\nGroupList9=j\n"
                  "GroupList10=k",
                  {"a", "b", "c", "d", "e", "f", "g", "h", "i", "j", "k"}},
        BlockCase{"TenBeforeOneIsSkipped", "GroupList0=a\nGroupList10=k\nGroupList1=b", {"a", "b"}},
        BlockCase{"OutOfOrderEndsEarly", "GroupList1=b\nGroupList0=a", {"a"}},
        BlockCase{"GapEndsTheBlock", "GroupList0=a\nGroupList1=b\nGroupList3=d", {"a", "b"}},
        BlockCase{"EmptyValueEndsTheBlock", "GroupList0=a\nGroupList1=\nGroupList2=c", {"a"}},
        BlockCase{"LeadingZeroIsAnotherKey", "GroupList0=a\nGroupList01=b", {"a"}},
        BlockCase{"SpacesAroundEquals", "GroupList0 = a\nGroupList1\t=b", {"a", "b"}},
        BlockCase{"DuplicateIndexTakesTheNextLine",
                  "GroupList0=a\nGroupList0=x\nGroupList1=b",
                  {"a", "b"}}),
    [](const testing::TestParamInfo<BlockCase>& p) { return std::string(p.param.name); });

// ---- Reading a file block: only existing files ----

TEST(ReadFileBlock, KeepsExistingFilesAndGoesOnPastOthers) {
  testing_support::TempDir dir;
  const QString a = dir.write(QStringLiteral("a.m3u"), "x");
  const QString b = dir.write(QStringLiteral("アルバム/b c.m3u"), "x");
  const QStringList lines = {"FileList0=" + a, "FileList1=" + dir.path() + "/アルバム",
                             "FileList2=" + dir.file("gone.m3u"), "FileList3=" + b};
  QStringList plain;
  QStringList indexed;
  EXPECT_TRUE(ReadFileBlock(lines, plain));
  EXPECT_TRUE(ReadFileBlock(CKeyValueLines(lines), indexed));
  EXPECT_EQ(plain, QStringList({a, b}));
  EXPECT_EQ(indexed, plain);
}

TEST(ReadFileBlock, WrittenBlockReadsBack) {
  testing_support::TempDir dir;
  QStringList files;
  for (int i = 0; i < 12; ++i) files.append(dir.write(QString::number(i) + ".m3u", "x"));
  QStringList lines;
  WriteFileBlock(lines, files);
  QStringList read;
  ReadFileBlock(CKeyValueLines(lines), read);
  EXPECT_EQ(read, files);
}

// ---- Reading a timer block ----

TEST(ReadTimerBlock, DropsRecordsWithoutANameAndKeepsDuplicates) {
  const CMusicTimer a = Timer("Alarm", 420);
  const CMusicTimer again = Timer("Alarm", 480);
  CMusicTimer unnamed = Timer("", 10);
  const CMusicTimer c = Timer("Day=3 alarm", 600);
  QStringList lines = {QStringLiteral("Volume=3")};
  WriteTimerBlock(lines, Timers({a, unnamed, again, c}));
  TimerList plain = Timers({Timer("Existing", 1)});
  TimerList indexed = plain;
  EXPECT_TRUE(ReadTimerBlock(lines, plain));
  EXPECT_TRUE(ReadTimerBlock(CKeyValueLines(lines), indexed));
  const TimerList expected = Timers({Timer("Existing", 1), a, again, c});
  EXPECT_EQ(plain, expected);
  EXPECT_EQ(indexed, expected);
}

}  // namespace
