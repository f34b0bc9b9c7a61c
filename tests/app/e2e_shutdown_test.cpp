// The real executable: a request to stop the process ends it through the normal shutdown, with
// a clean exit status, instead of killing it where it stands.
#include <gtest/gtest.h>
#include <signal.h>

#include <QElapsedTimer>
#include <QProcess>

#include "support/temp_dir.h"

namespace {

QString ProgramPath() { return qEnvironmentVariable("QUOMM3U_BIN") + "/quomm3u"; }

class Shutdown : public ::testing::TestWithParam<int> {};

TEST_P(Shutdown, SignalEndsTheProgramThroughItsShutdown) {
  testing_support::TempDir data;
  QProcess program;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert("QT_QPA_PLATFORM", "offscreen");
  env.insert("XDG_DATA_HOME", data.path());
  program.setProcessEnvironment(env);
  program.setProcessChannelMode(QProcess::ForwardedErrorChannel);
  program.start(ProgramPath(), {});
  ASSERT_TRUE(program.waitForStarted(5000)) << ProgramPath().toStdString();
  // Give it time to build its window and enter its event loop.
  EXPECT_FALSE(program.waitForFinished(1500));
  ASSERT_EQ(program.state(), QProcess::Running);

  QElapsedTimer clock;
  clock.start();
  ::kill(static_cast<pid_t>(program.processId()), GetParam());
  ASSERT_TRUE(program.waitForFinished(5000));
  EXPECT_LT(clock.elapsed(), 2000);
  EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(program.exitCode(), 0);
}

std::string SignalName(const ::testing::TestParamInfo<int>& signal) {
  return signal.param == SIGTERM ? "SIGTERM" : signal.param == SIGHUP ? "SIGHUP" : "SIGINT";
}

INSTANTIATE_TEST_SUITE_P(Signals, Shutdown, ::testing::Values(SIGTERM, SIGHUP, SIGINT), SignalName);

}  // namespace
