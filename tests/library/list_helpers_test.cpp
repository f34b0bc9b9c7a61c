#include "library/list_helpers.h"

#include <gtest/gtest.h>

#include <cctype>
#include <ostream>
#include <string>

#include "library/mask_list.h"
#include "platform/random.h"
#include "qt_print.h"

namespace {

// A test-name piece from any text: ASCII letters and digits kept, everything else "_".
std::string NamePart(const char* text) {
  std::string name;
  for (const char* c = text; *c; ++c)
    name += (std::isalnum(static_cast<unsigned char>(*c)) && static_cast<unsigned char>(*c) < 0x80)
                ? *c
                : '_';
  return name;
}

QStringList Letters(const char* letters) {
  QStringList list;
  for (const char* c = letters; *c; ++c) list.append(QString(QLatin1Char(*c)));
  return list;
}

// ---- PathTail ----

struct PathTailCase {
  const char* path;
  int level;
  const char* shown;
};
void PrintTo(const PathTailCase& c, std::ostream* os) {
  *os << '"' << c.path << "\" level " << c.level;
}

class PathTailTest : public testing::TestWithParam<PathTailCase> {};

TEST_P(PathTailTest, ShowsTheLastLevelPlusOneComponents) {
  const PathTailCase& c = GetParam();
  EXPECT_EQ(PathTail(QString::fromUtf8(c.path), c.level), QString::fromUtf8(c.shown));
}

INSTANTIATE_TEST_SUITE_P(
    Levels, PathTailTest,
    testing::Values(PathTailCase{"/Music/Artist/Album.m3u", 0, "Album.m3u"},
                    PathTailCase{"/Music/Artist/Album.m3u", 1, "Artist/Album.m3u"},
                    PathTailCase{"/Music/Artist/Album.m3u", 2, "Music/Artist/Album.m3u"},
                    PathTailCase{"/Music/Artist/Album.m3u", 3, "/Music/Artist/Album.m3u"},
                    PathTailCase{"/Music/Artist/Album.m3u", 9, "/Music/Artist/Album.m3u"},
                    PathTailCase{"/Music/Artist/Album.m3u", 2147483647, "/Music/Artist/Album.m3u"},
                    PathTailCase{"/Music/Artist/Album.m3u", -1, "/Music/Artist/Album.m3u"},
                    PathTailCase{"/Music/Artist/Album.m3u", -3, "/Music/Artist/Album.m3u"},
                    PathTailCase{"/", 0, ""}, PathTailCase{"/a.m3u", 0, "a.m3u"},
                    PathTailCase{"/Music/", 0, ""},
                    PathTailCase{"C:\\Music\\Album.m3u", 0, "C:\\Music\\Album.m3u"},
                    PathTailCase{"/曲/アルバム.m3u", 0, "アルバム.m3u"}, PathTailCase{"", 0, ""}),
    [](const testing::TestParamInfo<PathTailCase>& p) {
      return std::to_string(p.index) + "_" + NamePart(p.param.path) + "_level" +
             (p.param.level < 0 ? "Minus" + std::to_string(-p.param.level)
                                : std::to_string(p.param.level));
    });

TEST(PathFileName, IsTheLastComponent) {
  EXPECT_EQ(PathFileName("/Music/Artist/01 Song.mp3"), "01 Song.mp3");
  EXPECT_EQ(PathFileName("Song.mp3"), "Song.mp3");
  EXPECT_EQ(PathFileName("/Music/"), "");
}

// ---- Masks ----

struct MaskCase {
  const char* name;
  const char* masks;
  bool matches;
};
void PrintTo(const MaskCase& c, std::ostream* os) {
  *os << '"' << c.name << "\" against \"" << c.masks << '"';
}

class MaskListTest : public testing::TestWithParam<MaskCase> {};

TEST_P(MaskListTest, MatchesOneOfTheMasks) {
  const MaskCase& c = GetParam();
  EXPECT_EQ(MatchesMaskList(QString::fromUtf8(c.name), QString::fromUtf8(c.masks)), c.matches);
}

constexpr const char* kMedia = "*.mp3;*.mp4;*.m4a;*.flac;*.wma;*.wav;";

INSTANTIATE_TEST_SUITE_P(
    Lists, MaskListTest,
    testing::Values(MaskCase{".mp3", kMedia, true}, MaskCase{".MP3", kMedia, true},
                    MaskCase{".ogg", kMedia, false},
                    MaskCase{"/Music/曲/01 タイトル.FLAC", kMedia, true},
                    MaskCase{"/Music/a.mp3/cover.jpg", kMedia, false},  // whole name must match
                    MaskCase{"a.mp3", "", false},
                    MaskCase{"a.wav", "*.mp3;*.wav", true},      // no final ";"
                    MaskCase{"a.mp3", " \t*.mp3;", true},        // leading blanks
                    MaskCase{"a.wav", "*.mp3; \t*.wav;", true},  // blanks after ";"
                    MaskCase{"a.mp3", "*.mp3 ;", false},         // a blank inside a mask counts
                    MaskCase{"", ";;", false},                   // empty masks match nothing
                    MaskCase{"a.wav", ";*.wav", true},           // ... and do not end the list
                    MaskCase{"a.mp3", ";", false}, MaskCase{"x", "   ", false}),
    [](const testing::TestParamInfo<MaskCase>& p) {
      return std::to_string(p.index) + "_" + NamePart(p.param.name);
    });

TEST(MatchesMask, WildcardsAndSets) {
  struct Case {
    const char* name;
    const char* mask;
    bool matches;
  } cases[] = {
      {"abc", "a?c", true},
      {"ac", "a?c", false},
      {"/a/b/c.m3u", "*/c.*", true},
      {"abc", "*", true},
      {"", "*", true},
      {"", "?", false},
      {"aXb", "a*b", true},
      {"ab", "a*b", true},
      {"abab", "*ab", true},
      {"abcabd", "*abd", true},
      {"abcabe", "*abd", false},
      {"b1.mp3", "[a-c]?.mp3", true},
      {"B1.mp3", "[a-c]?.mp3", true},
      {"d1.mp3", "[a-c]?.mp3", false},
      {"d", "[!a-c]", true},
      {"a", "[!a-c]", false},
      {"x", "[xyz]", true},
      {"[a", "[a", true},
      {"a", "", false},
      {"", "", false},
      {"ÄB.mp3", "äb.MP3", true},
  };
  for (const Case& c : cases)
    EXPECT_EQ(MatchesMask(QString::fromUtf8(c.name), QString::fromUtf8(c.mask)), c.matches)
        << c.name << " against " << c.mask;
}

// ---- Shuffle ----

class WithRandom : public testing::Test {
 protected:
  void Use(std::vector<int> values) {
    random_ = platform::FakeRandom(std::move(values));
    platform::SetRandom(&random_);
  }
  ~WithRandom() override { platform::SetRandom(nullptr); }
  platform::FakeRandom random_;
};

TEST_F(WithRandom, ShuffleDrawsFromTheRemainingEntries) {
  // Draws 2 of [a b c d], then 0 of [a b d], then 1 of [b d], then the last one.
  Use({2, 0, 1, 0});
  QStringList list = Letters("abcd");
  EXPECT_TRUE(ShuffleList(list));
  EXPECT_EQ(list, Letters("cadb"));

  QStringList empty;
  EXPECT_FALSE(ShuffleList(empty));
}

TEST_F(WithRandom, ShuffleOfALongListIsAPermutation) {
  platform::SetRandom(nullptr);
  const ListOrder order = ShuffleOrder(1000);
  QList<int> sorted = order;
  std::sort(sorted.begin(), sorted.end());
  for (int i = 0; i < 1000; ++i) ASSERT_EQ(sorted[i], i);
  EXPECT_NE(order, sorted);
}

TEST(ListOrder, IndexFollowsItsEntry) {
  const ListOrder order{2, 0, 1};  // c a b
  QStringList list = Letters("abc");
  ApplyOrder(list, order);
  EXPECT_EQ(list, Letters("cab"));
  EXPECT_EQ(IndexAfterOrder(order, 0), 1);
  EXPECT_EQ(IndexAfterOrder(order, 2), 0);
  EXPECT_EQ(IndexAfterOrder(order, -1), -1);
  EXPECT_EQ(IndexAfterOrder(order, 3), -1);
}

// ---- Sort ----

TEST(SortOrder, SortsEverythingOrOnlyTheSelectedRows) {
  const QStringList list{"/m/j", "/m/I", "/m/h", "/m/G", "/m/f",
                         "/m/E", "/m/d", "/m/C", "/m/b", "/m/A"};
  struct Case {
    QList<int> selected;
    QStringList sorted;
  } cases[] = {
      {{}, {"/m/A", "/m/b", "/m/C", "/m/d", "/m/E", "/m/f", "/m/G", "/m/h", "/m/I", "/m/j"}},
      {{4}, {"/m/A", "/m/b", "/m/C", "/m/d", "/m/E", "/m/f", "/m/G", "/m/h", "/m/I", "/m/j"}},
      // Three of ten: only those permute among rows 1, 5 and 8.
      {{1, 5, 8}, {"/m/j", "/m/b", "/m/h", "/m/G", "/m/f", "/m/E", "/m/d", "/m/C", "/m/I", "/m/A"}},
  };
  for (const Case& c : cases) {
    QStringList sorted = list;
    ApplyOrder(sorted, SortOrder(list, c.selected));
    EXPECT_EQ(sorted, c.sorted) << c.selected.size() << " selected";
  }
}

TEST(SortOrder, IgnoresCaseAndKeepsEqualNamesInOrder) {
  const QStringList list{"/m/b.m3u", "/m/A.m3u", "/m/a.m3u", "/m/B.m3u"};
  QStringList sorted = list;
  ApplyOrder(sorted, SortOrder(list, {}));
  EXPECT_EQ(sorted, (QStringList{"/m/A.m3u", "/m/a.m3u", "/m/b.m3u", "/m/B.m3u"}));
}

// ---- Move ----

struct MoveCase {
  const char* name;
  QList<int> selected;
  int delta;
  const char* order;  // the entries, one letter each, after the move
  QList<int> selectedAfter;
};
void PrintTo(const MoveCase& c, std::ostream* os) { *os << c.name; }

class MoveTest : public testing::TestWithParam<MoveCase> {};

TEST_P(MoveTest, SelectedEntriesMoveByOneAndRunsAtTheEdgeStay) {
  const MoveCase& c = GetParam();
  QStringList list = Letters("abcdefghij");
  QList<int> selected = c.selected;
  const QList<RowSwap> swaps = MoveSelectedEntries(list, selected, c.delta);
  EXPECT_EQ(list, Letters(c.order));
  EXPECT_EQ(selected, c.selectedAfter);
  // Repeating the swaps on a copy gives the same order: what the list box does with its rows.
  QStringList rows = Letters("abcdefghij");
  for (const RowSwap& s : swaps) rows.swapItemsAt(s.from, s.to);
  EXPECT_EQ(rows, list);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, MoveTest,
    testing::Values(MoveCase{"Up_0_1_3", {0, 1, 3}, -1, "abdcefghij", {0, 1, 2}},
                    MoveCase{"Down_9_8_6", {6, 8, 9}, 1, "abcdefhgij", {7, 8, 9}},
                    MoveCase{"Up_block_2_3", {2, 3}, -1, "acdbefghij", {1, 2}},
                    MoveCase{"Down_block_2_3", {2, 3}, 1, "abecdfghij", {3, 4}},
                    MoveCase{"Up_0_and_2", {0, 2}, -1, "acbdefghij", {0, 1}},
                    MoveCase{"Up_nothing_selected", {}, -1, "abcdefghij", {}},
                    MoveCase{"Down_last", {9}, 1, "abcdefghij", {9}}),
    [](const testing::TestParamInfo<MoveCase>& p) { return std::string(p.param.name); });

TEST(IndexAfterSwaps, FollowsTheEntryThroughEverySwap) {
  const QList<RowSwap> swaps{{2, 1}, {3, 2}};  // the block 2-3 moved up
  EXPECT_EQ(IndexAfterSwaps(1, swaps), 3);     // the displaced entry
  EXPECT_EQ(IndexAfterSwaps(2, swaps), 1);
  EXPECT_EQ(IndexAfterSwaps(3, swaps), 2);
  EXPECT_EQ(IndexAfterSwaps(7, swaps), 7);
  EXPECT_EQ(IndexAfterSwaps(-1, swaps), -1);
}

// ---- Remove ----

TEST(RemoveEntries, IndexMovesBackForRowsAtOrBeforeIt) {
  struct Case {
    QList<int> rows;
    int index;
    const char* left;
    int indexAfter;
  } cases[] = {
      {{2}, 2, "abdefghij", 1},    // the current entry: the one before it is current
      {{0}, 0, "bcdefghij", -1},   // the first: none before it
      {{5, 6}, 3, "abcdehij", 3},  // rows after it leave it alone
      {{1, 3, 4}, 4, "acfghij", 1}, {{0, 1}, -1, "cdefghij", -1},
      {{9}, 12, "abcdefghi", 11},  // an index past the end stays past the end
  };
  for (const Case& c : cases) {
    QStringList list = Letters("abcdefghij");
    int index = c.index;
    RemoveEntries(list, c.rows, index);
    EXPECT_EQ(list, Letters(c.left)) << c.left;
    EXPECT_EQ(index, c.indexAfter) << c.left;
  }
}

}  // namespace
