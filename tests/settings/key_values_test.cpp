#include "settings/key_values.h"

#include <gtest/gtest.h>

#include <QLocale>
#include <cctype>
#include <cmath>
#include <limits>
#include <ostream>
#include <string>

#include "library/qt_print.h"

namespace {

// Lines written in a case as one text, "\n" between lines.
QStringList Lines(const char* text) { return QString::fromUtf8(text).split(QLatin1Char('\n')); }

// A test-name piece: ASCII letters and digits kept, the rest "_".
std::string NamePart(const std::string& text) {
  std::string name;
  for (unsigned char c : text) name += (c < 0x80 && std::isalnum(c)) ? static_cast<char>(c) : '_';
  return name;
}

// ---- GetKeyInt ----

struct IntCase {
  const char* name;
  const char* lines;
  const char* key;
  std::int32_t def, min, max;
  std::int32_t expected;
};
void PrintTo(const IntCase& c, std::ostream* os) {
  *os << c.key << " in \"" << c.lines << "\" default " << c.def << " [" << c.min << ", " << c.max
      << "]";
}

class GetKeyIntTest : public testing::TestWithParam<IntCase> {};

TEST_P(GetKeyIntTest, ReadsDigitsThenAppliesTheRange) {
  const IntCase& c = GetParam();
  EXPECT_EQ(GetKeyInt(Lines(c.lines), QString::fromUtf8(c.key), c.def, c.min, c.max), c.expected);
  EXPECT_EQ(CKeyValueLines(Lines(c.lines)).GetKeyInt(QString::fromUtf8(c.key), c.def, c.min, c.max),
            c.expected);
}

constexpr std::int32_t kMax32 = std::numeric_limits<std::int32_t>::max();
constexpr std::int32_t kMin32 = std::numeric_limits<std::int32_t>::min();

INSTANTIATE_TEST_SUITE_P(
    Values, GetKeyIntTest,
    testing::Values(
        IntCase{"SpacesAroundEquals", "Volume = 70", "Volume", 5000, 0, 0, 70},
        IntCase{"TabsAroundEquals", "Volume\t=\t70", "Volume", 5000, 0, 0, 70},
        IntCase{"LongerKeyIsNotTheKey", "VolumeX=5", "Volume", 5000, 0, 0, 5000},
        IntCase{"TextAfterDigits", "Volume=70%", "Volume", 5000, 0, 0, 70},
        IntCase{"DigitsUpToASpace", "Volume=7 0", "Volume", 5000, 0, 0, 7},
        IntCase{"NoDigitsIsZero", "Volume=loud", "Volume", 5000, 0, 0, 0},
        IntCase{"SignAloneIsZero", "Volume=-", "Volume", 5000, 0, 0, 0},
        IntCase{"SecondEqualsIsNoDigit", "Volume==5", "Volume", 5000, 0, 0, 0},
        IntCase{"EmptyIsDefault", "Volume=", "Volume", 5000, 0, 0, 5000},
        IntCase{"MissingIsDefaultUnclamped", "Other=1", "RepeatMode", 7, 0, 3, 7},
        IntCase{"AboveMaxIsMax", "RepeatMode=7", "RepeatMode", 0, 0, 3, 3},
        IntCase{"BelowMinIsMin", "ExportFolderLevel=-2", "ExportFolderLevel", 1, 0, 100, 0},
        IntCase{"ClampedTo100", "ExportFolderLevel=250", "ExportFolderLevel", 1, 0, 100, 100},
        IntCase{"EqualBoundsDoNotClamp", "Volume=-3", "Volume", 5000, 0, 0, -3},
        IntCase{"EqualNonZeroBoundsDoNotClamp", "Volume=9", "Volume", 0, 5, 5, 9},
        IntCase{"FirstMatchWins", "Volume=1\nVolume=2", "Volume", 0, 0, 0, 1},
        IntCase{"PrefixKeySkipsLongerKey", "SearchFileDepthAll=True\nSearchFileDepth=4",
                "SearchFileDepth", 0, 0, 0, 4},
        IntCase{"HistoryKeySkipsLongerIndex", "Search10=x\nSearch1=5", "Search1", 0, 0, 0, 5},
        IntCase{"CaseMatters", "volume=70", "Volume", 5000, 0, 0, 5000},
        IntCase{"OverlongSaturates", "Volume=99999999999", "Volume", 0, 0, 0, kMax32},
        IntCase{"OverlongNegativeSaturates", "Volume=-99999999999", "Volume", 0, 0, 0, kMin32},
        IntCase{"Min32Kept", "Volume=-2147483648", "Volume", 0, 0, 0, kMin32}),
    [](const testing::TestParamInfo<IntCase>& p) { return std::string(p.param.name); });

// ---- GetKeyBool ----

struct BoolCase {
  const char* value;
  bool def;
  bool expected;
};
void PrintTo(const BoolCase& c, std::ostream* os) {
  *os << "\"" << c.value << "\" default " << c.def;
}

class GetKeyBoolTest : public testing::TestWithParam<BoolCase> {};

TEST_P(GetKeyBoolTest, IsTrueForTrueInItsFirstFourLetters) {
  const BoolCase& c = GetParam();
  const QStringList lines = {QStringLiteral("Other=True"),
                             QStringLiteral("EnableAddGroup=") + QString::fromUtf8(c.value)};
  EXPECT_EQ(GetKeyBool(lines, QStringLiteral("EnableAddGroup"), c.def), c.expected);
  EXPECT_EQ(CKeyValueLines(lines).GetKeyBool(QStringLiteral("EnableAddGroup"), c.def), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Values, GetKeyBoolTest,
                         testing::Values(BoolCase{"True", false, true},
                                         BoolCase{"TRUE", false, true},
                                         BoolCase{"true", false, true},
                                         BoolCase{"TRUEX", false, true},
                                         BoolCase{"False", true, false},
                                         BoolCase{"Fals", true, false}, BoolCase{"1", true, true},
                                         BoolCase{"1", false, false}, BoolCase{"Yes", false, false},
                                         BoolCase{"Yes", true, true}, BoolCase{"", true, true}),
                         [](const testing::TestParamInfo<BoolCase>& p) {
                           return std::to_string(p.index) + "_" + NamePart(p.param.value) +
                                  (p.param.def ? "_defTrue" : "_defFalse");
                         });

TEST(GetKeyBool, MissingKeyGivesTheDefault) {
  EXPECT_TRUE(GetKeyBool({QStringLiteral("A=False")}, QStringLiteral("B"), true));
  EXPECT_FALSE(GetKeyBool({QStringLiteral("A=True")}, QStringLiteral("B"), false));
}

// ---- GetKeyReal ----

struct RealCase {
  const char* value;
  double def, min, max;
  double expected;
};
void PrintTo(const RealCase& c, std::ostream* os) {
  *os << "\"" << c.value << "\" default " << c.def << " [" << c.min << ", " << c.max << "]";
}

class GetKeyRealTest : public testing::TestWithParam<RealCase> {};

TEST_P(GetKeyRealTest, ParsesWithADotAndNeverFails) {
  const RealCase& c = GetParam();
  const QStringList lines = {QStringLiteral("PlayPosition=") + QString::fromUtf8(c.value)};
  EXPECT_EQ(GetKeyReal(lines, QStringLiteral("PlayPosition"), c.def, c.min, c.max), c.expected);
  EXPECT_EQ(CKeyValueLines(lines).GetKeyReal(QStringLiteral("PlayPosition"), c.def, c.min, c.max),
            c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Values, GetKeyRealTest,
    testing::Values(RealCase{"183.046", 0, 0, 0, 183.046}, RealCase{"-3.25", 0, 0, 0, -3.25},
                    RealCase{"+2.5", 0, 0, 0, 2.5}, RealCase{".5", 0, 0, 0, 0.5},
                    RealCase{"1E20", 0, 0, 0, 1e20}, RealCase{"1e-7", 0, 0, 0, 1e-7},
                    RealCase{"12,5", 9, 0, 0, 0}, RealCase{"12.5s", 9, 0, 0, 0},
                    RealCase{"abc", 9, 0, 0, 0}, RealCase{"nan", 9, 0, 0, 0},
                    RealCase{"inf", 9, 0, 0, 0}, RealCase{"1e999", 9, 0, 0, 0},
                    RealCase{"", 9, 0, 0, 9}, RealCase{"", 9, 0, 1, 9}, RealCase{"7.5", 0, 0, 1, 1},
                    RealCase{"-7.5", 0, 0, 1, 0}),
    [](const testing::TestParamInfo<RealCase>& p) {
      return std::to_string(p.index) + "_" + NamePart(p.param.value);
    });

TEST(GetKeyReal, IgnoresTheLocale) {
  const QLocale saved;
  QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
  EXPECT_EQ(
      GetKeyReal({QStringLiteral("PlayPosition=12.5")}, QStringLiteral("PlayPosition"), 0, 0, 0),
      12.5);
  EXPECT_EQ(FormatReal(12.5), QStringLiteral("12.5"));
  QLocale::setDefault(saved);
}

// ---- FindKeyValue and GetKeyString with a running start ----

TEST(GetKeyString, RunningStartMovesPastEachMatch) {
  const QStringList lines = Lines("A=1\nB=2\nA=  3  \nA=\nA=5");
  int start = 0;
  EXPECT_EQ(GetKeyString(lines, QStringLiteral("A"), QStringLiteral("d"), start), "1");
  EXPECT_EQ(start, 1);
  EXPECT_EQ(GetKeyString(lines, QStringLiteral("A"), QStringLiteral("d"), start), "3");
  EXPECT_EQ(start, 3);
  // An empty value gives the default but still moves the start past its line.
  EXPECT_EQ(GetKeyString(lines, QStringLiteral("A"), QStringLiteral("d"), start), "d");
  EXPECT_EQ(start, 4);
  EXPECT_EQ(GetKeyString(lines, QStringLiteral("A"), QStringLiteral("d"), start), "5");
  EXPECT_EQ(start, 5);
  // No match: the default, and the start stays.
  EXPECT_EQ(GetKeyString(lines, QStringLiteral("A"), QStringLiteral("d"), start), "d");
  EXPECT_EQ(start, 5);
  start = 0;
  EXPECT_EQ(GetKeyString(lines, QStringLiteral("C"), QString(), start), "");
  EXPECT_EQ(start, 0);
}

TEST(FindKeyValue, KeepsTheValueAfterTheFirstEqualsSign) {
  int start = 0;
  EXPECT_EQ(FindKeyValue({QStringLiteral("ExportOtherExt = *.jpg=x ")},
                         QStringLiteral("ExportOtherExt"), start),
            "*.jpg=x");
  EXPECT_EQ(start, 1);
}

// The indexed readers give what the plain readers give, for every key and every start, on
// lines with the awkward cases: prefixes of keys, blanks before "=", empty keys and values,
// keys holding "=" or ending in a blank, lines without "=", repeated keys.
TEST(CKeyValueLines, AgreesWithThePlainReaders) {
  const QStringList lines = Lines(
      "Search1=one\nSearch10=ten\nSearch1 =again\nSearchX\n=empty key\n  = blank key\n"
      "a=b=c\nVolume \t= 70%\nVolume=\nVolume=-4\nFlag=TRUE\nFlag = False\nReal=1.5\n"
      "Real=x\n\nSearch1=last\nmissing equals");
  const CKeyValueLines indexed(lines);
  EXPECT_EQ(indexed.Lines(), lines);
  const char* keys[] = {"Search1", "Search10", "Search", "SearchX", "",
                        " ",       "a",        "a=b",    "a=b=",    "Volume",
                        "Volume ", "Flag",     "Real",   "Nothing", "missing equals"};
  for (const char* k : keys) {
    const QString key = QString::fromUtf8(k);
    SCOPED_TRACE(std::string("key \"") + k + "\"");
    for (int start = -1; start <= lines.size() + 1; ++start) {
      int plainStart = start;
      int indexedStart = start;
      EXPECT_EQ(indexed.FindKeyValue(key, indexedStart), FindKeyValue(lines, key, plainStart))
          << "from " << start;
      EXPECT_EQ(indexedStart, plainStart) << "from " << start;
      plainStart = indexedStart = start;
      EXPECT_EQ(indexed.GetKeyString(key, QStringLiteral("d"), indexedStart),
                GetKeyString(lines, key, QStringLiteral("d"), plainStart));
      EXPECT_EQ(indexedStart, plainStart);
    }
    EXPECT_EQ(indexed.GetKeyInt(key, 11, 0, 0), GetKeyInt(lines, key, 11, 0, 0));
    EXPECT_EQ(indexed.GetKeyInt(key, 11, -2, 2), GetKeyInt(lines, key, 11, -2, 2));
    EXPECT_EQ(indexed.GetKeyBool(key, true), GetKeyBool(lines, key, true));
    EXPECT_EQ(indexed.GetKeyReal(key, 2.5, 0, 0), GetKeyReal(lines, key, 2.5, 0, 0));
  }
  // A few of those results, spelled out.
  int start = 0;
  EXPECT_EQ(indexed.FindKeyValue(QStringLiteral("Search1"), start), "one");
  EXPECT_EQ(indexed.FindKeyValue(QStringLiteral("Search1"), start), "again");
  EXPECT_EQ(indexed.FindKeyValue(QStringLiteral("Search1"), start), "last");
  EXPECT_EQ(start, 16);
  EXPECT_EQ(indexed.GetKeyInt(QStringLiteral("Volume"), 0, 0, 0), 70);
  start = 0;
  EXPECT_EQ(indexed.FindKeyValue(QStringLiteral("a=b"), start), "c");
  start = 0;
  EXPECT_EQ(indexed.FindKeyValue(QString(), start), "empty key");
}

// ---- FormatReal ----

struct RealTextCase {
  double value;
  const char* text;
};
void PrintTo(const RealTextCase& c, std::ostream* os) { *os << c.text; }

class FormatRealTest : public testing::TestWithParam<RealTextCase> {};

TEST_P(FormatRealTest, WritesTheShortestTextUpTo15Digits) {
  const RealTextCase& c = GetParam();
  const QString text = FormatReal(c.value);
  EXPECT_EQ(text, QString::fromUtf8(c.text));
  // What is written reads back as the value rounded to 15 digits.
  const double back =
      GetKeyReal({QStringLiteral("PlayPosition=") + text}, QStringLiteral("PlayPosition"), 0, 0, 0);
  EXPECT_EQ(back, std::stod(c.text));
}

INSTANTIATE_TEST_SUITE_P(
    Values, FormatRealTest,
    testing::Values(RealTextCase{12.5, "12.5"}, RealTextCase{0.0, "0"}, RealTextCase{-0.0, "0"},
                    RealTextCase{183.046, "183.046"}, RealTextCase{0.1, "0.1"},
                    RealTextCase{-3.25, "-3.25"}, RealTextCase{100.0, "100"},
                    RealTextCase{1e-7, "1E-7"}, RealTextCase{-2.5e-6, "-2.5E-6"},
                    RealTextCase{0.00001, "0.00001"}, RealTextCase{1e20, "1E20"},
                    RealTextCase{1e15, "1E15"}, RealTextCase{123456789012345.0, "123456789012345"},
                    RealTextCase{0.123456789012345, "0.123456789012345"},
                    // Needs 17 digits to read back exactly; 15 are kept.
                    RealTextCase{0.1 + 0.2, "0.3"}, RealTextCase{1.0 / 3.0, "0.333333333333333"}),
    [](const testing::TestParamInfo<RealTextCase>& p) {
      return std::to_string(p.index) + "_" + NamePart(p.param.text);
    });

TEST(FormatReal, NonFiniteValuesAreWrittenAsZero) {
  EXPECT_EQ(FormatReal(std::numeric_limits<double>::quiet_NaN()), "0");
  EXPECT_EQ(FormatReal(std::numeric_limits<double>::infinity()), "0");
}

}  // namespace
