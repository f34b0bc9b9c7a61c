#pragma once

#include <QString>
#include <QStringList>

// Reads the program's arguments (without the program name). An argument of three or more
// characters that begins with "-" or "/" selects the profile (the last one wins), and yet every
// argument, a switch too, goes on to be opened as a path. The profile names a file, so NAME
// never holds a "/"; and because "/" also begins every absolute path here, "/NAME" counts as a
// switch only when nothing by that name exists: "/work" selects the profile work,
// "/home/me/album.m3u" and "/usr" are only paths. A symbolic
// link is replaced by its final target (the empty text when it dangles), as a shortcut is on
// other systems.
QStringList ReadCommandLine(const QStringList& arguments, QString& appName);
