#pragma once
// File-dialog filters written in the program's form, "Caption|patterns|Caption|patterns" with
// patterns separated by ";", translated for QFileDialog.

#include <QString>
#include <QStringList>

// One Qt name filter per caption. The caption is kept as it stands; the patterns follow it in
// parentheses, where Qt reads them, unless the caption already ends with exactly those. "*.*"
// means every file and becomes "*", because Qt would only match names with a dot.
QStringList QtNameFilters(const QString& filter);
