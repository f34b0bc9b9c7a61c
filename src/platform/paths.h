#pragma once
// Path facts that differ between platforms: where per-user data lives and when two paths name
// the same file.

#include <QString>

namespace platform {

// The per-user local application-data folder ($XDG_DATA_HOME, normally ~/.local/share), without
// a trailing separator. The program keeps its ini files in the folder quomm3u below it.
QString LocalAppDataFolder();

// Whether two paths name the same entry of a list. Linux file systems are case-sensitive, so
// A.m3u and a.m3u are two files: the comparison is exact here.
bool SamePath(const QString& a, const QString& b);
// The key under which a path is hashed for SamePath look-ups: equal keys exactly when SamePath.
QString SamePathKey(const QString& path);

}  // namespace platform
