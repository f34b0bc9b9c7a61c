#include "text/encoding.h"

#include <gtest/gtest.h>

#include <QByteArray>
#include <QString>
#include <cctype>
#include <string>
#include <tuple>

#include "text/stock.h"
#include "text/text_lines.h"
#include "text_test_util.h"

namespace {

using namespace Qt::StringLiterals;
using text_test::B;
using text_test::BytesOf;
using text_test::Fill;
using text_test::FillText;
using text_test::TextOf;

using E = TextEncoding;
using L = LineEnding;

QByteArray Encode(const QString& text, E encoding, L lineEnding) {
  CStock textBuffer;
  CStock bytes;
  FillText(textBuffer, text);
  EXPECT_TRUE(EncodeText(bytes, textBuffer, encoding, lineEnding));
  EXPECT_EQ(bytes.mode(), CStock::kByteMode);
  EXPECT_EQ(textBuffer.mode(), CStock::kTextMode);
  return BytesOf(bytes);
}

struct Decoded {
  QString text;
  E encoding;
  L lineEnding;
};

Decoded Decode(const QByteArray& data, E encoding, L lineEnding) {
  CStock bytes;
  CStock text;
  Fill(bytes, data);
  EXPECT_TRUE(DecodeText(text, bytes, encoding, lineEnding));
  EXPECT_EQ(text.mode(), CStock::kTextMode);
  EXPECT_EQ(QByteArray(text.data() + text.size() - 2, 2), QByteArray(2, '\0'));
  return {TextOf(text), encoding, lineEnding};
}

std::string Describe(E encoding, L lineEnding) {
  return EncodingName(encoding).toStdString() + " / " + LineEndingName(lineEnding).toStdString();
}

// ---- Names ----

TEST(EncodingNamesTest, ListsInOptionPageOrder) {
  EXPECT_EQ(EncodingNames(), (QStringList{"Shift-JIS", "UTF-16LE", "UTF-16BE", "UTF-16(LE)",
                                          "UTF-16(BE)", "UTF-8", "UTF-8N"}));
  EXPECT_EQ(LineEndingNames(), (QStringList{"CR + LF", "CR", "LF"}));
  for (int i = 0; i < kTextEncodingCount; ++i)
    EXPECT_EQ(EncodingName(static_cast<E>(i)), EncodingNames().at(i));
  for (int i = 0; i < kLineEndingCount; ++i)
    EXPECT_EQ(LineEndingName(static_cast<L>(i)), LineEndingNames().at(i));
  EXPECT_EQ(EncodingName(static_cast<E>(7)), QString());
  EXPECT_EQ(LineEndingName(static_cast<L>(-1)), QString());
}

TEST(EncodingNamesTest, FromNameIsExactWithShiftJisAndCrLfAsDefault) {
  const struct {
    const char* name;
    E encoding;
  } encodings[] = {{"Shift-JIS", E::kShiftJis},
                   {"UTF-16LE", E::kUtf16LE},
                   {"UTF-16BE", E::kUtf16BE},
                   {"UTF-16(LE)", E::kUtf16LEWithBom},
                   {"UTF-16(BE)", E::kUtf16BEWithBom},
                   {"UTF-8", E::kUtf8WithBom},
                   {"UTF-8N", E::kUtf8N},
                   {"utf-8", E::kShiftJis},
                   {"UTF-8 ", E::kShiftJis},
                   {"", E::kShiftJis},
                   {"EUC-JP", E::kShiftJis}};
  for (const auto& c : encodings) EXPECT_EQ(EncodingFromName(c.name), c.encoding) << c.name;

  const struct {
    const char* name;
    L lineEnding;
  } lineEnds[] = {{"CR + LF", L::kCrLf}, {"CR", L::kCr}, {"LF", L::kLf},
                  {"lf", L::kCrLf},      {"", L::kCrLf}, {"CRLF", L::kCrLf}};
  for (const auto& c : lineEnds) EXPECT_EQ(LineEndingFromName(c.name), c.lineEnding) << c.name;
}

// ---- Encoding ----

struct EncodeCase {
  friend void PrintTo(const EncodeCase& c, std::ostream* os) {
    *os << Describe(c.encoding, c.lineEnding) << ' ';
    ::PrintTo(c.text, os);
  }
  QString text;
  E encoding;
  L lineEnding;
  QByteArray bytes;
};

class EncodeTextTest : public testing::TestWithParam<EncodeCase> {};

TEST_P(EncodeTextTest, WritesMarkLinesAndLineEnds) {
  const EncodeCase& c = GetParam();
  EXPECT_EQ(Encode(c.text, c.encoding, c.lineEnding), c.bytes)
      << Describe(c.encoding, c.lineEnding);
}

INSTANTIATE_TEST_SUITE_P(
    LinesAB, EncodeTextTest,
    testing::Values(EncodeCase{"A\nB\n", E::kShiftJis, L::kCrLf, B("A\r\nB\r\n")},
                    EncodeCase{"A\nB\n", E::kUtf8N, L::kCrLf, B("A\r\nB\r\n")},
                    EncodeCase{"A\nB\n", E::kUtf8WithBom, L::kCrLf,
                               B("\xEF\xBB\xBF"
                                 "A\r\nB\r\n")},
                    EncodeCase{"A\nB\n", E::kUtf16LE, L::kCrLf, B("A\0\r\0\n\0B\0\r\0\n\0")},
                    EncodeCase{"A\nB\n", E::kUtf16LEWithBom, L::kCrLf,
                               B("\xFF\xFE"
                                 "A\0\r\0\n\0B\0\r\0\n\0")},
                    EncodeCase{"A\nB\n", E::kUtf16BE, L::kCrLf, B("\0A\0\r\0\n\0B\0\r\0\n")},
                    EncodeCase{"A\nB\n", E::kUtf16BEWithBom, L::kCrLf,
                               B("\xFE\xFF"
                                 "\0A\0\r\0\n\0B\0\r\0\n")},
                    EncodeCase{"A\nB\n", E::kUtf16BE, L::kLf, B("\0A\0\n\0B\0\n")},
                    EncodeCase{"A\nB\n", E::kUtf16LE, L::kCr, B("A\0\r\0B\0\r\0")},
                    EncodeCase{"A\nB\n", E::kUtf8N, L::kLf, B("A\nB\n")},
                    EncodeCase{"A\nB\n", E::kShiftJis, L::kCr, B("A\rB\r")}));

INSTANTIATE_TEST_SUITE_P(
    Edges, EncodeTextTest,
    testing::Values(
        // A last line without U+000A gets no line end; empty lines get one each.
        EncodeCase{"A\n\nB", E::kUtf8N, L::kCrLf, B("A\r\n\r\nB")},
        EncodeCase{"A\n\nB", E::kUtf16BE, L::kCr, B("\0A\0\r\0\r\0B")},
        // An empty text gives the mark alone, or nothing.
        EncodeCase{"", E::kUtf8WithBom, L::kCrLf, B("\xEF\xBB\xBF")},
        EncodeCase{"", E::kUtf16BEWithBom, L::kLf, B("\xFE\xFF")},
        EncodeCase{"", E::kShiftJis, L::kCrLf, QByteArray()},
        EncodeCase{"", E::kUtf16LE, L::kCrLf, QByteArray()},
        // Japanese in code page 932 and in UTF-8.
        EncodeCase{u"日本\n上ア"_s, E::kShiftJis, L::kCrLf,
                   B("\x93\xFA\x96\x7B\r\n\x8F\xE3\x83\x41")},
        EncodeCase{u"ｱ"_s, E::kShiftJis, L::kLf, B("\xB1")},
        EncodeCase{u"上ア"_s, E::kUtf8N, L::kLf, B("\xE4\xB8\x8A\xE3\x82\xA2")},
        EncodeCase{u"上\n"_s, E::kUtf16BE, L::kLf, B("\x4E\x0A\0\n")},
        // A surrogate pair: one four-byte sequence in UTF-8, two units in UTF-16, and "?" in
        // code page 932, which has no such character; so is a character it lacks.
        EncodeCase{u"\U0001F3B5"_s, E::kUtf8N, L::kCrLf, B("\xF0\x9F\x8E\xB5")},
        EncodeCase{u"\U0001F3B5"_s, E::kUtf16LE, L::kCrLf, B("\x3C\xD8\xB5\xDF")},
        EncodeCase{u"\U0001F3B5"_s, E::kUtf16BE, L::kCrLf, B("\xD8\x3C\xDF\xB5")},
        EncodeCase{u"a\U0001F3B5b\u00E9"_s, E::kShiftJis, L::kCrLf, B("a?b?")},
        // Unpaired surrogates: kept as units in UTF-16, U+FFFD in UTF-8, "?" in code page 932.
        EncodeCase{QString(QChar(0xD800)) + "A\n" + QChar(0xDC00), E::kUtf16LE, L::kLf,
                   B("\x00\xD8"
                     "A\0\n\0\x00\xDC")},
        EncodeCase{QString(QChar(0xD800)) + "A\n" + QChar(0xDC00), E::kUtf8N, L::kLf,
                   B("\xEF\xBF\xBD"
                     "A\n\xEF\xBF\xBD")},
        EncodeCase{QString(QChar(0xDBFF)) + "\nA", E::kShiftJis, L::kLf, B("?\nA")}));

TEST(EncodeTextTest, AppendsToTheByteBufferAndSwitchesModes) {
  CStock text;  // byte mode on entry: EncodeText makes it a text buffer
  CStock bytes(CStock::kTextMode);
  ASSERT_TRUE(AppendLinesToText(text, {"x"}));
  ASSERT_TRUE(EncodeText(bytes, text, E::kUtf8N, L::kLf));
  EXPECT_EQ(BytesOf(bytes), B("x\n"));
  EXPECT_EQ(TextOf(text), QStringLiteral("x\n"));
}

// ---- Detection ----

struct DetectCase {
  friend void PrintTo(const DetectCase& c, std::ostream* os) { *os << c.name; }
  const char* name;
  QByteArray bytes;
  E encoding;  // expected, from the fallback "UTF-8" / "CR"
  L lineEnding;
  bool decided;
};

class DetectTextEncodingTest : public testing::TestWithParam<DetectCase> {};

TEST_P(DetectTextEncodingTest, FindsMarkPatternAndLineEnd) {
  const DetectCase& c = GetParam();
  CStock bytes;
  Fill(bytes, c.bytes);
  // A fallback that the pattern tests never produce, so that "unchanged" shows.
  E encoding = E::kUtf8WithBom;
  L lineEnding = L::kCr;
  EXPECT_EQ(DetectTextEncoding(bytes, encoding, lineEnding), c.decided);
  EXPECT_EQ(encoding, c.encoding);
  EXPECT_EQ(lineEnding, c.lineEnding);
  EXPECT_EQ(BytesOf(bytes), c.bytes);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DetectTextEncodingTest,
    testing::Values(
        DetectCase{"TwoBytesAreNeverExamined", B("\xFF\xFE"), E::kUtf8WithBom, L::kCr, false},
        DetectCase{"TwoBytesWithLineFeed", B("A\n"), E::kUtf8WithBom, L::kCr, false},
        DetectCase{"AsciiCrLf", B("AB\r\nCD\r\n"), E::kUtf8WithBom, L::kCrLf, false},
        DetectCase{"AsciiLf", B("AB\nCD\n"), E::kUtf8WithBom, L::kLf, false},
        DetectCase{"AsciiWithoutLineEnd", B("ABCDEFGHIJKLMNOPQRSTUVWXYZ"), E::kUtf8WithBom, L::kCr,
                   false},
        // Long runs of ASCII are skipped in blocks; what lies inside or after them still counts.
        DetectCase{"ZeroInsideLongAscii", B("ABCDEFGHIJKLMNOPQRS\0TUVWXYZ\r\n"), E::kUtf8WithBom,
                   L::kCrLf, false},
        DetectCase{"Utf8AfterLongAscii", B("/home/user/music/album/\xE3\x82\xA2.mp3\n"), E::kUtf8N,
                   L::kLf, true},
        DetectCase{"Utf16LECrLf", B("A\0\r\0\n\0B\0"), E::kUtf16LE, L::kCrLf, false},
        DetectCase{"Utf16BECrLf", B("\0A\0\r\0\n\0B"), E::kUtf16BE, L::kCrLf, false},
        DetectCase{"Utf16LECr", B("A\0\r\0B\0"), E::kUtf16LE, L::kCr, false},
        DetectCase{"Utf16BECr", B("\0A\0\r\0B"), E::kUtf16BE, L::kCr, false},
        DetectCase{"Utf16LELfIsNotUtf16", B("A\0\n\0B\0"), E::kUtf8WithBom, L::kLf, false},
        // 上 is U+4E0A: its low byte 0A comes first and is taken for the line end.
        DetectCase{"Utf16LEHalfUnitDecidesLineEnd", B("\x0A\x4E\r\0\n\0"), E::kUtf8WithBom, L::kLf,
                   false},
        DetectCase{"ShiftJisJapanese", B("\x93\xFA\x96\x7B\r\n\x8F\xE3"), E::kShiftJis, L::kCrLf,
                   true},
        DetectCase{"ShiftJisHalfWidthKatakana", B("\xB1\xB2\xB3\r\n"), E::kUtf8WithBom, L::kCrLf,
                   false},
        DetectCase{"ShiftJisLeadByteAtEnd", B("ABC\x93"), E::kUtf8WithBom, L::kCr, false},
        DetectCase{"Utf8Japanese", B("\xE3\x82\xA2\xE3\x82\xA4\n"), E::kUtf8N, L::kLf, true},
        DetectCase{"Utf8CutShortReadsAsShiftJis", B("AB\xE3\x82"), E::kShiftJis, L::kCr, true},
        DetectCase{"MarkUtf16LE",
                   B("\xFF\xFE"
                     "A\0\r\0\n\0"),
                   E::kUtf16LEWithBom, L::kCrLf, true},
        DetectCase{"MarkUtf16BE", B("\xFE\xFF\0A\0\n"), E::kUtf16BEWithBom, L::kLf, true},
        DetectCase{"MarkUtf8WhateverFollows", B("\xEF\xBB\xBF\xFF\x00\x93\r\n"), E::kUtf8WithBom,
                   L::kCrLf, true},
        DetectCase{"MarkUtf8Alone", B("\xEF\xBB\xBF"), E::kUtf8WithBom, L::kCr, true},
        // After a mark, positions count from the first byte after it.
        DetectCase{"MarkUtf16LEThenCrLf", B("\xFF\xFE\r\0\n\0"), E::kUtf16LEWithBom, L::kCrLf,
                   true}),
    text_test::ByName());

// ---- Decoding ----

struct DecodeCase {
  friend void PrintTo(const DecodeCase& c, std::ostream* os) { *os << c.name; }
  const char* name;
  QByteArray bytes;
  E fallbackEncoding;
  L fallbackLineEnding;
  QString text;
  E encoding;  // the pair used
  L lineEnding;
};

class DecodeTextTest : public testing::TestWithParam<DecodeCase> {};

TEST_P(DecodeTextTest, DecodesLinesWithTheDetectedOrFallbackPair) {
  const DecodeCase& c = GetParam();
  const Decoded d = Decode(c.bytes, c.fallbackEncoding, c.fallbackLineEnding);
  EXPECT_EQ(d.text, c.text);
  EXPECT_EQ(d.encoding, c.encoding);
  EXPECT_EQ(d.lineEnding, c.lineEnding);
}

const QChar kFFFD(0xFFFD);

INSTANTIATE_TEST_SUITE_P(
    Cases, DecodeTextTest,
    testing::Values(
        DecodeCase{"ShiftJisLines", B("\x93\xFA\x96\x7B\r\n\r\nA"), E::kUtf8N, L::kLf,
                   u"日本\n\nA"_s, E::kShiftJis, L::kCrLf},
        DecodeCase{"Utf8MarkSkipped",
                   B("\xEF\xBB\xBF"
                     "A\r\nB\r\n"),
                   E::kShiftJis, L::kLf, "A\nB\n", E::kUtf8WithBom, L::kCrLf},
        DecodeCase{"Utf8NJapanese", B("\xE4\xB8\x8A\xE3\x82\xA2\n\xE6\x9B\xB2"), E::kShiftJis,
                   L::kCrLf, u"上ア\n曲"_s, E::kUtf8N, L::kLf},
        DecodeCase{"Utf16LEMarkSkipped",
                   B("\xFF\xFE"
                     "A\0\r\0\n\0B\0"),
                   E::kShiftJis, L::kCrLf, "A\nB", E::kUtf16LEWithBom, L::kCrLf},
        DecodeCase{"Utf16BEMarkSkipped", B("\xFE\xFF\0A\0\r\0\n\0B"), E::kShiftJis, L::kCrLf,
                   "A\nB", E::kUtf16BEWithBom, L::kCrLf},
        DecodeCase{"Utf16LEWithoutMark", B("A\0\r\0\n\0\r\0\n\0B\0"), E::kShiftJis, L::kLf,
                   "A\n\nB", E::kUtf16LE, L::kCrLf},
        DecodeCase{"Utf16BEWithoutMark", B("\0A\0\r\0B"), E::kShiftJis, L::kLf, "A\nB", E::kUtf16BE,
                   L::kCr},
        DecodeCase{"Utf16BELfOnFallback", B("\0A\0\n\0B\0\n"), E::kUtf16BE, L::kCrLf, "A\nB\n",
                   E::kUtf16BE, L::kLf},
        // With 上 first, the line end is taken as LF; the CR before each LF stays in the line.
        DecodeCase{"Utf16LEHalfUnitLineEnd", B("\xFF\xFE\x0A\x4E\r\0\n\0A\0"), E::kShiftJis,
                   L::kCrLf, u"上\r\nA"_s, E::kUtf16LEWithBom, L::kLf},
        // In UTF-16 a line end counts only at an even offset: 0D 00 0A 00 at offset 1 is part of
        // the units 0D41 0A00 4200.
        DecodeCase{"Utf16LineEndOnlyAtEvenOffsets", B("A\r\0\n\0B\r\0\n\0C\0"), E::kUtf16LE,
                   L::kCrLf, QString(QChar(0x0D41)) + QChar(0x0A00) + QChar(0x4200) + "\nC",
                   E::kUtf16LE, L::kCrLf},
        // Only the one kind of line end cuts: a lone CR in a CR LF file stays in its line.
        DecodeCase{"OtherLineEndsStayInTheLine", B("A\r\nB\rC\r\n"), E::kShiftJis, L::kLf,
                   "A\nB\rC\n", E::kShiftJis, L::kCrLf},
        DecodeCase{"Utf16LoneCrStaysInTheLine", B("A\0\r\0\n\0B\0\r\0C\0\n\0D\0"), E::kShiftJis,
                   L::kLf, "A\nB\rC\nD", E::kUtf16LE, L::kCrLf},
        DecodeCase{"CrLfCutOffAtTheEnd", B("AB\r\nC\r"), E::kShiftJis, L::kLf, "AB\nC\r",
                   E::kShiftJis, L::kCrLf},
        DecodeCase{"TwoByteFileUsesFallback", B("AB"), E::kUtf16LE, L::kLf, QString(QChar(0x4241)),
                   E::kUtf16LE, L::kLf},
        // A fallback that names a marked encoding does not eat the start of an unmarked file.
        DecodeCase{"MarkedFallbackWithoutMark", B("ABC\r\nD"), E::kUtf8WithBom, L::kCrLf, "ABC\nD",
                   E::kUtf8WithBom, L::kCrLf},
        DecodeCase{"Empty", QByteArray(), E::kUtf8N, L::kLf, "", E::kUtf8N, L::kLf},
        DecodeCase{"MarkOnly", B("\xFE\xFF\0"), E::kShiftJis, L::kCrLf, "", E::kUtf16BEWithBom,
                   L::kCrLf},
        DecodeCase{"LineEndsOnly", B("\n\n"), E::kUtf8N, L::kLf, "\n\n", E::kUtf8N, L::kLf},
        // Each segment ends at its first U+0000; the next line starts afresh.
        DecodeCase{"ZeroCutsItsLineByte", B("AB\0CD\r\nEF\r\n\0X"), E::kUtf8N, L::kCrLf, "AB\nEF\n",
                   E::kUtf8N, L::kCrLf},
        DecodeCase{"ZeroCutsItsLineInLongAscii",
                   B("/music/album\0/01 track.mp3\n/music/other album/02 track.mp3"), E::kUtf8N,
                   L::kLf, "/music/album\n/music/other album/02 track.mp3", E::kUtf8N, L::kLf},
        DecodeCase{"ZeroCutsItsLineShiftJis", B("\x93\xFA\0\x96\x7B\nA"), E::kShiftJis, L::kLf,
                   u"日\nA"_s, E::kShiftJis, L::kLf},
        DecodeCase{"ZeroCutsItsLineUtf16",
                   B("\xFF\xFE"
                     "A\0\0\0B\0\r\0\n\0C\0"),
                   E::kShiftJis, L::kCrLf, "A\nC", E::kUtf16LEWithBom, L::kCrLf}),
    text_test::ByName());

// What malformed input becomes; none of it may crash or read past the end.
INSTANTIATE_TEST_SUITE_P(
    Malformed, DecodeTextTest,
    testing::Values(
        // An odd final byte of UTF-16 is half a unit: it is dropped.
        DecodeCase{"Utf16LEOddFinalByte", B("A\0\r\0\n\0B\0C"), E::kShiftJis, L::kCrLf, "A\nB",
                   E::kUtf16LE, L::kCrLf},
        DecodeCase{"Utf16BEOddFinalByte", B("\xFE\xFF\0A\0"), E::kShiftJis, L::kCrLf, "A",
                   E::kUtf16BEWithBom, L::kCrLf},
        DecodeCase{"Utf16OddByteAfterMark", B("\xFF\xFE\x41"), E::kShiftJis, L::kCrLf, "",
                   E::kUtf16LEWithBom, L::kCrLf},
        // Unpaired surrogates pass through as units.
        DecodeCase{"Utf16UnpairedSurrogates",
                   B("\xFF\xFE\x00\xD8"
                     "A\0\x00\xDC"),
                   E::kShiftJis, L::kCrLf, QString(QChar(0xD800)) + "A" + QChar(0xDC00),
                   E::kUtf16LEWithBom, L::kCrLf},
        // Invalid UTF-8: one U+FFFD for each maximal ill-formed part, the byte that broke it read
        // again.
        DecodeCase{"Utf8StrayBytes",
                   B("\xEF\xBB\xBF"
                     "A\xFF\xBF"
                     "B"),
                   E::kShiftJis, L::kCrLf, QString("A") + kFFFD + kFFFD + "B", E::kUtf8WithBom,
                   L::kCrLf},
        DecodeCase{"Utf8SequenceBrokenInside",
                   B("\xEF\xBB\xBF\xE3\x82"
                     "A\xF0\x9F\x8E\xE3\x82\xA2"),
                   E::kShiftJis, L::kCrLf, QString(kFFFD) + "A" + kFFFD + u"ア"_s, E::kUtf8WithBom,
                   L::kCrLf},
        DecodeCase{"Utf8SequenceCutByLineEnd", B("\xEF\xBB\xBF\xE3\x82\nA"), E::kShiftJis, L::kCrLf,
                   QString(kFFFD) + "\nA", E::kUtf8WithBom, L::kLf},
        DecodeCase{"Utf8SequenceCutByEnd",
                   B("\xEF\xBB\xBF"
                     "A\n\xF0\x9F\x8E"),
                   E::kShiftJis, L::kCrLf, QString("A\n") + kFFFD, E::kUtf8WithBom, L::kLf},
        DecodeCase{"Utf8Overlong",
                   B("\xEF\xBB\xBF\xC0\xAF\xE0\x80\x80"
                     "A"),
                   E::kShiftJis, L::kCrLf, QString(kFFFD) + kFFFD + kFFFD + kFFFD + kFFFD + "A",
                   E::kUtf8WithBom, L::kCrLf},
        DecodeCase{"Utf8EncodedSurrogate", B("\xEF\xBB\xBF\xED\xA0\x80"), E::kShiftJis, L::kCrLf,
                   QString(kFFFD) + kFFFD + kFFFD, E::kUtf8WithBom, L::kCrLf},
        DecodeCase{"Utf8BeyondUnicode", B("\xEF\xBB\xBF\xF4\x90\x80\x80"), E::kShiftJis, L::kCrLf,
                   QString(kFFFD) + kFFFD + kFFFD + kFFFD, E::kUtf8WithBom, L::kCrLf},
        DecodeCase{"Utf8ZeroInsideSequence", B("\xEF\xBB\xBF\xE3\x00\x82\nB"), E::kShiftJis,
                   L::kCrLf, QString(kFFFD) + "\nB", E::kUtf8WithBom, L::kLf},
        // Code page 932: "?" for a lead byte without its trail byte.
        DecodeCase{"ShiftJisLeadByteAtLineEnd", B("\x93\r\n\x93\xFA"), E::kShiftJis, L::kLf,
                   "?\n" + u"日"_s, E::kShiftJis, L::kCrLf},
        DecodeCase{"ShiftJisLeadByteAtEnd", B("AB\n\x93"), E::kShiftJis, L::kCrLf, "AB\n?",
                   E::kShiftJis, L::kLf},
        DecodeCase{"ShiftJisBadTrailByte",
                   B("\x93\x20"
                     "A"),
                   E::kShiftJis, L::kCrLf, "? A", E::kShiftJis, L::kCrLf}),
    text_test::ByName());

TEST(DecodeTextTest, AppendsToTheTextAndPutsBuffersInTheirModes) {
  CStock text;
  FillText(text, "old\n");
  CStock bytes(CStock::kTextMode);
  bytes.AppendString(u"ab");  // as a text buffer: its terminator must not be decoded
  E encoding = E::kUtf16LE;
  L lineEnding = L::kCrLf;
  ASSERT_TRUE(DecodeText(text, bytes, encoding, lineEnding));
  EXPECT_EQ(bytes.mode(), CStock::kByteMode);
  EXPECT_EQ(TextOf(text), QStringLiteral("old\nab"));

  // A buffer that held an odd number of bytes: the units go right after them.
  CStock odd;
  odd.Append("x", 1);
  CStock utf8;
  utf8.Append(
      "\xEF\xBB\xBF"
      "A",
      4);
  ASSERT_TRUE(DecodeText(odd, utf8, encoding, lineEnding));
  EXPECT_EQ(BytesOf(odd), B("xA\0\0\0"));
}

// ---- Round trips ----

class RoundTripTest : public testing::TestWithParam<std::tuple<E, L>> {};

TEST_P(RoundTripTest, DecodingGivesBackTheText) {
  const auto [encoding, lineEnding] = GetParam();
  // No character before the first line end has a 0A or 0D byte in UTF-16, so the line end is
  // found as written (上 is further down).
  const QString pair = u"\U0001F3B5"_s;
  const QString text = u"/music/日本のうた/01 ｱｲｳ ～ 曲.mp3\n\n"_s + pair +
                       u" and 上\n\nC:\\old\\path.mp3\nlast line without end"_s;
  const QByteArray bytes = Encode(text, encoding, lineEnding);
  const Decoded d = Decode(bytes, encoding, lineEnding);
  SCOPED_TRACE(Describe(encoding, lineEnding));
  QString expected = text;
  if (encoding == E::kShiftJis) expected.replace(pair, "?");
  EXPECT_EQ(d.text, expected);
  EXPECT_EQ(d.encoding, encoding);
  EXPECT_EQ(d.lineEnding, lineEnding);
}

INSTANTIATE_TEST_SUITE_P(AllPairs, RoundTripTest,
                         testing::Combine(testing::Values(E::kShiftJis, E::kUtf16LE, E::kUtf16BE,
                                                          E::kUtf16LEWithBom, E::kUtf16BEWithBom,
                                                          E::kUtf8WithBom, E::kUtf8N),
                                          testing::Values(L::kCrLf, L::kCr, L::kLf)),
                         [](const testing::TestParamInfo<std::tuple<E, L>>& p) {
                           std::string name = Describe(std::get<0>(p.param), std::get<1>(p.param));
                           for (char& c : name)
                             if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
                           return name;
                         });

}  // namespace
