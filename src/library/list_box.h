#pragma once
// The few things the list commands do with a QListWidget, in the terms they use: the focused
// row is the current row, the selected rows are the selection. Setting the focus never changes
// the selection, so that "make it the focused row, then select it" does exactly that.

#include <QList>
#include <QStringList>
#include <functional>

class QListWidget;

// The focused row, -1 when there is none.
int FocusedRow(const QListWidget* listBox);
// Moves the focus to `row` (none when out of range) and leaves the selection alone.
void SetFocusedRow(QListWidget* listBox, int row);
// The selected rows, ascending.
QList<int> SelectedRows(const QListWidget* listBox);
bool IsRowSelected(const QListWidget* listBox, int row);
// Adds `row` to the selection (nothing when out of range).
void SelectRow(QListWidget* listBox, int row);
// Clears the selection and selects `row` only (none when out of range).
void SelectOnlyRow(QListWidget* listBox, int row);
// Makes `rows` (ascending) the whole selection.
void SetSelectedRows(QListWidget* listBox, const QList<int>& rows);
// For a single-selection list box: the selected row, -1 when there is none.
int SelectedRow(const QListWidget* listBox);
// For a single-selection list box: makes `row` the selected and focused row; out of range
// clears both.
void SetSelectedRow(QListWidget* listBox, int row);
// Replaces every row by `texts`, in one batch and with drawing held back until the end.
void SetRows(QListWidget* listBox, const QStringList& texts);
// Removes the rows (ascending, in range).
void RemoveRows(QListWidget* listBox, const QList<int>& rows);
// Exchanges the texts of two rows (the selection stays with the row numbers).
void SwapRowTexts(QListWidget* listBox, int a, int b);

// Sorts `list` by name (case-insensitive, locale-aware): the whole list when at most one row
// of `listBox` is selected, else only the entries of the selected rows among their own
// positions. Afterwards the focused row is the new row of the entry that had the focus. The
// rows' texts are not touched: the caller re-shows the list. When `follow` is given, the index
// it points at is moved to the new position of its entry (-1 when it designated none).
// Always true.
bool SortList(QListWidget* listBox, QStringList& list, int* follow = nullptr);

// The keys the program's list boxes share. Plain Up and Down stay the list box's own; with Alt
// held at that moment they move the selection by one row. A missing action leaves its key to
// the list box. True when the key was used.
struct ListKeyActions {
  std::function<void(int delta)> Move;
  std::function<void()> Delete;
  std::function<void()> Activate;   // Enter
  std::function<void()> PlayPause;  // Space, taken so the list box does not also select
};
bool HandleListKey(int key, const ListKeyActions& actions);
