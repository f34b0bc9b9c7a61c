#include "platform/dir_enum.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <algorithm>
#include <ostream>

#include "support/temp_dir.h"

namespace {

using platform::DirEntry;
using platform::EntryType;
using platform::PathKind;
using testing_support::TempDir;

// Creates a file by its raw bytes, which need not be valid UTF-8.
bool WriteRaw(const QByteArray& path, const QByteArray& bytes) {
  const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  if (fd < 0) return false;
  const bool ok = ::write(fd, bytes.constData(), bytes.size()) == bytes.size();
  ::close(fd);
  return ok;
}

QByteArray ReadRaw(const QString& path) {
  const int fd = ::open(platform::EncodeFileName(path).constData(), O_RDONLY);
  if (fd < 0) return "<cannot open>";
  char buffer[256];
  const ssize_t n = ::read(fd, buffer, sizeof buffer);
  ::close(fd);
  return n < 0 ? QByteArray("<cannot read>") : QByteArray(buffer, n);
}

struct NameCase {
  const char* label;
  QByteArray bytes;
  bool validUtf8;
};

void PrintTo(const NameCase& c, std::ostream* os) { *os << c.label; }

class FileNameRoundTrip : public testing::TestWithParam<NameCase> {};

TEST_P(FileNameRoundTrip, BytesComeBackUnchanged) {
  const NameCase& c = GetParam();
  const QString name = platform::DecodeFileName(c.bytes);
  EXPECT_EQ(platform::EncodeFileName(name), c.bytes);
  if (c.validUtf8) {
    EXPECT_EQ(name, QString::fromUtf8(c.bytes));
  }
}

INSTANTIATE_TEST_SUITE_P(
    Names, FileNameRoundTrip,
    testing::Values(NameCase{"ascii", "Album 01 - \"Intro\".mp3", true},
                    NameCase{"japanese", "\xe6\x97\xa5\xe6\x9c\xac\xe8\xaa\x9e.mp3", true},
                    NameCase{"four_byte", "\xf0\x9f\x8e\xb5 note.flac", true},
                    NameCase{"newline_and_dash", "-x\nline.wav", true},
                    NameCase{"invalid_bytes", "bad\xff\xfe name.mp3", false},
                    NameCase{"latin1_name", "caf\xe9.mp3", false},
                    NameCase{"truncated_sequence", "ab\xe3\x81", false},
                    NameCase{"overlong_slash",
                             "a\xc0\xaf"
                             "b",
                             false},
                    NameCase{"encoded_surrogate", "s\xed\xa0\x80.mp3", false},
                    NameCase{"beyond_unicode", "\xf4\x90\x80\x80", false},
                    NameCase{"valid_after_invalid", "\x80\xe3\x81\x82\xff", false}),
    [](const testing::TestParamInfo<NameCase>& p) { return std::string(p.param.label); });

// A folder holding one entry of every kind, with names that are hard to get right.
class ReadFolderTest : public testing::Test {
 protected:
  // QTemporaryDir cannot remove a name that is not UTF-8, so the test removes its own.
  ~ReadFolderTest() override { ::unlink(root_ + "bad\xff name.mp3"); }

  void SetUp() override {
    root_ = platform::EncodeFileName(dir_.path()) + '/';
    ASSERT_TRUE(WriteRaw(root_ + "plain.mp3", "p"));
    ASSERT_TRUE(WriteRaw(root_ + ".hidden.mp3", "h"));
    ASSERT_TRUE(WriteRaw(root_ + "bad\xff name.mp3", "bad bytes"));
    ASSERT_TRUE(WriteRaw(root_ + "\xe6\x9b\xb2 'q' \"d\"\n-x.mp3", "odd"));
    ASSERT_EQ(::mkdir(root_ + "sub", 0755), 0);
    ASSERT_EQ(::symlink("plain.mp3", root_ + "to_file"), 0);
    ASSERT_EQ(::symlink("sub", root_ + "to_folder"), 0);
    ASSERT_EQ(::symlink("missing", root_ + "dangling"), 0);
    ASSERT_EQ(::mkfifo(root_ + "pipe", 0644), 0);
  }

  TempDir dir_;
  QByteArray root_;
};

TEST_F(ReadFolderTest, ListsEveryEntryWithItsOwnType) {
  std::vector<DirEntry> entries;
  ASSERT_TRUE(platform::ReadFolder(dir_.path(), entries));
  std::vector<std::pair<QByteArray, EntryType>> got;
  for (const DirEntry& e : entries) got.emplace_back(platform::EncodeFileName(e.Name), e.Type);
  std::sort(got.begin(), got.end());
  const std::vector<std::pair<QByteArray, EntryType>> want = {
      {".hidden.mp3", EntryType::File},
      {"bad\xff name.mp3", EntryType::File},
      {"dangling", EntryType::Symlink},
      {"pipe", EntryType::Other},
      {"plain.mp3", EntryType::File},
      {"sub", EntryType::Folder},
      {"to_file", EntryType::Symlink},
      {"to_folder", EntryType::Symlink},
      {"\xe6\x9b\xb2 'q' \"d\"\n-x.mp3", EntryType::File},
  };
  EXPECT_EQ(got, want);
}

TEST_F(ReadFolderTest, TheNamesFoundOpenAgain) {
  std::vector<DirEntry> entries;
  ASSERT_TRUE(platform::ReadFolder(dir_.path(), entries));
  QStringList contents;
  for (const DirEntry& e : entries)
    if (e.Name.startsWith(QLatin1String("bad")) || e.Name.contains(QLatin1Char('\n')))
      contents << QString::fromLatin1(ReadRaw(dir_.path() + '/' + e.Name));
  contents.sort();
  EXPECT_EQ(contents, QStringList({"bad bytes", "odd"}));
}

TEST_F(ReadFolderTest, StopEndsTheReadingAfterTheEntryAtHand) {
  const std::atomic<bool> stop{true};
  std::vector<DirEntry> entries;
  ASSERT_TRUE(platform::ReadFolder(dir_.path(), entries, &stop));
  EXPECT_EQ(entries.size(), 1u);
}

TEST_F(ReadFolderTest, AFolderThatCannotBeOpenedGivesNothing) {
  std::vector<DirEntry> entries;
  EXPECT_FALSE(platform::ReadFolder(dir_.file("missing"), entries));
  EXPECT_FALSE(platform::ReadFolder(dir_.file("plain.mp3"), entries));
  EXPECT_TRUE(entries.empty());
}

TEST_F(ReadFolderTest, PathFactsFollowLinks) {
  ASSERT_EQ(::symlink("loop_b", root_ + "loop_a"), 0);
  ASSERT_EQ(::symlink("loop_a", root_ + "loop_b"), 0);
  const QString real = QDir(dir_.path()).canonicalPath();
  struct Case {
    const char* name;
    PathKind kind;
    bool link;
    QString canonical;
  };
  const Case cases[] = {
      {"plain.mp3", PathKind::File, false, real + "/plain.mp3"},
      {"sub", PathKind::Folder, false, real + "/sub"},
      {"to_file", PathKind::File, true, real + "/plain.mp3"},
      {"to_folder", PathKind::Folder, true, real + "/sub"},
      {"pipe", PathKind::Other, false, real + "/pipe"},
      {"dangling", PathKind::None, true, QString()},
      {"loop_a", PathKind::None, true, QString()},
      {"missing", PathKind::None, false, QString()},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const QString path = dir_.file(QString::fromUtf8(c.name));
    EXPECT_EQ(platform::KindOfPath(path), c.kind);
    EXPECT_EQ(platform::IsLinkPath(path), c.link);
    EXPECT_EQ(platform::CanonicalPath(path), c.canonical);
  }
  EXPECT_EQ(platform::KindOfPath(QString()), PathKind::None);
}

}  // namespace
