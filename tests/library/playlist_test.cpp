#include "library/playlist.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <atomic>
#include <chrono>
#include <climits>
#include <random>
#include <thread>

#include "platform/codepage.h"
#include "qt_print.h"
#include "settings/settings.h"
#include "support/temp_dir.h"
#include "text/stock.h"
#include "text/text_lines.h"

namespace {

using testing_support::TempDir;

// A GoogleTest name from a case's description.
template <typename Case>
std::string CaseName(const testing::TestParamInfo<Case>& info) {
  std::string name;
  for (const char* c = info.param.name; *c; ++c)
    name += (std::isalnum(static_cast<unsigned char>(*c)) != 0) ? *c : '_';
  return name;
}

QString U(const char* utf8) { return QString::fromUtf8(utf8); }

// The bytes of `lines` in an encoding, as the program's own encoder writes them.
QByteArray Encoded(const QStringList& lines, TextEncoding encoding, LineEnding lineEnding) {
  CStock text(CStock::kTextMode);
  AppendLinesToText(text, lines);
  CStock bytes;
  EncodeText(bytes, text, encoding, lineEnding);
  return QByteArray(bytes.data(), bytes.size());
}

// ---- ParentPath ----

struct ParentCase {
  const char* name;
  const char* path;
  int levels;
  const char* parent;
};
void PrintTo(const ParentCase& c, std::ostream* os) {
  *os << '"' << c.path << "\" levels " << c.levels;
}

class ParentPathTest : public testing::TestWithParam<ParentCase> {};

TEST_P(ParentPathTest, DropsTheLastComponentsDownToTheRoot) {
  const ParentCase& c = GetParam();
  EXPECT_EQ(ParentPath(U(c.path), c.levels), U(c.parent));
}

INSTANTIATE_TEST_SUITE_P(
    Levels, ParentPathTest,
    testing::Values(ParentCase{"one level is the folder", "/A/B/C.mp3", 1, "/A/B"},
                    ParentCase{"two levels", "/A/B/C.mp3", 2, "/A"},
                    ParentCase{"three levels reach the root", "/A/B/C.mp3", 3, "/"},
                    ParentCase{"more levels stay at the root", "/A/B/C.mp3", 9, "/"},
                    ParentCase{"the largest level", "/A/B/C.mp3", INT_MAX, "/"},
                    ParentCase{"level 0 keeps the path", "/A/B/C.mp3", 0, "/A/B/C.mp3"},
                    ParentCase{"a negative level keeps the path", "/A/B/C.mp3", -1, "/A/B/C.mp3"},
                    ParentCase{"one trailing slash is ignored", "/A/B/", 1, "/A"},
                    ParentCase{"the root stays the root", "/", 1, "/"},
                    ParentCase{"the empty text stays empty", "", 1, ""},
                    ParentCase{"a backslash belongs to the name", "/A/B\\C.mp3", 1, "/A"}),
    CaseName<ParentCase>);

// ---- ResolveRelativePath ----

struct ResolveCase {
  const char* name;
  const char* base;
  const char* relative;
  const char* resolved;
};
void PrintTo(const ResolveCase& c, std::ostream* os) {
  *os << '"' << c.base << "\" + \"" << c.relative << '"';
}

class ResolveRelativePathTest : public testing::TestWithParam<ResolveCase> {};

TEST_P(ResolveRelativePathTest, ResolvesLeadingNavigationAgainstTheBase) {
  const ResolveCase& c = GetParam();
  EXPECT_EQ(ResolveRelativePath(U(c.base), U(c.relative)), U(c.resolved));
}

INSTANTIATE_TEST_SUITE_P(
    Lines, ResolveRelativePathTest,
    testing::Values(
        ResolveCase{"a name in the folder", "/M", "a.mp3", "/M/a.mp3"},
        ResolveCase{"Windows parent", "/M", "..\\a.mp3", "/a.mp3"},
        ResolveCase{"parent", "/M", "../a.mp3", "/a.mp3"},
        ResolveCase{"one character", "/M", "a", "/M/a"},
        ResolveCase{"Windows subfolder", "/M", "Album\\01.mp3", "/M/Album/01.mp3"},
        ResolveCase{"absolute", "/M", "/x.mp3", "/x.mp3"},
        ResolveCase{"leading backslash is absolute too", "/M", "\\x.mp3", "/x.mp3"},
        ResolveCase{"Windows share", "/M", "\\\\server\\share\\x.mp3", "//server/share/x.mp3"},
        ResolveCase{"a drive letter is part of a name", "/M", "D:\\x.mp3", "/M/D:/x.mp3"},
        ResolveCase{"a leading dot is navigation", "/M", ".x.mp3", "/M/x.mp3"},
        ResolveCase{"dot slash", "/M", "./#1.mp3", "/M/#1.mp3"},
        ResolveCase{"dots inside are copied", "/M", "a/../b.mp3", "/M/a/../b.mp3"},
        ResolveCase{"base with a trailing slash", "/M/", "a.mp3", "/M/a.mp3"},
        ResolveCase{"above the root stays at the root", "/M", "..\\..\\..\\x.mp3", "/x.mp3"},
        ResolveCase{"three dots go up two folders", "/A/B/C", "...\\x.mp3", "/A/x.mp3"},
        ResolveCase{"two dots alone", "/A/B/C", "..", "/A/B"},
        ResolveCase{"one dot alone", "/A/B/C", ".", "/A/B/C"}, ResolveCase{"empty", "/M", "", ""}),
    CaseName<ResolveCase>);

// ---- Reading ----

// A playlist in a temporary folder and the files it may name. In the texts, $DIR stands for
// the folder's absolute path.
struct ReadCase {
  const char* name;
  const char* playlist;  // its name inside the folder
  const char* content;   // UTF-8
  std::vector<const char*> files;
  std::vector<const char*> tracks;  // expected, relative to the folder
};
void PrintTo(const ReadCase& c, std::ostream* os) { *os << c.name; }

class ReadPlaylistTest : public testing::TestWithParam<ReadCase> {};

TEST_P(ReadPlaylistTest, ListsTheExistingFilesInOrder) {
  const ReadCase& c = GetParam();
  TempDir dir;
  for (const char* f : c.files) dir.write(U(f), "x");
  QDir().mkpath(dir.file(QStringLiteral("folder.mp3")));  // a folder is no track
  const QString path =
      dir.write(U(c.playlist), U(c.content).replace(QLatin1String("$DIR"), dir.path()).toUtf8());
  QStringList expected;
  for (const char* t : c.tracks) expected << dir.file(U(t));

  QStringList tracks;
  EXPECT_EQ(ReadPlaylist(path, tracks, Settings()), !expected.isEmpty());
  EXPECT_EQ(tracks, expected);
}

INSTANTIATE_TEST_SUITE_P(
    M3u, ReadPlaylistTest,
    testing::Values(
        ReadCase{"extended M3U gives only the tracks",
                 "list.m3u",
                 "#EXTM3U\r\n#EXTINF:215,Artist - One\r\n01.mp3\r\n\r\nabcd\r\n"
                 "#EXTINF:180,Artist - Two\r\n02.mp3\r\n",
                 {"01.mp3", "02.mp3", "abcd"},
                 {"01.mp3", "02.mp3"}},
        ReadCase{"order and repeats are kept",
                 "list.m3u",
                 "b.mp3\na.mp3\nb.mp3",
                 {"a.mp3", "b.mp3"},
                 {"b.mp3", "a.mp3", "b.mp3"}},
        ReadCase{
            "blanks around a line are trimmed", "list.m3u", " \ta.mp3  \r\n", {"a.mp3"}, {"a.mp3"}},
        ReadCase{"missing files, folders, URLs and drive letters are dropped",
                 "list.m3u",
                 "gone.mp3\nfolder.mp3\nhttp://example.com/a.mp3\nC:\\Music\\a.mp3\na.mp3\n",
                 {"a.mp3"},
                 {"a.mp3"}},
        ReadCase{"Windows-made relative lines",
                 "Music/list.m3u",
                 "Album\\01.mp3\r\n..\\Other\\02.mp3\r\n",
                 {"Music/Album/01.mp3", "Other/02.mp3"},
                 {"Music/Album/01.mp3", "Other/02.mp3"}},
        ReadCase{"dot components are resolved",
                 "Music/list.m3u",
                 "./Album/./01.mp3\nAlbum/../Album//01.mp3\n",
                 {"Music/Album/01.mp3"},
                 {"Music/Album/01.mp3", "Music/Album/01.mp3"}},
        ReadCase{"absolute lines", "list.m3u", "$DIR/a.mp3\n", {"a.mp3"}, {"a.mp3"}},
        ReadCase{"dot-dot above the root stays at the root",
                 "list.m3u",
                 "/../../..$DIR/a.mp3\n",
                 {"a.mp3"},
                 {"a.mp3"}},
        ReadCase{"list.PLS is read as M3U",
                 "list.PLS",
                 "[playlist]\nFile1=a.mp3\nNumberOfEntries=1\n",
                 {"a.mp3"},
                 {}}),
    CaseName<ReadCase>);

INSTANTIATE_TEST_SUITE_P(
    Pls, ReadPlaylistTest,
    testing::Values(
        ReadCase{"standard PLS",
                 "list.pls",
                 "[playlist]\r\nFile1=a.mp3\r\nTitle1=A\r\nLength1=215\r\nFile2=b.mp3\r\n"
                 "Title2=B\r\nNumberOfEntries=2\r\nVersion=2\r\n",
                 {"a.mp3", "b.mp3"},
                 {"a.mp3", "b.mp3"}},
        ReadCase{"keys in any case, values keep theirs",
                 "list.pls",
                 "[Playlist]\nFILE1=A.mp3\nfile2=b.mp3\n",
                 {"A.mp3", "b.mp3"},
                 {"A.mp3", "b.mp3"}},
        ReadCase{"an entry out of order is dropped",
                 "list.pls",
                 "File2=b.mp3\nFile1=a.mp3\n",
                 {"a.mp3", "b.mp3"},
                 {"a.mp3"}},
        ReadCase{"File10 counts as File1 when File1 is expected",
                 "list.pls",
                 "File10=c.mp3\nFile2=b.mp3\nFile3=a.mp3\n",
                 {"a.mp3", "b.mp3", "c.mp3"},
                 {"c.mp3", "b.mp3", "a.mp3"}},
        ReadCase{"a one-character value is dropped and keeps the number",
                 "list.pls",
                 "File1=x\nFile1=a.mp3\nFile2=b.mp3\n",
                 {"x", "a.mp3", "b.mp3"},
                 {"a.mp3", "b.mp3"}},
        ReadCase{"blanks around the value", "list.pls", "File1 =  a.mp3 \n", {"a.mp3"}, {"a.mp3"}},
        ReadCase{"Windows-made relative values",
                 "Music/list.pls",
                 "File1=..\\Other\\02.mp3\n",
                 {"Other/02.mp3"},
                 {"Other/02.mp3"}},
        ReadCase{"no entries", "list.pls", "[playlist]\nNumberOfEntries=0\n", {}, {}}),
    CaseName<ReadCase>);

TEST(ReadPlaylist, AppendsToTheTracksAlreadyThere) {
  TempDir dir;
  const QString a = dir.write(QStringLiteral("a.mp3"), "x");
  const QString path = dir.write(QStringLiteral("list.m3u"), "a.mp3\n");
  QStringList tracks{"/earlier.mp3"};
  EXPECT_TRUE(ReadPlaylist(path, tracks, Settings()));
  EXPECT_EQ(tracks, (QStringList{"/earlier.mp3", a}));
}

TEST(ReadPlaylist, WhatIsNoReadableFileGivesNothing) {
  TempDir dir;
  QDir().mkpath(dir.file(QStringLiteral("folder.m3u")));
  for (const QString& path :
       {dir.file(QStringLiteral("missing.m3u")), dir.file(QStringLiteral("folder.m3u")),
        dir.write(QStringLiteral("empty.m3u"), QByteArray())}) {
    QStringList tracks{"/earlier.mp3"};
    EXPECT_FALSE(ReadPlaylist(path, tracks, Settings())) << path.toStdString();
    EXPECT_EQ(tracks, QStringList{"/earlier.mp3"}) << path.toStdString();
  }
}

TEST(ReadPlaylist, DoesNotWaitForAFifo) {
  TempDir dir;
  dir.write(QStringLiteral("a.mp3"), "x");
  const QByteArray fifo = QFile::encodeName(dir.file(QStringLiteral("fifo.m3u")));
  ASSERT_EQ(mkfifo(fifo.constData(), 0600), 0);
  // A reader that opens the FIFO waits there for a writer. One comes after two seconds, so that
  // such a reader fails the test instead of blocking it.
  std::atomic<bool> done{false};
  std::atomic<bool> rescued{false};
  std::thread watchdog([&] {
    for (int i = 0; i < 200 && !done; ++i)
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    while (!done) {
      const int fd = open(fifo.constData(), O_WRONLY | O_NONBLOCK);  // only once a reader waits
      if (fd >= 0) {
        rescued = true;
        (void)!write(fd, "a.mp3\r\n", 7);
        close(fd);
        return;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
  });
  QStringList tracks;
  EXPECT_FALSE(ReadPlaylist(QFile::decodeName(fifo), tracks, Settings()));
  done = true;
  watchdog.join();
  EXPECT_FALSE(rescued);
  EXPECT_TRUE(tracks.isEmpty());
}

// ---- Encodings ----

struct EncodingCase {
  const char* name;
  QByteArray bytes;
  const char* fallbackEncoding;  // m3uCharacterSet
  QStringList found;             // the lines read back, none when the text was misread
};
void PrintTo(const EncodingCase& c, std::ostream* os) { *os << c.name; }

// Japanese names, one in half-width katakana (bytes A1 to DF in Shift-JIS, which the pattern
// test does not accept, so such a file is read with the fallback encoding).
const QStringList kJapaneseLines = {U("曲\\ロビンソン.mp3"), U("ｻﾏｰ.mp3")};
const QStringList kPlainJapaneseLines = {U("曲\\ロビンソン.mp3"), U("夏.mp3")};

QByteArray Cp932(const QStringList& lines) {
  return platform::Utf16ToCp932(lines.join(QLatin1String("\r\n")) + QLatin1String("\r\n"));
}

class PlaylistEncodingTest : public testing::TestWithParam<EncodingCase> {};

TEST_P(PlaylistEncodingTest, DetectsOrFallsBackOnTheSettingsPair) {
  const EncodingCase& c = GetParam();
  TempDir dir;
  for (const QString& name : {U("曲/ロビンソン.mp3"), U("ｻﾏｰ.mp3"), U("夏.mp3")})
    dir.write(name, "x");
  QStringList expected;
  for (QString line : c.found) expected << dir.file(line.replace(u'\\', u'/'));
  const QString path = dir.write(QStringLiteral("list.m3u"), c.bytes);
  Settings settings;
  settings.m3uCharacterSet = U(c.fallbackEncoding);

  QStringList tracks;
  EXPECT_EQ(ReadPlaylist(path, tracks, settings), !expected.isEmpty());
  EXPECT_EQ(tracks, expected);
}

INSTANTIATE_TEST_SUITE_P(
    Encodings, PlaylistEncodingTest,
    testing::Values(
        EncodingCase{"UTF-8 with mark",
                     Encoded(kJapaneseLines, TextEncoding::kUtf8WithBom, LineEnding::kCrLf),
                     "Shift-JIS", kJapaneseLines},
        EncodingCase{"UTF-8 without mark is detected",
                     Encoded(kJapaneseLines, TextEncoding::kUtf8N, LineEnding::kLf), "Shift-JIS",
                     kJapaneseLines},
        EncodingCase{"Shift-JIS is detected", Cp932(kPlainJapaneseLines), "UTF-8N",
                     kPlainJapaneseLines},
        EncodingCase{"Shift-JIS with half-width katakana by the fallback", Cp932(kJapaneseLines),
                     "Shift-JIS", kJapaneseLines},
        EncodingCase{"Shift-JIS with half-width katakana and another fallback",
                     Cp932(kJapaneseLines),
                     "UTF-8N",
                     {}},
        EncodingCase{"UTF-16LE without mark is found by its CR LF",
                     Encoded(kJapaneseLines, TextEncoding::kUtf16LE, LineEnding::kCrLf),
                     "Shift-JIS", kJapaneseLines},
        EncodingCase{"UTF-16 big-endian with mark",
                     Encoded(kJapaneseLines, TextEncoding::kUtf16BEWithBom, LineEnding::kCr),
                     "Shift-JIS", kJapaneseLines},
        EncodingCase{"UTF-16LE with LF alone needs the fallback",
                     Encoded(kJapaneseLines, TextEncoding::kUtf16LE, LineEnding::kLf), "UTF-16LE",
                     kJapaneseLines},
        EncodingCase{"UTF-16LE with LF alone and another fallback",
                     Encoded(kJapaneseLines, TextEncoding::kUtf16LE, LineEnding::kLf),
                     "Shift-JIS",
                     {}}),
    CaseName<EncodingCase>);

TEST(PlaylistReader, ReadsTheFallbackFromTheSettingsAtEveryCall) {
  TempDir dir;
  dir.write(U("曲/ロビンソン.mp3"), "x");
  dir.write(U("ｻﾏｰ.mp3"), "x");
  const QString path = dir.write(QStringLiteral("list.m3u"), Cp932(kJapaneseLines));
  Settings settings;
  settings.m3uCharacterSet = QStringLiteral("UTF-8N");
  CPlaylistReader reader(settings);
  IPlaylistReader& hook = reader;
  EXPECT_TRUE(hook.ReadPlaylist(path).isEmpty());
  settings.m3uCharacterSet = QStringLiteral("Shift-JIS");
  EXPECT_EQ(hook.ReadPlaylist(path),
            (QStringList{dir.file(U("曲/ロビンソン.mp3")), dir.file(U("ｻﾏｰ.mp3"))}));
}

// ---- Bad input ----

struct GarbageCase {
  const char* name;
  const char* playlist;
  QByteArray bytes;  // $DIR stands for the folder
  bool findsTrack;   // whether the one real line, a.mp3, is found
};
void PrintTo(const GarbageCase& c, std::ostream* os) { *os << c.name; }

// Seeded random bytes; with `plain` they hold no zero, CR or LF, so they form one long line.
QByteArray RandomBytes(qsizetype size, bool plain) {
  std::mt19937 random(20240601);
  QByteArray bytes(size, Qt::Uninitialized);
  for (char& b : bytes) {
    unsigned char c = static_cast<unsigned char>(random());
    if (plain && (c == 0 || c == '\r' || c == '\n')) c = 'x';
    b = static_cast<char>(c);
  }
  return bytes;
}

// Lines of 10,000 characters that look like paths.
QByteArray LongLines(int count) {
  QByteArray line;
  for (int i = 0; line.size() < 10000; ++i) line += (i % 9 == 8) ? '/' : char('a' + i % 26);
  QByteArray bytes;
  for (int i = 0; i < count; ++i) bytes += line + "\r\n";
  return bytes;
}

class GarbagePlaylistTest : public testing::TestWithParam<GarbageCase> {};

TEST_P(GarbagePlaylistTest, GivesWhatTheRulesGive) {
  const GarbageCase& c = GetParam();
  TempDir dir;
  const QString a = dir.write(QStringLiteral("a.mp3"), "x");
  QByteArray bytes = c.bytes;
  bytes.replace("$DIR", QFile::encodeName(dir.path()));
  const QString path = dir.write(U(c.playlist), bytes);
  QStringList tracks;
  EXPECT_EQ(ReadPlaylist(path, tracks, Settings()), c.findsTrack);
  EXPECT_EQ(tracks, c.findsTrack ? QStringList{a} : QStringList{});
}

INSTANTIATE_TEST_SUITE_P(
    BadInput, GarbagePlaylistTest,
    testing::Values(
        GarbageCase{"random bytes", "list.m3u", RandomBytes(1 << 20, false), false},
        GarbageCase{"random bytes as PLS", "list.pls", RandomBytes(1 << 20, false), false},
        GarbageCase{"a real line between random bytes", "list.m3u",
                    RandomBytes(300000, true) + "\r\na.mp3\r\n" + RandomBytes(300000, true), true},
        GarbageCase{"lines of ten thousand characters", "list.m3u",
                    LongLines(200) + "a.mp3\r\n" + LongLines(200), true},
        GarbageCase{"a long climb to the root and down again", "list.m3u",
                    QByteArray("../").repeated(5000) + "$DIR/a.mp3\r\n", true},
        GarbageCase{"a zero byte ends its line", "list.m3u",
                    QByteArray("a.mp3\0 and more\r\n", 17) + "\0\0\0\0\0\0\r\n", true},
        GarbageCase{"one huge line", "list.m3u", QByteArray(3 << 20, 'a'), false}),
    CaseName<GarbageCase>);

// ---- Lines written ----

struct LineCase {
  const char* name;
  const char* folder;
  const char* track;
  const char* line;
};
void PrintTo(const LineCase& c, std::ostream* os) {
  *os << '"' << c.track << "\" in \"" << c.folder << '"';
}

class RelativeLineTest : public testing::TestWithParam<LineCase> {};

TEST_P(RelativeLineTest, NamesTheTrackFromThePlaylistFolder) {
  const LineCase& c = GetParam();
  const QString line = RelativePlaylistLine(U(c.folder), U(c.track));
  EXPECT_EQ(line, U(c.line));
  // Whatever the line, reading it back names the track again.
  if (U(c.track).startsWith(u'/')) {
    EXPECT_EQ(PlaylistLinePath(U(c.folder), line), QDir::cleanPath(U(c.track)));
    EXPECT_EQ(QDir::cleanPath(ResolveRelativePath(U(c.folder), line)), QDir::cleanPath(U(c.track)));
  }
}

INSTANTIATE_TEST_SUITE_P(
    Lines, RelativeLineTest,
    testing::Values(
        LineCase{"in a subfolder", "/M", "/M/Album/01.mp3", "Album/01.mp3"},
        LineCase{"in the folder", "/M", "/M/a.mp3", "a.mp3"},
        LineCase{"in a sibling folder", "/M/Sub", "/M/Other/a.mp3", "../Other/a.mp3"},
        LineCase{"two folders up", "/M/N", "/a.mp3", "../../a.mp3"},
        LineCase{"playlist in the root", "/", "/a/b.mp3", "a/b.mp3"},
        LineCase{"components compare with case", "/M", "/m/a.mp3", "../m/a.mp3"},
        LineCase{"a common prefix is no common folder", "/Music", "/Music2/a.mp3",
                 "../Music2/a.mp3"},
        LineCase{"an unclean track path", "/M", "/M//Album/./01.mp3", "Album/01.mp3"},
        LineCase{"Japanese names", "/音楽", "/音楽/夏/01.mp3", "夏/01.mp3"},
        LineCase{"a relative track is written as it is", "/M", "rel/a.mp3", "rel/a.mp3"},
        LineCase{"a name that would read as a comment", "/M", "/M/#1 Intro.mp3", "./#1 Intro.mp3"},
        LineCase{"a name too short to be read", "/M", "/M/a.m", "./a.m"},
        LineCase{"a name that would be trimmed", "/M", "/M/ Intro.mp3", "./ Intro.mp3"}),
    CaseName<LineCase>);

}  // namespace
