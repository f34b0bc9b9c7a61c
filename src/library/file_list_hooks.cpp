#include "library/file_list_hooks.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QWidget>

#include "platform/dialog_filter.h"

namespace {
QWidget* WindowOf(QWidget* anchor) { return anchor ? anchor->window() : nullptr; }
}  // namespace

bool CListDialogs::Confirm(const QString& question) {
  // Closing the box counts as Cancel.
  return QMessageBox::question(WindowOf(anchor_), QApplication::applicationDisplayName(), question,
                               QMessageBox::Yes | QMessageBox::Cancel,
                               QMessageBox::Yes) == QMessageBox::Yes;
}

QString CListDialogs::OpenFileName(const QString& filter) {
  return QFileDialog::getOpenFileName(WindowOf(anchor_), QString(), QString(),
                                      QtNameFilters(filter).join(QStringLiteral(";;")));
}
