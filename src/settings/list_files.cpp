#include "settings/list_files.h"

#include <QFileDialog>
#include <QWidget>

#include "platform/dialog_filter.h"
#include "platform/keystate.h"
#include "settings/list_blocks.h"
#include "text/text_lines.h"

namespace {

ListFileDialog MakeDialog(const char* name, ListFileDialog::Mode mode, const char* defaultExt,
                          const QString& filter, bool multiSelect = false) {
  ListFileDialog d;
  d.Name = QLatin1String(name);
  d.DialogMode = mode;
  d.DefaultExt = QLatin1String(defaultExt);
  d.Filter = filter;
  // Every save dialog asks before overwriting and hides the read-only box; every dialog can be
  // resized.
  d.OverwritePrompt = mode == ListFileDialog::Mode::Save;
  d.HideReadOnly = mode == ListFileDialog::Mode::Save;
  d.MultiSelect = multiSelect;
  d.Resizable = true;
  return d;
}

const QString kGroupFilter =
    QStringLiteral("QUOM Group File(*.qgf)|*.qgf|すべてのファイル(*.*)|*.*");
const QString kFileFilter = QStringLiteral("QUOM List File(*.qlf)|*.qlf|すべてのファイル(*.*)|*.*");
const QString kFileOpenFilter =
    QStringLiteral("QUOM File List(*.qfl)|*.qfl|すべてのファイル(*.*)|*.*");
const QString kTimerFilter =
    QStringLiteral("QUOM Timer File(*.qtf)|*.qtf|すべてのファイル(*.*)|*.*");

QWidget* WindowOf(QWidget* anchor) { return anchor ? anchor->window() : nullptr; }

// Shows a save dialog and writes the lines it was given to the chosen file.
bool SaveListFile(IListFileDialogs& dialogs, const ListFileDialog& dialog,
                  const QStringList& lines) {
  const QString path = dialogs.SaveFileName(dialog);
  if (path.isEmpty()) return false;
  SaveTextLines(lines, path);
  return true;
}

}  // namespace

using Mode = ListFileDialog::Mode;

const ListFileDialog& SaveGroupDialog() {
  static const ListFileDialog d = MakeDialog("SaveGroupDialog", Mode::Save, "qgf", kGroupFilter);
  return d;
}
const ListFileDialog& OpenGroupDialog() {
  static const ListFileDialog d = MakeDialog("OpenGroupDialog", Mode::Open, "quomtl", kGroupFilter);
  return d;
}
const ListFileDialog& SaveFileDialog() {
  static const ListFileDialog d = MakeDialog("SaveFileDialog", Mode::Save, "qlf", kFileFilter);
  return d;
}
const ListFileDialog& OpenFileDialog() {
  static const ListFileDialog d =
      MakeDialog("OpenFileDialog", Mode::Open, "", kFileOpenFilter, /*multiSelect=*/true);
  return d;
}
const ListFileDialog& SaveTimerDialog() {
  static const ListFileDialog d = MakeDialog("SaveTimerDialog", Mode::Save, "qtf", kTimerFilter);
  return d;
}
const ListFileDialog& OpenTimerDialog() {
  static const ListFileDialog d = MakeDialog("OpenTimerDialog", Mode::Open, "quomtl", kTimerFilter);
  return d;
}

void ConfigureListFileDialog(QFileDialog& fileDialog, const ListFileDialog& dialog) {
  const bool save = dialog.DialogMode == Mode::Save;
  fileDialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  fileDialog.setFileMode(save                 ? QFileDialog::AnyFile
                         : dialog.MultiSelect ? QFileDialog::ExistingFiles
                                              : QFileDialog::ExistingFile);
  fileDialog.setNameFilters(QtNameFilters(dialog.Filter));
  fileDialog.setDefaultSuffix(dialog.DefaultExt);
  // Qt's dialogs have no read-only check box, so HideReadOnly holds without a setting.
  fileDialog.setOption(QFileDialog::DontConfirmOverwrite, !dialog.OverwritePrompt);
  fileDialog.setSizeGripEnabled(dialog.Resizable);
}

QString CListFileDialogs::SaveFileName(const ListFileDialog& dialog) {
  QFileDialog fileDialog(WindowOf(anchor_));
  ConfigureListFileDialog(fileDialog, dialog);
  if (fileDialog.exec() != QDialog::Accepted) return QString();
  const QStringList chosen = fileDialog.selectedFiles();
  return chosen.isEmpty() ? QString() : chosen.first();
}

QStringList CListFileDialogs::OpenFileNames(const ListFileDialog& dialog) {
  QFileDialog fileDialog(WindowOf(anchor_));
  ConfigureListFileDialog(fileDialog, dialog);
  if (fileDialog.exec() != QDialog::Accepted) return {};
  return fileDialog.selectedFiles();
}

bool SaveGroupListFile(IListFileDialogs& dialogs, const QStringList& groupList) {
  return SaveListFile(dialogs, SaveGroupDialog(), groupList);
}

bool SaveFileListFile(IListFileDialogs& dialogs, const QStringList& fileList) {
  QStringList lines;
  WriteFileBlock(lines, fileList);
  return SaveListFile(dialogs, SaveFileDialog(), lines);
}

bool SaveTimerListFile(IListFileDialogs& dialogs, const TimerList& timers, int rowCount) {
  QStringList lines;
  WriteTimerBlock(lines, timers, rowCount);
  return SaveListFile(dialogs, SaveTimerDialog(), lines);
}

bool OpenGroupListFile(IListFileDialogs& dialogs, QStringList& groupList) {
  const QStringList chosen = dialogs.OpenFileNames(OpenGroupDialog());
  if (chosen.isEmpty()) return false;
  QStringList lines;
  LoadTextLines(lines, chosen.first());
  // Control is read now, not from the event that started the command.
  if (!platform::KeyState().ControlDown()) groupList.clear();
  groupList.append(lines);
  return true;
}

void ReadTimerListFile(const QString& path, TimerList& timers) {
  QStringList lines;
  LoadTextLines(lines, path);
  ReadTimerBlock(lines, timers);
}

void CListFiles::SaveFileListFile(const QStringList& fileList) {
  ::SaveFileListFile(dialogs_, fileList);
}

QStringList CListFiles::ReadFileBlock(const QStringList& lines) {
  QStringList files;
  ::ReadFileBlock(lines, files);
  return files;
}
