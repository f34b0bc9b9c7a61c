#include "app/command_line.h"

#include <QFileInfo>

#include "platform/files.h"

namespace {

bool IsProfileSwitch(const QString& s) {
  if (s.size() < 3 || s.mid(1).contains(u'/')) return false;
  if (s.startsWith(u'-')) return true;
  return s.startsWith(u'/') && !QFileInfo::exists(s);
}

}  // namespace

QStringList ReadCommandLine(const QStringList& arguments, QString& appName) {
  QStringList paths;
  for (QString s : arguments) {
    if (IsProfileSwitch(s)) appName = s.mid(1);
    if (platform::IsSymbolicLink(s)) s = platform::ResolveSymbolicLink(s);
    paths.append(s);
  }
  return paths;
}
