#include "text/text_lines.h"

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <QDir>
#include <QFile>
#include <csignal>
#include <string>

#include "support/temp_dir.h"
#include "text/encoding.h"
#include "text/stock.h"
#include "text_test_util.h"

namespace {

using namespace Qt::StringLiterals;
using testing_support::TempDir;
using text_test::B;
using text_test::BytesOf;
using text_test::FillText;
using text_test::TextOf;

// ---- Appending lines to a text ----

TEST(AppendLinesToTextTest, EveryLineGetsOneLineFeed) {
  const struct {
    const char* name;
    int32_t mode;
    QString before;
    QStringList lines;
    QString after;
  } cases[] = {
      {"ByteModeEmpty", CStock::kByteMode, "", {"a", "", u"日本"_s}, u"a\n\n日本\n"_s},
      {"TextModeKeepsOldText", CStock::kTextMode, "x\n", {"y"}, "x\ny\n"},
      {"NoLines", CStock::kTextMode, "x", {}, "x"},
      {"OneEmptyLine", CStock::kTextMode, "", {""}, "\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    CStock text;
    if (c.mode == CStock::kTextMode) FillText(text, c.before);
    ASSERT_TRUE(AppendLinesToText(text, c.lines));
    EXPECT_EQ(text.mode(), c.mode);
    EXPECT_EQ(TextOf(text), c.after);
    if (c.mode == CStock::kTextMode) {
      EXPECT_EQ(text.size(), (c.after.size() + 1) * 2);
      EXPECT_EQ(QByteArray(text.data() + text.size() - 2, 2), QByteArray(2, '\0'));
    }
  }
}

TEST(AppendLinesToTextTest, ManyLinesKeepTheStepCapacity) {
  QStringList lines;
  for (int i = 0; i < 1000; ++i) lines.append(QString::number(i));
  CStock text;
  ASSERT_TRUE(AppendLinesToText(text, lines));
  // 10 + 90 * 2 + 900 * 3 digits, one line feed each, two bytes a unit.
  EXPECT_EQ(text.size(), (10 + 180 + 2700 + 1000) * 2);
  EXPECT_EQ(text.capacity(), 7808);  // 64 + 64 * 121, the smallest step that holds 7780
  QStringList back;
  SplitTextLines(back, text);
  EXPECT_EQ(back, lines);
}

// ---- Splitting a text into lines ----

struct SplitCase {
  friend void PrintTo(const SplitCase& c, std::ostream* os) { *os << c.name; }
  const char* name;
  QString text;
  QStringList lines;
};

class SplitTextLinesTest : public testing::TestWithParam<SplitCase> {};

TEST_P(SplitTextLinesTest, CutsAtLineFeedsAndTrimsControlsAndSpaces) {
  const SplitCase& c = GetParam();
  CStock text;
  FillText(text, c.text);
  QStringList lines{"kept"};
  SplitTextLines(lines, text);
  EXPECT_EQ(lines, QStringList{"kept"} + c.lines);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SplitTextLinesTest,
    testing::Values(SplitCase{"Empty", "", {}}, SplitCase{"OneLine", "a", {"a"}},
                    SplitCase{"FinalLineFeedAddsNoLine", "a\nb\n", {"a", "b"}},
                    SplitCase{"LineFeedOnly", "\n", {""}},
                    SplitCase{"EmptyLinesKept", "a\n\n\nb", {"a", "", "", "b"}},
                    SplitCase{"TrimsBothEnds", u"  a b  \n\t\x01x\x1F\r\n\r"_s, {"a b", "x", ""}},
                    SplitCase{"StrayCrFromCrLfFile", "a\r\nb\r", {"a", "b"}},
                    SplitCase{"WhitespaceOnlyLastLine", "a\n   ", {"a", ""}},
                    // Only codes up to 32 are trimmed: an ideographic space stays.
                    SplitCase{
                        "IdeographicSpaceKept", u"\u3000曲\u3000\n"_s, {u"\u3000曲\u3000"_s}}),
    text_test::ByName());

// ---- Files ----

class TextLinesFileTest : public testing::Test {
 protected:
  TempDir dir_;
};

TEST_F(TextLinesFileTest, SaveWritesUtf16LEWithCrLfAfterEveryLine) {
  const QString path = dir_.file("list.qlf");
  ASSERT_TRUE(SaveTextLines({"A", "B"}, path));
  EXPECT_EQ(dir_.read("list.qlf"), B("A\0\r\0\n\0B\0\r\0\n\0"));
  ASSERT_TRUE(SaveTextLines({u"上"_s, ""}, path));
  EXPECT_EQ(dir_.read("list.qlf"), B("\x0A\x4E\r\0\n\0\r\0\n\0"));
  ASSERT_TRUE(SaveTextLines({}, path));
  EXPECT_TRUE(QFile::exists(path));
  EXPECT_EQ(dir_.read("list.qlf"), QByteArray());
}

TEST_F(TextLinesFileTest, SavedLinesLoadBackTrimmed) {
  const struct {
    const char* name;
    QStringList saved;
    QStringList loaded;
  } cases[] = {
      {"SpacesEmptyLineAndLastLine", {"  a  ", "", "b"}, {"a", "", "b"}},
      {"JapaneseAndPair",
       {u"/music/日本/01.mp3"_s, u"/music/上を向いて/\U0001F3B5.mp3"_s, "Volume=80"},
       {u"/music/日本/01.mp3"_s, u"/music/上を向いて/\U0001F3B5.mp3"_s, "Volume=80"}},
      // 上 is 0A 4E: its LF byte comes before the first line end, which detection alone reads
      // as an LF file of undecided encoding.
      {"FirstLineWithLfByte",
       {u"FileList0=/music/上を向いて.m3u"_s, u"FileList1=/m/b.m3u"_s},
       {u"FileList0=/music/上を向いて.m3u"_s, u"FileList1=/m/b.m3u"_s}},
      {"OnlyEmptyLines", {"", ""}, {"", ""}},
      {"Nothing", {}, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const QString path = dir_.file(QString::fromLatin1(c.name) + ".ini");
    ASSERT_TRUE(SaveTextLines(c.saved, path));
    QStringList lines;
    LoadTextLines(lines, path);
    EXPECT_EQ(lines, c.loaded);
  }
}

TEST_F(TextLinesFileTest, LoadDetectsTheEncodingOfFilesFromElsewhere) {
  const struct {
    const char* name;
    QByteArray bytes;
    QStringList lines;
  } cases[] = {
      {"ShiftJisCrLf", B("\x93\xFA\x96\x7B\r\n\x8F\xE3"), {u"日本"_s, u"上"_s}},
      {"AsciiWithoutMarkIsShiftJis", B("#EXTM3U\r\nC:\\a.mp3"), {"#EXTM3U", "C:\\a.mp3"}},
      {"Utf8WithMarkLf",
       B("\xEF\xBB\xBF"
         "a\n\xE3\x82\xA2\n"),
       {"a", u"ア"_s}},
      {"Utf8NCr", B("\xE3\x82\xA2\r b \r"), {u"ア"_s, "b"}},
      {"Utf16BEWithMark", B("\xFE\xFF\0x\0\r\0\n\0y"), {"x", "y"}},
      {"Utf16LEWithoutMarkLastLineWithoutEnd", B("a\0\r\0\n\0l\0a\0s\0t\0"), {"a", "last"}},
      // A lone LF further down a CR LF file still breaks the line when splitting.
      {"MixedLineEnds", B("a\r\nb\nc\r\n"), {"a", "b", "c"}},
      {"Empty", QByteArray(), {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const QString path = dir_.write(QString::fromLatin1(c.name), c.bytes);
    QStringList lines;
    LoadTextLines(lines, path);
    EXPECT_EQ(lines, c.lines);
  }
}

TEST_F(TextLinesFileTest, LoadAppendsAndAnUnreadableFileAddsNothing) {
  QStringList lines{"first"};
  LoadTextLines(lines, dir_.write("two", B("x\r\ny\r\n")));
  EXPECT_EQ(lines, (QStringList{"first", "x", "y"}));
  LoadTextLines(lines, dir_.file("missing.qlf"));
  LoadTextLines(lines, dir_.path());
  EXPECT_EQ(lines, (QStringList{"first", "x", "y"}));
}

// Lowers the largest file size the process may write, so that writing more fails (EFBIG)
// even for root; the signal that would otherwise end the process is ignored meanwhile.
class ScopedFileSizeLimit {
 public:
  explicit ScopedFileSizeLimit(rlim_t bytes) {
    previousHandler_ = std::signal(SIGXFSZ, SIG_IGN);
    getrlimit(RLIMIT_FSIZE, &saved_);
    rlimit lowered = saved_;
    lowered.rlim_cur = bytes;
    ok_ = setrlimit(RLIMIT_FSIZE, &lowered) == 0;
  }
  ~ScopedFileSizeLimit() {
    setrlimit(RLIMIT_FSIZE, &saved_);
    std::signal(SIGXFSZ, previousHandler_);
  }
  bool ok() const { return ok_; }

 private:
  rlimit saved_{};
  void (*previousHandler_)(int) = nullptr;
  bool ok_ = false;
};

TEST_F(TextLinesFileTest, FailedSaveReturnsFalseAndKeepsTheOldFile) {
  const QByteArray old = B("o\0l\0d\0\r\0\n\0");
  const QString path = dir_.write("settings.ini", old);
  QStringList big;
  for (int i = 0; i < 500; ++i) big.append(u"/music/アルバム/track.mp3"_s);

  bool saved = true;
  {
    ScopedFileSizeLimit limit(64);
    if (!limit.ok()) GTEST_SKIP() << "cannot lower the file-size limit";
    saved = SaveTextLines(big, path);
  }
  EXPECT_FALSE(saved);
  EXPECT_EQ(dir_.read("settings.ini"), old);
  EXPECT_EQ(QDir(dir_.path()).entryList(QDir::Files), QStringList{"settings.ini"});

  QStringList lines;
  LoadTextLines(lines, path);
  EXPECT_EQ(lines, QStringList{"old"});
}

TEST_F(TextLinesFileTest, SaveToAPathThatCannotBeAFileFails) {
  dir_.write("folder/inside.txt", "x");
  EXPECT_FALSE(SaveTextLines({"a"}, dir_.file("folder")));
  EXPECT_EQ(dir_.read("folder/inside.txt"), QByteArray("x"));
  EXPECT_FALSE(SaveTextLines({"a"}, dir_.file("missing/folder/list.qlf")));
  EXPECT_FALSE(QFile::exists(dir_.file("missing")));
}

}  // namespace
