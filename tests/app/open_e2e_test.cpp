// The real executable opening a folder from its command line: the settings written right after
// the open hold the playlists found in the file block and the folder in the group block.
#include <gtest/gtest.h>
#include <signal.h>

#include <QElapsedTimer>
#include <QProcess>
#include <QRegularExpression>
#include <QThread>

#include "support/program.h"
#include "support/temp_dir.h"
#include "text/text_lines.h"

namespace {

TEST(OpenEndToEnd, AFolderArgumentFillsTheFileAndGroupBlocks) {
  testing_support::TempDir data;
  testing_support::TempDir music;
  const QString first = music.write("Artist/Album A/a.m3u", "01.mp3\n");
  music.write("Artist/Album A/01.mp3", "not really audio");
  const QString second = music.write("Artist/Album B/b.m3u", "02.mp3\n");
  music.write("Artist/.hidden/c.m3u", "03.mp3\n");  // hidden folders are not entered

  QProcess program;
  ASSERT_TRUE(testing_support::StartProgram(program, data.path(), {music.file("Artist")}));

  // The open writes the settings as soon as it is done; wait for that file, not a fixed time.
  const QString ini = data.file("quomm3u/quomm3u.ini");
  QStringList lines;
  QElapsedTimer clock;
  clock.start();
  while (clock.elapsed() < 15000) {
    lines.clear();
    LoadTextLines(lines, ini);
    if (lines.contains("GroupList0=" + music.file("Artist"))) break;
    QThread::msleep(100);
  }
  ::kill(static_cast<pid_t>(program.processId()), SIGTERM);
  ASSERT_TRUE(program.waitForFinished(5000));

  EXPECT_TRUE(lines.contains("GroupList0=" + music.file("Artist")))
      << lines.join('\n').toStdString();
  QStringList files;
  const QRegularExpression fileBlock(QStringLiteral("^FileList\\d+=(.*)$"));
  for (const QString& line : lines)
    if (const auto match = fileBlock.match(line); match.hasMatch()) files.append(match.captured(1));
  files.sort();
  EXPECT_EQ(files, QStringList({first, second}));
}

}  // namespace
