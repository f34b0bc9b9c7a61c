#include "platform/files.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>

#include "platform/dir_enum.h"
#include "support/temp_dir.h"

namespace {

using testing_support::TempDir;

TEST(WholeFile, WriteReplacesAndReadsBack) {
  TempDir dir;
  const QString path = dir.write("a.ini", "old contents");
  ASSERT_TRUE(platform::WriteWholeFile(path, QByteArray("new")));
  QByteArray got;
  ASSERT_TRUE(platform::ReadWholeFile(path, got));
  EXPECT_EQ(got, "new");
  // No temporary file is left beside the target.
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"a.ini"});
}

TEST(WholeFile, EmptyWriteGivesEmptyFile) {
  TempDir dir;
  const QString path = dir.write("a.ini", "something");
  ASSERT_TRUE(platform::WriteWholeFile(path, nullptr, 0));
  EXPECT_EQ(QFileInfo(path).size(), 0);
}

TEST(WholeFile, FailedWriteLeavesTheOldFileWhole) {
  TempDir dir;
  // A target that is a folder cannot be replaced, and a target in a missing folder cannot be
  // created; both hold as root, where permissions would not stop the write.
  QDir(dir.path()).mkdir("folder");
  EXPECT_FALSE(platform::WriteWholeFile(dir.file("folder"), QByteArray("x")));
  EXPECT_TRUE(QFileInfo(dir.file("folder")).isDir());
  EXPECT_FALSE(platform::WriteWholeFile(dir.file("missing/a.ini"), QByteArray("x")));
  EXPECT_FALSE(QFile::exists(dir.file("missing/a.ini")));
  EXPECT_FALSE(platform::WriteWholeFile(dir.file("b"), nullptr, 3));
}

TEST(WholeFile, ReadFailuresLeaveTheOutputUntouched) {
  TempDir dir;
  QByteArray out("kept");
  EXPECT_FALSE(platform::ReadWholeFile(dir.file("none"), out));
  EXPECT_FALSE(platform::ReadWholeFile(dir.path(), out));
  // A FIFO without a writer would block the reader for ever; it is refused at once.
  ASSERT_EQ(::mkfifo(QFile::encodeName(dir.file("fifo")).constData(), 0600), 0);
  EXPECT_FALSE(platform::ReadWholeFile(dir.file("fifo"), out));
  EXPECT_EQ(out, "kept");
}

TEST(FileFacts, NamesThatAreNotUtf8StillOpen) {
  TempDir dir;
  // A name with the byte FF, as an old Shift-JIS-era copy can leave behind.
  const QByteArray name = QFile::encodeName(dir.path()) + "/bad\xFFname.m3u";
  {
    const int fd = ::open(name.constData(), O_WRONLY | O_CREAT, 0600);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::write(fd, "x", 1), 1);
    ::close(fd);
  }
  const QString path = platform::DecodeFileName(name);
  EXPECT_TRUE(platform::FileExists(path));
  QByteArray contents;
  EXPECT_TRUE(platform::ReadWholeFile(path, contents));
  EXPECT_EQ(contents, "x");
  EXPECT_FALSE(platform::DirectoryExists(path));
}

TEST(FileFacts, ExistenceFoldersAndLinks) {
  TempDir dir;
  const QString file = dir.write("sub/f.mp3", "x");
  EXPECT_TRUE(platform::FileExists(file));
  EXPECT_FALSE(platform::FileExists(dir.file("sub")));
  EXPECT_FALSE(platform::FileExists(QString()));
  EXPECT_TRUE(platform::DirectoryExists(dir.file("sub")));
  EXPECT_FALSE(platform::DirectoryExists(file));

  ASSERT_TRUE(platform::ForceDirectories(dir.file("x/y/z")));
  EXPECT_TRUE(platform::DirectoryExists(dir.file("x/y/z")));
  EXPECT_TRUE(platform::ForceDirectories(dir.file("x/y/z")));  // already there
  EXPECT_FALSE(platform::ForceDirectories(file + "/below"));   // a file is in the way

  ASSERT_TRUE(QFile::link(file, dir.file("link.mp3")));
  ASSERT_TRUE(QFile::link(dir.file("gone.mp3"), dir.file("dangling.mp3")));
  EXPECT_TRUE(platform::IsSymbolicLink(dir.file("link.mp3")));
  EXPECT_FALSE(platform::IsSymbolicLink(file));
  EXPECT_EQ(platform::ResolveSymbolicLink(dir.file("link.mp3")),
            QFileInfo(file).canonicalFilePath());
  EXPECT_EQ(platform::ResolveSymbolicLink(dir.file("dangling.mp3")), QString());
  EXPECT_EQ(platform::ResolveSymbolicLink(file), QString());
}

}  // namespace
