#pragma once
// File masks as the program uses them: "*" for any run of characters (separators too), "?"
// for any one character, "[...]" for a set ("[a-c]" a range, "[!...]" the complement), the
// whole name matched without regard to case. A mask list is several masks separated by ";".

#include <QString>

// Whether `name` matches the one mask. An empty mask matches nothing.
bool MatchesMask(const QString& name, const QString& mask);

// Whether `name` matches one of the masks of `maskList`. The list is trimmed of blanks and
// control characters at both ends, and again after every ";"; the masks are tried in order
// until one matches or the rest of the list is empty. An empty list matches nothing.
// Folder scans ask this for every file, so each mask list is compiled once per thread and
// reused.
bool MatchesMaskList(const QString& name, const QString& maskList);
