#include "support/program.h"

#include <QProcessEnvironment>

namespace testing_support {

QString ProgramPath() { return qEnvironmentVariable("QUOMM3U_BIN") + "/quomm3u"; }

bool StartProgram(QProcess& program, const QString& dataHome, const QStringList& arguments) {
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert("QT_QPA_PLATFORM", "offscreen");
  env.insert("XDG_DATA_HOME", dataHome);
  program.setProcessEnvironment(env);
  program.setProcessChannelMode(QProcess::ForwardedErrorChannel);
  program.start(ProgramPath(), arguments);
  return program.waitForStarted(5000);
}

}  // namespace testing_support
