#pragma once
// A temporary folder for one test, removed with everything in it at the end.

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

namespace testing_support {

class TempDir {
 public:
  TempDir();
  QString path() const { return dir_.path(); }
  // Full path of a name inside the folder.
  QString file(const QString& name) const { return dir_.path() + QLatin1Char('/') + name; }
  // Writes a file (creating its folders) and returns its full path.
  QString write(const QString& name, const QByteArray& bytes) const;
  QByteArray read(const QString& name) const;

 private:
  QTemporaryDir dir_;
};

}  // namespace testing_support
