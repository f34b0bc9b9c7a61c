// Entry point of quomm3u.
#include <QApplication>
#include <QMainWindow>

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("quom"));
  QMainWindow window;
  window.setWindowTitle(QStringLiteral("quomm3u"));
  window.resize(668, 729);
  window.show();
  return app.exec();
}
