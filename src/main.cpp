// Entry point of quomm3u: the application, then the main window, the scan progress window and
// the transfer progress window in that order, then the rest of start-up and the event loop.
#include <QApplication>
#include <QMessageBox>
#include <cstdlib>
#include <exception>

#include "app/main_form.h"
#include "library/process_form.h"
#include "transfer/export_form.h"

namespace {

// An exception that escapes an event handler ends the program after a message box, with a
// non-zero status, instead of leaving a half-working window behind.
class TApplication : public QApplication {
 public:
  using QApplication::QApplication;
  bool notify(QObject* receiver, QEvent* event) override {
    try {
      return QApplication::notify(receiver, event);
    } catch (const std::exception& e) {
      Fail(QString::fromLocal8Bit(e.what()));
    } catch (...) {
      Fail(QStringLiteral("unknown error"));
    }
    return false;
  }
  static void Fail(const QString& message) {
    QMessageBox::critical(nullptr, applicationName(), message);
    std::exit(1);
  }
};

}  // namespace

int main(int argc, char** argv) {
  TApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("quom"));
  try {
    // The main window decides when the program ends: closing it only minimises.
    QApplication::setQuitOnLastWindowClosed(false);

    TMainForm mainForm(ProgramParts());
    TProcessForm processForm(&mainForm);
    TExportForm exportForm(&mainForm);
    mainForm.SetProgressWindows(&processForm, &exportForm);
    QObject::connect(&mainForm, &TMainForm::ShutDown, &app, &QCoreApplication::quit,
                     Qt::QueuedConnection);
    mainForm.Startup(app.arguments().mid(1));
    // A request to stop can arrive while start-up still waits in a dialog (the output question,
    // a folder scan); the shutdown has then run already, and there is no loop left to enter.
    if (mainForm.Finalized()) return 0;
    mainForm.show();
    return app.exec();
  } catch (const std::exception& e) {
    TApplication::Fail(QString::fromLocal8Bit(e.what()));
    return 1;
  }
}
