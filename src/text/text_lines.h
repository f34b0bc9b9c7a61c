#pragma once
// Lists of lines (the program's string lists) to and from text buffers and files.

#include <QString>
#include <QStringList>

class CStock;

// Appends every line followed by one U+000A. In text mode the text stays terminated. False,
// with nothing appended, only when the text would not fit in a buffer.
bool AppendLinesToText(CStock& text, const QStringList& lines);

// Appends the lines of a text to `lines`: the pieces between U+000A, each with every character
// of code 32 or less (spaces, tabs, CR, other controls) removed from both ends. A text ending
// with U+000A yields no line after it; an empty text yields none.
void SplitTextLines(QStringList& lines, const CStock& text);

// Writes the lines as a file in "UTF-16LE" (no mark) with "CR + LF" after every line, the last
// one too. True when the file was written; on failure an old file at `path` stays whole.
bool SaveTextLines(const QStringList& lines, const QString& path);

// Reads a file and appends its lines to `lines`, the encoding and line end detected with
// "Shift-JIS" and "CR + LF" as fallback. A file that cannot be read adds no line.
void LoadTextLines(QStringList& lines, const QString& path);
