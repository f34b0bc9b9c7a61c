#include "text/stock.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <QFile>
#include <cstdint>
#include <fstream>
#include <limits>

#include "support/temp_dir.h"
#include "text_test_util.h"

namespace {

using testing_support::TempDir;
using text_test::BytesOf;
using text_test::TextOf;

QByteArray Pattern(int n) {
  QByteArray bytes(n, Qt::Uninitialized);
  for (int i = 0; i < n; ++i) bytes[i] = static_cast<char>(i * 7 + 3);
  return bytes;
}

// ---- Construction and growth ----

struct GrowthCase {
  friend void PrintTo(const GrowthCase& c, std::ostream* os) {
    *os << "mode " << c.mode << ", " << c.appended << " bytes";
  }
  int32_t mode;      // -1: default constructor
  int appended;      // bytes appended, one at a time
  int32_t capacity;  // expected afterwards
};

class StockGrowthTest : public testing::TestWithParam<GrowthCase> {};

TEST_P(StockGrowthTest, CapacityGrowsByFixedSteps) {
  const GrowthCase& c = GetParam();
  CStock stock = c.mode < 0 ? CStock() : CStock(c.mode);
  const int32_t start = stock.size();
  const QByteArray bytes = Pattern(c.appended);
  for (const char b : bytes) ASSERT_TRUE(stock.Append(&b, 1));
  EXPECT_EQ(stock.capacity(), c.capacity);
  EXPECT_EQ(stock.size(), start + c.appended);
  EXPECT_EQ(BytesOf(stock).mid(start), bytes);
}

INSTANTIATE_TEST_SUITE_P(Steps, StockGrowthTest,
                         testing::Values(GrowthCase{-1, 0, 64}, GrowthCase{-1, 64, 64},
                                         GrowthCase{-1, 65, 128}, GrowthCase{-1, 128, 128},
                                         GrowthCase{-1, 129, 192}, GrowthCase{-1, 1000, 1024},
                                         GrowthCase{-1, 20000, 20032}, GrowthCase{0, 0, 32},
                                         GrowthCase{0, 33, 64}, GrowthCase{0, 97, 128},
                                         GrowthCase{1, 30, 32}, GrowthCase{1, 31, 64}));

TEST(StockTest, ConstructionFormsSetStepsAndMode) {
  const CStock plain;
  EXPECT_EQ(plain.mode(), CStock::kByteMode);
  EXPECT_EQ(plain.size(), 0);
  EXPECT_EQ(plain.initialCapacity(), 64);
  EXPECT_EQ(plain.growStep(), 64);
  EXPECT_EQ(plain.capacity(), 64);

  const CStock text(CStock::kTextMode);
  EXPECT_EQ(text.mode(), CStock::kTextMode);
  EXPECT_EQ(text.size(), 2);
  EXPECT_EQ(BytesOf(text), QByteArray(2, '\0'));
  EXPECT_EQ(text.initialCapacity(), 32);
  EXPECT_EQ(text.growStep(), 32);
  EXPECT_EQ(text.capacity(), 32);
}

TEST(StockTest, OneLargeResizeTakesTheSmallestStepThatHolds) {
  CStock stock;
  ASSERT_TRUE(stock.Resize(1000));
  EXPECT_EQ(stock.size(), 1000);
  EXPECT_EQ(stock.capacity(), 1024);
  ASSERT_TRUE(stock.Resize(-1000));
  EXPECT_EQ(stock.size(), 0);
  EXPECT_EQ(stock.capacity(), 1024);  // never shrinks
  ASSERT_TRUE(stock.Resize(1024));
  EXPECT_EQ(stock.capacity(), 1024);
}

// ---- Appending ----

TEST(StockTest, TextModeKeepsOneTerminatorAcrossAppends) {
  CStock stock(CStock::kTextMode);
  ASSERT_TRUE(stock.AppendString(u"ab"));
  ASSERT_TRUE(stock.AppendString(u"cd"));
  EXPECT_EQ(stock.size(), 10);
  EXPECT_EQ(BytesOf(stock), QByteArray("a\0b\0c\0d\0\0\0", 10));
  EXPECT_EQ(TextOf(stock), QStringLiteral("abcd"));
}

TEST(StockTest, ByteModeAppendsCharactersAndTheirZeroAsBytes) {
  CStock stock;
  ASSERT_TRUE(stock.AppendString(u"ab"));
  ASSERT_TRUE(stock.AppendText(u"c", 1));
  EXPECT_EQ(BytesOf(stock), QByteArray("a\0b\0\0\0c\0", 8));
}

TEST(StockTest, AppendingNothingFailsAndChangesNothing) {
  CStock stock(CStock::kTextMode);
  ASSERT_TRUE(stock.AppendString(u"x"));
  const QByteArray before = BytesOf(stock);
  const char byte = 'z';
  EXPECT_FALSE(stock.Append(&byte, 0));
  EXPECT_FALSE(stock.Append(&byte, -5));
  EXPECT_FALSE(stock.Append(nullptr, 3));
  EXPECT_FALSE(stock.AppendText(u"y", 0));
  EXPECT_FALSE(stock.AppendText(nullptr, 2));
  EXPECT_FALSE(stock.AppendString(nullptr));
  EXPECT_EQ(BytesOf(stock), before);
  EXPECT_EQ(stock.mode(), CStock::kTextMode);
}

// ---- Modes ----

TEST(StockTest, SwitchingModes) {
  CStock stock;
  ASSERT_TRUE(stock.SetMode(CStock::kTextMode));
  ASSERT_TRUE(stock.SetMode(CStock::kTextMode));  // the current mode: no second terminator
  EXPECT_EQ(stock.size(), 2);
  ASSERT_TRUE(stock.SetMode(CStock::kByteMode));
  EXPECT_EQ(stock.size(), 0);

  ASSERT_TRUE(stock.SetMode(CStock::kTextMode));
  ASSERT_TRUE(stock.AppendString(u"hi"));
  ASSERT_TRUE(stock.SetMode(CStock::kByteMode));  // the text stays, as bytes
  EXPECT_EQ(BytesOf(stock), QByteArray("h\0i\0", 4));
  ASSERT_TRUE(stock.SetMode(CStock::kTextMode));
  EXPECT_EQ(TextOf(stock), QStringLiteral("hi"));

  EXPECT_FALSE(stock.SetMode(2));
  EXPECT_EQ(stock.mode(), CStock::kTextMode);
  EXPECT_EQ(BytesOf(stock), QByteArray("h\0i\0\0\0", 6));
}

// ---- Sizes that cannot be had ----

TEST(StockTest, ResizeBeyondThirtyTwoBitsFailsAndKeepsContents) {
  CStock stock;
  ASSERT_TRUE(stock.Append("abc", 3));
  EXPECT_FALSE(stock.Resize(std::numeric_limits<int32_t>::max()));
  EXPECT_FALSE(stock.Resize(-4));  // below empty
  EXPECT_FALSE(stock.AppendText(u"x", std::numeric_limits<int32_t>::max() / 2 + 1));
  EXPECT_EQ(BytesOf(stock), QByteArray("abc"));
  EXPECT_EQ(stock.capacity(), 64);
}

// Lowers the process's address-space limit so that a large allocation fails, and restores it.
class ScopedAddressSpaceLimit {
 public:
  explicit ScopedAddressSpaceLimit(rlim_t headroom) {
    getrlimit(RLIMIT_AS, &saved_);
    long pages = 0;
    std::ifstream("/proc/self/statm") >> pages;
    rlimit lowered = saved_;
    lowered.rlim_cur =
        static_cast<rlim_t>(pages) * static_cast<rlim_t>(sysconf(_SC_PAGESIZE)) + headroom;
    ok_ = pages > 0 && setrlimit(RLIMIT_AS, &lowered) == 0;
  }
  ~ScopedAddressSpaceLimit() { setrlimit(RLIMIT_AS, &saved_); }
  bool ok() const { return ok_; }

 private:
  rlimit saved_{};
  bool ok_ = false;
};

TEST(StockTest, GrowthWithoutMemoryFailsAndKeepsContents) {
  CStock stock(CStock::kTextMode);
  ASSERT_TRUE(stock.AppendString(u"kept"));
  const QByteArray before = BytesOf(stock);
  bool grew = true;
  {
    ScopedAddressSpaceLimit limit(64 << 20);
    if (!limit.ok()) GTEST_SKIP() << "cannot lower the address-space limit";
    grew = stock.Resize(1 << 30);
  }
  EXPECT_FALSE(grew);
  EXPECT_EQ(BytesOf(stock), before);
  EXPECT_EQ(stock.capacity(), 32);
  ASSERT_TRUE(stock.AppendString(u"!"));  // still usable
  EXPECT_EQ(TextOf(stock), QStringLiteral("kept!"));
}

// ---- Files ----

class StockFileTest : public testing::Test {
 protected:
  TempDir dir_;
};

TEST_F(StockFileTest, LoadTakesTheWholeFileAtItsExactSize) {
  const QByteArray contents = Pattern(1000);
  const QString path = dir_.write("thousand.bin", contents);
  CStock stock(CStock::kTextMode);
  ASSERT_TRUE(stock.LoadFromFile(path));
  EXPECT_EQ(stock.mode(), CStock::kByteMode);
  EXPECT_EQ(stock.size(), 1000);
  EXPECT_EQ(stock.capacity(), 1000);
  EXPECT_EQ(BytesOf(stock), contents);

  ASSERT_TRUE(stock.Append("+", 1));
  EXPECT_EQ(stock.capacity(), 1024);
  EXPECT_EQ(BytesOf(stock), contents + "+");
}

TEST_F(StockFileTest, LoadOfAnEmptyFileGivesAnEmptyBufferThatStillGrows) {
  CStock stock;
  ASSERT_TRUE(stock.Append("old", 3));
  ASSERT_TRUE(stock.LoadFromFile(dir_.write("empty", QByteArray())));
  EXPECT_EQ(stock.size(), 0);
  EXPECT_EQ(stock.capacity(), 0);
  ASSERT_TRUE(stock.Append("x", 1));
  EXPECT_EQ(stock.capacity(), 64);
  EXPECT_EQ(BytesOf(stock), QByteArray("x"));
}

TEST_F(StockFileTest, FailedLoadKeepsEverything) {
  // A file over 0x7FFFFFFF bytes, made sparse so that it costs no disk space.
  const QString huge = dir_.file("huge.bin");
  {
    QFile f(huge);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    if (!f.resize(qint64{0x80000000})) GTEST_SKIP() << "no sparse files here";
  }
  const QString paths[] = {dir_.file("missing.bin"), dir_.path(), huge};
  for (const QString& path : paths) {
    SCOPED_TRACE(path.toStdString());
    CStock stock;
    ASSERT_TRUE(stock.Append("keep", 4));
    EXPECT_FALSE(stock.LoadFromFile(path));
    EXPECT_EQ(BytesOf(stock), QByteArray("keep"));
    EXPECT_EQ(stock.capacity(), 64);
  }
}

TEST_F(StockFileTest, SaveWritesTheBytesInUseAndReplacesTheOldFile) {
  const QString path = dir_.write("out.bin", QByteArray(500, 'o'));
  CStock stock;
  ASSERT_TRUE(stock.Append("\x00\x01\xFF", 3));
  ASSERT_TRUE(stock.SaveToFile(path));
  EXPECT_EQ(dir_.read("out.bin"), QByteArray("\x00\x01\xFF", 3));
  EXPECT_EQ(BytesOf(stock), QByteArray("\x00\x01\xFF", 3));

  CStock text(CStock::kTextMode);
  ASSERT_TRUE(text.AppendString(u"ok"));
  ASSERT_TRUE(text.SaveToFile(path));  // the terminator is not part of the file
  EXPECT_EQ(dir_.read("out.bin"), QByteArray("o\0k\0", 4));
}

TEST_F(StockFileTest, SaveThatCannotWriteFails) {
  dir_.write("sub/keep.txt", "inside");
  CStock stock;
  ASSERT_TRUE(stock.Append("data", 4));
  EXPECT_FALSE(stock.SaveToFile(dir_.file("sub")));  // a folder is in the way
  EXPECT_EQ(dir_.read("sub/keep.txt"), QByteArray("inside"));
  EXPECT_FALSE(stock.SaveToFile(dir_.file("no/such/folder/out.bin")));
  EXPECT_FALSE(QFile::exists(dir_.file("no")));
}

}  // namespace
