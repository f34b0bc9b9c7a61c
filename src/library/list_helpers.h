#pragma once
// The list algorithms behind the file-list, music-list and group-list commands, on plain string
// lists and row numbers so that they can be run without a window. The widget side only mirrors
// what these functions did to a list onto the rows of its list box.

#include <QList>
#include <QString>
#include <QStringList>

// The text a list row shows for a path: its last level + 1 components. "/" is the only
// separator, and the root "/" counts like the separator after a drive: with level 2,
// /Music/Artist/Album.m3u shows as Music/Artist/Album.m3u. The whole path is shown for a
// negative level or one that asks for more components than the path has.
QString PathTail(const QString& path, int level);

// The last component of a path (the file name with its extension): a music-list row.
QString PathFileName(const QString& path);

// A new order of a list: order[k] is the old index of the entry that goes to position k.
using ListOrder = QList<int>;

// Rearranges `list` by `order` (a permutation of its indexes).
void ApplyOrder(QStringList& list, const ListOrder& order);
// Where the entry at old index `index` went; -1 when the index designated no entry.
int IndexAfterOrder(const ListOrder& order, int index);

// A random order of `count` entries: while entries remain, one of them is drawn uniformly with
// platform::Random() and put next. The draws are exactly those of picking index k from the
// list of remaining entries and removing it, but take O(n log n) rather than O(n²).
ListOrder ShuffleOrder(int count);
// Puts the list in random order (ShuffleOrder). False, with nothing drawn, when it is empty.
bool ShuffleList(QStringList& list);

// The order that sorts by name: by the whole string, case-insensitive and locale-aware. With
// at most one row in `selectedRows` the whole list is sorted; otherwise only the entries of the
// selected rows (ascending, in range) are sorted among those positions and every other entry
// keeps its place. Entries that compare equal keep their relative order.
ListOrder SortOrder(const QStringList& list, const QList<int>& selectedRows);

// One step of a move: the entry at `from` went to the neighbouring position `to`, and the
// entry that was there went to `from`.
struct RowSwap {
  int from;
  int to;
};

// Moves each selected entry one place up (delta -1) or down (+1). A run of selected entries
// already at the edge stays where it is; the others move past their unselected neighbour, so a
// run moves as a block. `selectedRows` (ascending) follows the moved entries. Returns the
// swaps made, in order, so that a list box can repeat them on its rows.
QList<RowSwap> MoveSelectedEntries(QStringList& list, QList<int>& selectedRows, int delta);
// Where the entry at `index` is after the swaps (unchanged when no swap touched it).
int IndexAfterSwaps(int index, const QList<RowSwap>& swaps);

// Removes the entries at `rows` (ascending, in range). `index` moves back by one for each
// removed row at or before it, so removing the entry it designates makes the one before it
// current (and -1 when that was the first).
void RemoveEntries(QStringList& list, const QList<int>& rows, int& index);
