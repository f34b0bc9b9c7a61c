// The real executable: a request to stop the process ends it through the normal shutdown, with
// a clean exit status, instead of killing it where it stands.
#include <gtest/gtest.h>
#include <signal.h>

#include <QElapsedTimer>
#include <QProcess>

#include "support/program.h"
#include "support/temp_dir.h"

namespace {

class Shutdown : public ::testing::TestWithParam<int> {};

TEST_P(Shutdown, SignalEndsTheProgramThroughItsShutdown) {
  testing_support::TempDir data;
  QProcess program;
  ASSERT_TRUE(testing_support::StartProgram(program, data.path()))
      << testing_support::ProgramPath().toStdString();
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
