#include "library/list_box.h"

#include <QItemSelectionModel>
#include <QListWidget>
#include <QScrollBar>
#include <algorithm>

#include "library/list_helpers.h"
#include "platform/keystate.h"

int FocusedRow(const QListWidget* listBox) { return listBox->currentRow(); }

void SetFocusedRow(QListWidget* listBox, int row) {
  if (row < 0 || row >= listBox->count()) row = -1;
  listBox->setCurrentRow(row, QItemSelectionModel::NoUpdate);
}

QList<int> SelectedRows(const QListWidget* listBox) {
  QList<int> rows;
  const QItemSelectionModel* model = listBox->selectionModel();
  if (!model) return rows;
  for (const QItemSelectionRange& range : model->selection())
    for (int row = range.top(); row <= range.bottom(); ++row) rows.append(row);
  std::sort(rows.begin(), rows.end());
  rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
  return rows;
}

bool IsRowSelected(const QListWidget* listBox, int row) {
  const QListWidgetItem* item = listBox->item(row);
  return item && item->isSelected();
}

void SelectRow(QListWidget* listBox, int row) {
  if (QListWidgetItem* item = listBox->item(row)) item->setSelected(true);
}

void SelectOnlyRow(QListWidget* listBox, int row) {
  listBox->clearSelection();
  SelectRow(listBox, row);
}

int SelectedRow(const QListWidget* listBox) {
  const QList<int> rows = SelectedRows(listBox);
  return rows.isEmpty() ? -1 : rows.first();
}

void SetSelectedRows(QListWidget* listBox, const QList<int>& rows) {
  // One selection of ranges, set at once after clearing: selecting row by row would search the
  // growing selection every time, and replacing one large selection by another in one step
  // makes the selection model compare every old range with every new one.
  listBox->clearSelection();
  QItemSelection selection;
  const QAbstractItemModel* model = listBox->model();
  for (qsizetype k = 0; k < rows.size();) {
    qsizetype end = k;
    while (end + 1 < rows.size() && rows[end + 1] == rows[end] + 1) ++end;
    if (rows[k] >= 0 && rows[end] < listBox->count())
      selection.select(model->index(rows[k], 0), model->index(rows[end], 0));
    k = end + 1;
  }
  if (!selection.isEmpty())
    listBox->selectionModel()->select(selection, QItemSelectionModel::Select);
}

void SetSelectedRow(QListWidget* listBox, int row) {
  if (row >= 0 && row < listBox->count()) {
    listBox->setCurrentRow(row, QItemSelectionModel::ClearAndSelect);
  } else {
    listBox->clearSelection();
    listBox->setCurrentRow(-1, QItemSelectionModel::NoUpdate);
  }
}

void SetRows(QListWidget* listBox, const QStringList& texts) {
  const bool updates = listBox->updatesEnabled();
  listBox->setUpdatesEnabled(false);
  listBox->clear();
  listBox->addItems(texts);
  listBox->setUpdatesEnabled(updates);
}

namespace {
// Up to this many rows are taken out one by one. Beyond it the list box is rebuilt from the
// rows that stay: each removal from a list box costs time in proportion to its rows and to the
// ranges of its selection, so removing every other row of 50,000 one by one takes seconds.
constexpr qsizetype kRowByRowLimit = 64;
}  // namespace

void RemoveRows(QListWidget* listBox, const QList<int>& rows) {
  if (rows.isEmpty()) return;
  const bool updates = listBox->updatesEnabled();
  listBox->setUpdatesEnabled(false);
  if (rows.size() <= kRowByRowLimit) {
    for (qsizetype k = rows.size() - 1; k >= 0; --k) delete listBox->takeItem(rows[k]);
    listBox->setUpdatesEnabled(updates);
    return;
  }
  // What stays: the texts, which of them were selected, and where the focus goes: its own row
  // when it stays, else the nearest row before it that stays, else the first one after it, as
  // the list box itself moves the focus when rows are taken out from the last to the first.
  const int focused = listBox->currentRow();
  const int scroll = listBox->verticalScrollBar()->value();
  QStringList texts;
  texts.reserve(listBox->count() - rows.size());
  // Asking each item whether it is selected would search the whole selection every time.
  const QList<int> wasSelected = SelectedRows(listBox);
  QList<int> selected;
  int focus = -1;
  qsizetype next = 0, nextSelected = 0;
  for (int i = 0; i < listBox->count(); ++i) {
    while (nextSelected < wasSelected.size() && wasSelected[nextSelected] < i) ++nextSelected;
    if (next < rows.size() && rows[next] == i) {
      ++next;
      continue;
    }
    if (focused >= 0 && (i <= focused || focus < 0)) focus = static_cast<int>(texts.size());
    if (nextSelected < wasSelected.size() && wasSelected[nextSelected] == i)
      selected.append(static_cast<int>(texts.size()));
    texts.append(listBox->item(i)->text());
  }
  listBox->clear();
  listBox->addItems(texts);
  SetFocusedRow(listBox, focus);
  SetSelectedRows(listBox, selected);
  listBox->verticalScrollBar()->setValue(scroll);
  listBox->setUpdatesEnabled(updates);
}

void SwapRowTexts(QListWidget* listBox, int a, int b) {
  QListWidgetItem* first = listBox->item(a);
  QListWidgetItem* second = listBox->item(b);
  if (!first || !second) return;
  const QString text = first->text();
  first->setText(second->text());
  second->setText(text);
}

bool SortList(QListWidget* listBox, QStringList& list, int* follow) {
  if (list.isEmpty()) return true;
  const int count = static_cast<int>(list.size());
  const int focused = FocusedRow(listBox);
  QList<int> selected = SelectedRows(listBox);
  selected.erase(
      std::remove_if(selected.begin(), selected.end(), [count](int row) { return row >= count; }),
      selected.end());
  const ListOrder order = SortOrder(list, selected);
  ApplyOrder(list, order);
  if (focused >= 0 && focused < count) SetFocusedRow(listBox, IndexAfterOrder(order, focused));
  if (follow) *follow = IndexAfterOrder(order, *follow);
  return true;
}

bool HandleListKey(int key, const ListKeyActions& actions) {
  switch (key) {
    case Qt::Key_Up:
    case Qt::Key_Down:
      if (!actions.Move || !platform::KeyState().AltDown()) return false;
      actions.Move(key == Qt::Key_Up ? -1 : 1);
      return true;
    case Qt::Key_Delete:
      if (!actions.Delete) return false;
      actions.Delete();
      return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
      if (!actions.Activate) return false;
      actions.Activate();
      return true;
    case Qt::Key_Space:
      if (!actions.PlayPause) return false;
      actions.PlayPause();
      return true;
    default:
      return false;
  }
}
