// The real executable and its ini file: started on a prepared file (or none), asked to stop,
// it writes the file back through its shutdown.
#include <gtest/gtest.h>
#include <signal.h>

#include <QDir>
#include <QProcess>
#include <QRegularExpression>

#include "library/qt_print.h"
#include "support/program.h"
#include "support/temp_dir.h"
#include "text/text_lines.h"
#include "timers/music_timer.h"

namespace {

class SettingsEndToEnd : public testing::Test {
 protected:
  QString IniPath(const QString& profile = QStringLiteral("quomm3u")) const {
    return data_.file("quomm3u/" + profile + ".ini");
  }
  QStringList IniLines(const QString& profile = QStringLiteral("quomm3u")) const {
    QStringList lines;
    LoadTextLines(lines, IniPath(profile));
    return lines;
  }

  // Starts the program, lets it build its window and read its file, then stops it the way the
  // session does.
  void RunAndStop(const QStringList& arguments = {}) {
    QProcess program;
    ASSERT_TRUE(testing_support::StartProgram(program, data_.path(), arguments))
        << testing_support::ProgramPath().toStdString();
    ASSERT_FALSE(program.waitForFinished(1500));
    ::kill(static_cast<pid_t>(program.processId()), SIGTERM);
    ASSERT_TRUE(program.waitForFinished(5000));
    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(program.exitCode(), 0);
  }

  testing_support::TempDir data_;
};

TEST_F(SettingsEndToEnd, FirstStartWritesTheFileAndShutdownNamesTheDevice) {
  RunAndStop();
  const QByteArray bytes = data_.read("quomm3u/quomm3u.ini");
  // UTF-16LE without a mark, CR LF after the last line too.
  ASSERT_TRUE(bytes.startsWith(QByteArray("F\0o\0r\0m\0L\0e\0f\0t\0=\0", 18)));
  EXPECT_TRUE(bytes.endsWith(QByteArray("\r\0\n\0", 4)));
  const QStringList lines = IniLines();
  EXPECT_TRUE(lines.contains("OutputDeviceName=Default DirectSound Device"));
  EXPECT_TRUE(lines.contains("RepeatMode=3"));
  EXPECT_TRUE(lines.contains("ExportFolderLevel=0"));
}

TEST_F(SettingsEndToEnd, PreparedFileIsKeptAndMissingEntriesAreDropped) {
  const QString a = data_.write("Music/A/a.m3u", "#EXTM3U\n");
  const QString b = data_.write("Music/B/b.m3u", "#EXTM3U\n");
  CMusicTimer timer;
  timer.SettingName = "Wake";
  timer.Time = 420;
  timer.Day = kTimerEveryDay;
  const QString record = FormatTimerRecord(timer);
  const QStringList prepared = {"FormWidth=700",
                                "OutputDeviceName=Test Output B",
                                "Volume = 70",
                                "RepeatMode=1",
                                "SearchFileDepthAll=False",
                                "SearchFileDepth=4",
                                "ExportFolder=/media/音楽",
                                "ExportCharacterSet=UTF-8N",
                                "Search0=hello",
                                "GroupList0=/Music/Live",
                                "FileList0=" + a,
                                "FileList1=" + data_.file("Music/gone.m3u"),
                                "FileList2=" + b,
                                "ActiveFileName=" + b,
                                "TimerList0=" + record};
  ASSERT_TRUE(QDir().mkpath(data_.file("quomm3u")));
  ASSERT_TRUE(SaveTextLines(prepared, IniPath("work")));

  RunAndStop({"-work"});
  const QStringList lines = IniLines("work");
  for (const char* kept :
       {"FormWidth=700", "OutputDeviceName=Test Output B", "Volume=70", "RepeatMode=1",
        "SearchFileDepthAll=False", "SearchFileDepth=4", "ExportFolder=/media/音楽",
        "ExportCharacterSet=UTF-8N", "Search0=hello", "GroupList0=/Music/Live"})
    EXPECT_TRUE(lines.contains(QString::fromUtf8(kept))) << kept;
  EXPECT_TRUE(lines.contains("TimerList0=" + record));
  EXPECT_EQ(lines.filter(QRegularExpression("^FileList\\d")),
            QStringList({"FileList0=" + a, "FileList1=" + b}));
  EXPECT_TRUE(lines.contains("ActiveFileName=" + b));
  // Keys the file lacked are written with their defaults.
  EXPECT_TRUE(lines.contains("ExportFolderLevel=1"));
  EXPECT_TRUE(lines.contains("WhenOpenSortFileRandom=True"));
}

}  // namespace
