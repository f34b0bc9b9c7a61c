#include "platform/paths.h"

#include <QDir>
#include <QStandardPaths>

namespace platform {

QString LocalAppDataFolder() {
  QString dir = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
  while (dir.size() > 1 && dir.endsWith(QLatin1Char('/'))) dir.chop(1);
  return dir;
}

bool SamePath(const QString& a, const QString& b) { return a == b; }
QString SamePathKey(const QString& path) { return path; }

}  // namespace platform
