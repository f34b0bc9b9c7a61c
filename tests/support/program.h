#pragma once
// Starting the real executable of the build under test (QUOMM3U_BIN) the way the end-to-end
// tests need it: offscreen, with its settings below a test's own data folder and its messages
// passed through to the test's output.

#include <QProcess>
#include <QString>
#include <QStringList>

namespace testing_support {

QString ProgramPath();

// Starts the program with `arguments` and XDG_DATA_HOME set to `dataHome`; true once it runs.
bool StartProgram(QProcess& program, const QString& dataHome, const QStringList& arguments = {});

}  // namespace testing_support
