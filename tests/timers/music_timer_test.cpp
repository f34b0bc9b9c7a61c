#include "timers/music_timer.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "library/qt_print.h"

namespace {

void PrintTimer(const CMusicTimer& t, std::ostream* os) {
  *os << FormatTimerRecord(t).toStdString();
}

}  // namespace

// Found by the printer for failures of EXPECT_EQ on records (global, for argument-dependent
// look-up; static, so that other test files may print records their own way).
static void PrintTo(const CMusicTimer& t, std::ostream* os) { PrintTimer(t, os); }

namespace {

// Record text from a readable form: "→" stands for a tab.
QString Record(const char* text) {
  return QString::fromUtf8(text).replace(QStringLiteral("→"), QStringLiteral("\t"));
}

CMusicTimer Wake() {
  CMusicTimer t;
  t.SettingName = QStringLiteral("Wake");
  t.FileName = QStringLiteral("/Music/Morning");
  t.Time = 450;
  t.Day = kTimerMonday | kTimerTuesday | kTimerWednesday | kTimerThursday | kTimerFriday;
  return t;
}

TEST(FormatTimerRecord, WritesFourteenPairsInOrder) {
  EXPECT_EQ(FormatTimerRecord(Wake()),
            Record("SettingName=Wake→OnlyStop=False→SelectFromGroup=False→Times=0→"
                   "FileName=/Music/Morning→Time=450→Day=62→ExecuteNow=False→"
                   "PlayFileRandom=False→PlayMusicRandom=False→RandomFile=False→"
                   "RandomMusic=False→PlayTiming=0→Enabled=True"));
}

TEST(CMusicTimer, DefaultConstructionDiffersFromTheReaderDefaults) {
  const CMusicTimer constructed;
  EXPECT_EQ(constructed.Day, 0);
  EXPECT_TRUE(constructed.Enabled);
  CMusicTimer read = Wake();
  EXPECT_TRUE(ParseTimerRecord(read, QString()));
  CMusicTimer expected;
  expected.Day = 255;
  expected.Enabled = false;
  EXPECT_EQ(read, expected);
}

// ---- Round trips ----

struct RoundTripCase {
  const char* name;
  CMusicTimer timer;
};
void PrintTo(const RoundTripCase& c, std::ostream* os) { PrintTimer(c.timer, os); }

CMusicTimer Full() {
  CMusicTimer t;
  t.SettingName = QStringLiteral("朝のアラーム");
  t.FileName = QStringLiteral("/home/me/Music/Live 2020/set.m3u");
  t.OnlyStop = true;
  t.SelectFromGroup = true;
  t.Times = 7;
  t.Time = 1439;
  t.Day = kTimerSunday | kTimerSaturday;
  t.ExecuteNow = true;
  t.PlayFileRandom = true;
  t.PlayMusicRandom = true;
  t.RandomFile = true;
  t.RandomMusic = true;
  t.PlayTiming = 3;
  t.Enabled = false;
  return t;
}

CMusicTimer Named(const char* name, const char* file = "/a.m3u") {
  CMusicTimer t = Wake();
  t.SettingName = QString::fromUtf8(name);
  t.FileName = QString::fromUtf8(file);
  return t;
}

CMusicTimer WithTimes(std::int32_t times) {
  CMusicTimer t = Wake();
  t.Times = times;
  return t;
}

class RoundTripTest : public testing::TestWithParam<RoundTripCase> {};

TEST_P(RoundTripTest, ReadsBackEqual) {
  const CMusicTimer& written = GetParam().timer;
  CMusicTimer read;
  ParseTimerRecord(read, FormatTimerRecord(written));
  EXPECT_EQ(read, written);
}

INSTANTIATE_TEST_SUITE_P(
    Records, RoundTripTest,
    testing::Values(RoundTripCase{"Wake", Wake()}, RoundTripCase{"EveryFieldSet", Full()},
                    RoundTripCase{"NegativeTimes", WithTimes(-3)},
                    // Key texts inside a name or path are not taken for keys.
                    RoundTripCase{"NameHoldsDayKey", Named("Day=3 alarm")},
                    RoundTripCase{"NameHoldsTimeKey", Named("Time=5", "/x/Times=9/PlayTiming=2")},
                    RoundTripCase{"NameIsAKey", Named("Enabled=False")},
                    RoundTripCase{"EqualsSigns", Named("a=b==c", "/m/=/x=y.m3u")}),
    [](const testing::TestParamInfo<RoundTripCase>& p) { return std::string(p.param.name); });

TEST(FormatTimerRecord, WritesControlCharactersInNameAndPathAsSpaces) {
  const CMusicTimer t = Named("Wake\tup\nnow", "/Music/A\tB\r.m3u");
  const QString text = FormatTimerRecord(t);
  EXPECT_EQ(text.count(QLatin1Char('\t')), 13);
  EXPECT_FALSE(text.contains(QLatin1Char('\n')) || text.contains(QLatin1Char('\r')));
  CMusicTimer read;
  ParseTimerRecord(read, text);
  EXPECT_EQ(read.SettingName, "Wake up now");
  // The trailing space left by the CR is trimmed like any blank at the end of a value.
  EXPECT_EQ(read.FileName, "/Music/A B .m3u");
  EXPECT_EQ(read.Time, 450);
}

// ---- Reading single fields ----

struct IntFieldCase {
  const char* name;
  const char* text;
  std::int32_t CMusicTimer::*field;
  std::int32_t expected;
};
void PrintTo(const IntFieldCase& c, std::ostream* os) { *os << c.text; }

class IntFieldTest : public testing::TestWithParam<IntFieldCase> {};

TEST_P(IntFieldTest, ReadsClampedOrDefaulted) {
  const IntFieldCase& c = GetParam();
  CMusicTimer t;
  ParseTimerRecord(t, Record(c.text));
  EXPECT_EQ(t.*c.field, c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Fields, IntFieldTest,
    testing::Values(
        IntFieldCase{"TimeAboveRange", "Time=1500", &CMusicTimer::Time, 1439},
        IntFieldCase{"TimeBelowRange", "Time=-5", &CMusicTimer::Time, 0},
        IntFieldCase{"TimeOverlong", "Time=99999999999", &CMusicTimer::Time, 1439},
        IntFieldCase{"TimeAsClock", "Time=12:30", &CMusicTimer::Time, 12},  // the digits before ":"
        IntFieldCase{"TimeAsShortClock", "Time= 7:05 ", &CMusicTimer::Time, 7},
        IntFieldCase{"TimeBadMinutesReadsHours", "Time=12:75", &CMusicTimer::Time, 12},
        IntFieldCase{"TimeMissing", "Day=3", &CMusicTimer::Time, 0},
        IntFieldCase{"DayZeroIsSunday", "Day=0", &CMusicTimer::Day, 1},
        IntFieldCase{"DayAboveRange", "Day=300", &CMusicTimer::Day, 255},
        IntFieldCase{"DayMissingIsEveryDay", "Time=3", &CMusicTimer::Day, 255},
        IntFieldCase{"DayEmptyIsEveryDay", "Day=→Time=3", &CMusicTimer::Day, 255},
        IntFieldCase{"PlayTimingAboveRange", "PlayTiming=9", &CMusicTimer::PlayTiming, 3},
        IntFieldCase{"TimesNegative", "Times=-3", &CMusicTimer::Times, -3},
        IntFieldCase{"TimesEmpty", "Times=→Time=5", &CMusicTimer::Times, 0},
        IntFieldCase{"TimesLetters", "Times=abc", &CMusicTimer::Times, 0},
        IntFieldCase{"TimesUnclamped", "Times=100000", &CMusicTimer::Times, 100000},
        // "Time=" is not found inside "Times=" or "PlayTiming=".
        IntFieldCase{"TimeNotInTimes", "Times=9→PlayTiming=2", &CMusicTimer::Time, 0},
        IntFieldCase{"KeyInsideAValueIsNoKey", "SettingName=Day=3 alarm→Day=62", &CMusicTimer::Day,
                     62},
        IntFieldCase{"KeyOnlyInsideAValueIsAbsent", "SettingName=Day=3 alarm", &CMusicTimer::Day,
                     255},
        IntFieldCase{"FirstPairNeedNotBeTheName", "Day=5→SettingName=x", &CMusicTimer::Day, 5}),
    [](const testing::TestParamInfo<IntFieldCase>& p) { return std::string(p.param.name); });

struct BoolFieldCase {
  const char* name;
  const char* text;
  bool CMusicTimer::*field;
  bool expected;
};
void PrintTo(const BoolFieldCase& c, std::ostream* os) { *os << c.text; }

class BoolFieldTest : public testing::TestWithParam<BoolFieldCase> {};

TEST_P(BoolFieldTest, ReadsTrueFromItsFirstFourLetters) {
  const BoolFieldCase& c = GetParam();
  CMusicTimer t;
  ParseTimerRecord(t, Record(c.text));
  EXPECT_EQ(t.*c.field, c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Fields, BoolFieldTest,
    testing::Values(BoolFieldCase{"EnabledUpper", "Enabled=TRUE", &CMusicTimer::Enabled, true},
                    BoolFieldCase{"EnabledLower", "Enabled=true", &CMusicTimer::Enabled, true},
                    BoolFieldCase{"EnabledLonger", "Enabled=TRUEST", &CMusicTimer::Enabled, true},
                    BoolFieldCase{"EnabledOneLetter", "Enabled=T", &CMusicTimer::Enabled, false},
                    BoolFieldCase{"EnabledMissing", "OnlyStop=True", &CMusicTimer::Enabled, false},
                    BoolFieldCase{"OnlyStopTrue", "OnlyStop=True", &CMusicTimer::OnlyStop, true},
                    BoolFieldCase{"OnlyStopZeros", "OnlyStop=0000", &CMusicTimer::OnlyStop, false},
                    BoolFieldCase{"OnlyStopShortIsDefault", "OnlyStop=Yes", &CMusicTimer::OnlyStop,
                                  false},
                    BoolFieldCase{"RandomMusicNotRandomFile", "RandomFile=True→RandomMusic=False",
                                  &CMusicTimer::RandomMusic, false}),
    [](const testing::TestParamInfo<BoolFieldCase>& p) { return std::string(p.param.name); });

TEST(ParseTimerRecord, TrimsBlanksAroundValues) {
  CMusicTimer t;
  ParseTimerRecord(t, Record("SettingName= Wake →FileName=  /Music/A B.m3u  →Time= 30"));
  EXPECT_EQ(t.SettingName, "Wake");
  EXPECT_EQ(t.FileName, "/Music/A B.m3u");
  EXPECT_EQ(t.Time, 30);
}

// ---- GetRecordValue and the typed readers ----

TEST(GetRecordValue, FindsKeysOnlyWherePairsBegin) {
  const QString text = Record("SettingName=xTimes=5 Day=1→Times= 2 →Time=9");
  EXPECT_EQ(GetRecordValue(text, QStringLiteral("SettingName")), "xTimes=5 Day=1");
  EXPECT_EQ(GetRecordValue(text, QStringLiteral("Times")), "2");
  EXPECT_EQ(GetRecordValue(text, QStringLiteral("Time")), "9");
  EXPECT_EQ(GetRecordValue(text, QStringLiteral("Day")), "");
  EXPECT_EQ(GetRecordValue(text, QStringLiteral("settingname")), "");
  EXPECT_EQ(GetRecordString(text, QStringLiteral("Day"), QStringLiteral("none")), "none");
  EXPECT_EQ(GetRecordInt(text, QStringLiteral("Day"), 255, 1, 255), 255);
  EXPECT_EQ(GetRecordInt(text, QStringLiteral("Times"), 0, 3, 3), 2);
  EXPECT_TRUE(GetRecordBool(text, QStringLiteral("Day"), true));
}

}  // namespace
