#include "support/temp_dir.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <stdexcept>

namespace testing_support {

TempDir::TempDir() {
  if (!dir_.isValid()) throw std::runtime_error("cannot create a temporary folder");
}

QString TempDir::write(const QString& name, const QByteArray& bytes) const {
  const QString full = file(name);
  QDir().mkpath(QFileInfo(full).path());
  QFile f(full);
  if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
    throw std::runtime_error("cannot write test file");
  return full;
}

QByteArray TempDir::read(const QString& name) const {
  QFile f(file(name));
  if (!f.open(QIODevice::ReadOnly)) return QByteArray();
  return f.readAll();
}

}  // namespace testing_support
