#include "controls/number_edit.h"

#include <gtest/gtest.h>

#include <QKeyEvent>
#include <QSignalSpy>
#include <QTest>

#include "controls/numeric_string.h"

namespace {

struct CorrectionCase {
  const char* typed;
  bool floatEnabled;
  const char* min;
  const char* max;
  const char* text;  // corrected text
  std::int64_t integer;
  float floating;
};

void PrintTo(const CorrectionCase& c, std::ostream* os) { *os << '"' << c.typed << '"'; }

class Correction : public ::testing::TestWithParam<CorrectionCase> {};

TEST_P(Correction, GivesTextAndValues) {
  const CorrectionCase& c = GetParam();
  const controls::NumericCorrection r =
      controls::CorrectNumericString(QString::fromUtf8(c.typed), true, c.floatEnabled,
                                     QString::fromUtf8(c.max), QString::fromUtf8(c.min));
  EXPECT_EQ(r.text, QString::fromUtf8(c.text)) << c.typed;
  EXPECT_EQ(r.integer, c.integer) << c.typed;
  EXPECT_FLOAT_EQ(r.floating, c.floating) << c.typed;
}

INSTANTIATE_TEST_SUITE_P(
    Table, Correction,
    ::testing::Values(
        // typed, float, min, max -> text, integer, float
        CorrectionCase{"12a3", false, "0", "1000", "123", 123, 123},
        CorrectionCase{" \t42 \r\n", false, "0", "1000", "42", 42, 42},
        CorrectionCase{"5000", false, "0", "1000", "1000", 1000, 1000},
        CorrectionCase{"-5", false, "0", "1000", "0", 0, 0},
        CorrectionCase{"-5", false, "-1000", "1000", "-5", -5, -5},
        CorrectionCase{"5-", false, "-1000", "1000", "5", 5, 5},
        CorrectionCase{"-", false, "0", "1000", "-", 0, 0},
        CorrectionCase{"", false, "0", "1000", "", 0, 0},
        CorrectionCase{"", false, "1", "1000", "", 1, 1},
        CorrectionCase{"abc", false, "-5", "-2", "", -2, -2},  // raised to -5, then lowered to -2
        CorrectionCase{"12.5", false, "0", "1000", "125", 125, 125},
        CorrectionCase{"12.5", true, "0", "1000", "12.5", 12, 12.5f},
        CorrectionCase{"1.2.3", true, "0", "1000", "1.23", 1, 1.23f},
        CorrectionCase{"-2.75", true, "-1000", "1000", "-2.75", -2, -2.75f},
        CorrectionCase{"2000.5", true, "0", "1000", "1000", 1000, 1000},
        CorrectionCase{".", true, "3", "1000", ".", 3, 3},
        CorrectionCase{"1234567890", false, "0", "1000", "1000", 1000, 1000},
        CorrectionCase{"1234567890", false, "0", "999999999999999999", "123456789", 123456789,
                       123456789.0f},
        CorrectionCase{"007", false, "0", "1000", "007", 7, 7},
        CorrectionCase{"-0", false, "-1000", "1000", "-0", 0, 0},
        CorrectionCase{"--3", false, "-1000", "1000", "-3", -3, -3},
        // Min above Max: a value not above Max ends at Min, one above Max at Max.
        CorrectionCase{"5", false, "100", "10", "100", 100, 100},
        CorrectionCase{"50", false, "100", "10", "10", 10, 10}));

TEST(NumberEdit, StartsAsDesigned) {
  TNumberEdit edit;
  EXPECT_EQ(edit.text(), "0");
  EXPECT_EQ(edit.GetNumberString(), "0");
  EXPECT_FALSE(edit.FloatEnabled());
  EXPECT_TRUE(edit.Minus());
  EXPECT_EQ(edit.Max(), "1000");
  EXPECT_EQ(edit.Min(), "-1000");
}

TEST(NumberEdit, LimitSettersCorrectTheirText) {
  TNumberEdit edit;
  edit.SetMinus(false);
  edit.SetMin(QStringLiteral("-1000"));
  EXPECT_EQ(edit.Min(), "1000");
  // Turning Minus off also strips the sign from a limit set before.
  TNumberEdit other;
  other.SetMin(QStringLiteral("-20"));
  other.SetMinus(false);
  EXPECT_EQ(other.Min(), "20");
  other.SetMax(QStringLiteral("12x34"));
  EXPECT_EQ(other.Max(), "1234");
  other.SetFloatEnabled(true);
  other.SetMax(QStringLiteral("2.5"));
  EXPECT_EQ(other.Max(), "2.5");
  other.SetFloatEnabled(false);
  EXPECT_EQ(other.Max(), "25");
}

TEST(NumberEdit, FieldIsRewrittenOnlyOnEnter) {
  TNumberEdit edit;
  edit.SetMin(QStringLiteral("0"));
  QSignalSpy changed(&edit, &TNumberEdit::Changed);
  edit.setText(QStringLiteral("5000"));
  EXPECT_EQ(changed.count(), 1);
  EXPECT_EQ(edit.text(), "5000");  // the field keeps what was typed
  EXPECT_EQ(edit.GetNumberString(), "1000");
  EXPECT_EQ(edit.GetIntegerValue(), 1000);

  QTest::keyClick(&edit, Qt::Key_Return);
  EXPECT_EQ(edit.text(), "1000");

  // Other keys edit the field as usual.
  QTest::keyClicks(&edit, QStringLiteral("7"));
  EXPECT_EQ(edit.text(), "10007");
  EXPECT_EQ(edit.GetIntegerValue(), 1000);
}

TEST(NumberEdit, EnterIsConsumed) {
  TNumberEdit edit;
  QSignalSpy returned(&edit, &QLineEdit::returnPressed);
  QKeyEvent enter(QEvent::KeyPress, Qt::Key_Enter, Qt::KeypadModifier, QStringLiteral("\r"));
  QCoreApplication::sendEvent(&edit, &enter);
  EXPECT_TRUE(enter.isAccepted());
  EXPECT_EQ(returned.count(), 0);

  char16_t key = 13;
  edit.setText(QStringLiteral("12a"));
  edit.KeyPress(key);
  EXPECT_EQ(key, 0);
  EXPECT_EQ(edit.text(), "12");
  char16_t other = u'a';
  edit.KeyPress(other);
  EXPECT_EQ(other, u'a');
}

TEST(NumberEdit, ReadersCorrectTheCurrentTextFirst) {
  TNumberEdit edit;
  edit.SetMin(QStringLiteral("1"));
  edit.SetMax(QStringLiteral("10"));
  // Setting a limit leaves the limit's own value in IntegerValue; a reading corrects the field.
  edit.setText(QStringLiteral("7"));
  edit.SetMax(QStringLiteral("100"));
  EXPECT_EQ(edit.GetIntegerValue(), 7);
  EXPECT_DOUBLE_EQ(edit.GetFloatValue(), 7.0);
  edit.setText(QString());
  EXPECT_EQ(edit.GetIntegerValue(), 1);
  EXPECT_EQ(edit.GetNumberString(), "");
}

TEST(NumberEdit, DecimalPointIgnoresTheLocale) {
  const QLocale saved;
  QLocale::setDefault(QLocale(QLocale::German));
  TNumberEdit edit;
  edit.SetFloatEnabled(true);
  edit.setText(QStringLiteral("3.25"));
  EXPECT_DOUBLE_EQ(edit.GetFloatValue(), 3.25);
  edit.setText(QStringLiteral("3,25"));
  EXPECT_EQ(edit.GetNumberString(), "325");
  edit.setText(QStringLiteral("5000.5"));
  EXPECT_EQ(edit.GetNumberString(), "1000");
  QLocale::setDefault(saved);
}

}  // namespace
