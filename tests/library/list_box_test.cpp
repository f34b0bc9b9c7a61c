#include "library/list_box.h"

#include <gtest/gtest.h>

#include <QListWidget>

#include "qt_print.h"

namespace {

QStringList Rows(const QListWidget& lb) {
  QStringList rows;
  for (int i = 0; i < lb.count(); ++i) rows << lb.item(i)->text();
  return rows;
}

// Removing few rows takes them out one by one, many rows rebuilds the list box; both must leave
// the same rows, selection and focus.
TEST(RemoveRows, FewOrManyRowsLeaveTheSameRowsSelectionAndFocus) {
  for (int count : {20, 200}) {
    QListWidget lb;
    lb.setSelectionMode(QAbstractItemView::ExtendedSelection);
    QStringList texts, kept;
    QList<int> removed;
    for (int i = 0; i < count; ++i) {
      texts << QString::number(i);
      if (i % 2 == 0)
        removed << i;
      else
        kept << QString::number(i);
    }
    SetRows(&lb, texts);
    SetSelectedRows(&lb, {3, 4, 5, count - 1});  // 4 goes, the others stay selected
    SetFocusedRow(&lb, 6);                       // goes: the focus moves to the row before, 5

    RemoveRows(&lb, removed);
    EXPECT_EQ(Rows(lb), kept) << count;
    EXPECT_EQ(SelectedRows(&lb), (QList<int>{1, 2, count / 2 - 1})) << count;
    EXPECT_EQ(FocusedRow(&lb), 2) << count;
  }
}

TEST(ListBoxFocus, MovingTheFocusLeavesTheSelectionAlone) {
  QListWidget lb;
  lb.setSelectionMode(QAbstractItemView::ExtendedSelection);
  SetRows(&lb, {"a", "b", "c"});
  SelectOnlyRow(&lb, 0);
  SetFocusedRow(&lb, 2);
  EXPECT_EQ(FocusedRow(&lb), 2);
  EXPECT_EQ(SelectedRows(&lb), QList<int>{0});
  SetFocusedRow(&lb, 7);
  EXPECT_EQ(FocusedRow(&lb), -1);
}

}  // namespace
