#include <gtest/gtest.h>

#include <set>

#include "platform/clock.h"
#include "platform/codepage.h"
#include "platform/keystate.h"
#include "platform/paths.h"
#include "platform/random.h"

namespace {

TEST(Codepage932, JapaneseRoundTrip) {
  const QString text = QString::fromUtf8("曲/アルバム 01 ～ソ表.mp3");
  const QByteArray bytes = platform::Utf16ToCp932(text);
  // ソ (83 5C) and 表 (95 5C) carry the ASCII backslash as trail byte.
  EXPECT_TRUE(bytes.contains(QByteArray("\x83\x5C", 2)));
  EXPECT_TRUE(bytes.contains(QByteArray("\x95\x5C", 2)));
  EXPECT_EQ(platform::Cp932ToUtf16(bytes), text);
}

TEST(Codepage932, WhatCannotBeConvertedBecomesQuestionMark) {
  struct Case {
    const char* utf8;
    const char* cp932;
  } encodeCases[] = {
      {"a\xC3\xA9"
       "b",
       "a?b"},                      // é is not in the code page
      {"\xF0\x9F\x8E\xB5x", "?x"},  // a surrogate pair gives one "?"
  };
  for (const auto& c : encodeCases)
    EXPECT_EQ(platform::Utf16ToCp932(QString::fromUtf8(c.utf8)), QByteArray(c.cp932)) << c.cp932;

  const char16_t lone[] = {u'a', 0xD800, u'b', 0xDC00};
  QByteArray out;
  platform::AppendUtf16AsCp932(lone, 4, out);
  EXPECT_EQ(out, "a?b?");

  struct DecodeCase {
    QByteArray bytes;
    QString text;
  } decodeCases[] = {
      {QByteArray("ab\x82", 3), QStringLiteral("ab?")},     // lead byte at the end
      {QByteArray("\x82\x20z", 3), QStringLiteral("? z")},  // lead byte, bad trail
      {QByteArray("\x82\xA0\x82\xA2", 4), QString::fromUtf8("あい")},
      {QByteArray("\xB1", 1), QString::fromUtf8("ｱ")},  // half-width katakana
  };
  for (const auto& c : decodeCases) EXPECT_EQ(platform::Cp932ToUtf16(c.bytes), c.text);
}

TEST(Codepage932, AppendsToWhatIsThere) {
  QByteArray bytes("x");
  platform::AppendUtf16AsCp932(u"あ", 1, bytes);
  EXPECT_EQ(bytes, QByteArray("x\x82\xA0"));
  QString text = QStringLiteral("y");
  platform::AppendCp932AsUtf16("\x82\xA0", 2, text);
  EXPECT_EQ(text, QString::fromUtf8("yあ"));
}

TEST(Paths, SamePathIsExactOnLinux) {
  EXPECT_TRUE(platform::SamePath("/m/A.m3u", "/m/A.m3u"));
  EXPECT_FALSE(platform::SamePath("/m/A.m3u", "/m/a.m3u"));
  EXPECT_EQ(platform::SamePathKey("/m/A.m3u"), platform::SamePathKey("/m/A.m3u"));
  EXPECT_NE(platform::SamePathKey("/m/A.m3u"), platform::SamePathKey("/m/a.m3u"));
}

TEST(Paths, AppDataFollowsXdgDataHome) {
  const QByteArray saved = qgetenv("XDG_DATA_HOME");
  qputenv("XDG_DATA_HOME", "/tmp/quomm3u-xdg-test/");
  EXPECT_EQ(platform::LocalAppDataFolder(), "/tmp/quomm3u-xdg-test");
  qputenv("XDG_DATA_HOME", saved);
}

TEST(Doubles, KeyStateClockAndRandomCanBeReplaced) {
  platform::FakeKeyState keys;
  platform::SetKeyState(&keys);
  keys.Set(platform::Key::LeftControl, true);
  keys.Set(platform::Key::RightShift, true);
  EXPECT_TRUE(platform::KeyState().ControlDown());
  EXPECT_TRUE(platform::KeyState().ShiftDown());
  EXPECT_FALSE(platform::KeyState().ControlShiftSameSide());  // left Control with right Shift
  keys.Set(platform::Key::LeftShift, true);
  EXPECT_TRUE(platform::KeyState().ControlShiftSameSide());
  platform::SetKeyState(nullptr);

  platform::FakeClock clock(QDateTime(QDate(2026, 12, 13), QTime(7, 30)));  // a Sunday
  platform::SetClock(&clock);
  EXPECT_EQ(platform::Clock().WeekDay(), 0);
  clock.AddSecs(24 * 3600);
  EXPECT_EQ(platform::Clock().WeekDay(), 1);
  platform::SetClock(nullptr);

  platform::FakeRandom scripted({5, -1, 2});
  platform::SetRandom(&scripted);
  EXPECT_EQ(platform::Random().Below(3), 2);
  EXPECT_EQ(platform::Random().Below(3), 2);
  EXPECT_EQ(platform::Random().Below(3), 2);
  EXPECT_EQ(platform::Random().Below(0), 0);
  platform::SetRandom(nullptr);
}

TEST(Random, StaysInRangeAndCoversIt) {
  platform::SeedRandomFromClock();
  std::set<int> seen;
  for (int i = 0; i < 1000; ++i) {
    const int v = platform::Random().Below(5);
    ASSERT_GE(v, 0);
    ASSERT_LT(v, 5);
    seen.insert(v);
  }
  EXPECT_EQ(seen.size(), 5u);
  EXPECT_EQ(platform::Random().Below(1), 0);
}

}  // namespace
