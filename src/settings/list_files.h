#pragma once
// The program's list files and the dialogs that name them: group-list files (.qgf, one path a
// line), file-list files (.qlf, a file block) and timer-list files (.qtf, a timer block). All
// are written as UTF-16LE without a mark, CR LF after every line, and read back with detection
// and every line trimmed.

#include <QString>
#include <QStringList>

#include "library/file_list_hooks.h"
#include "timers/timer_list.h"

class QFileDialog;
class QWidget;

// What one list-file dialog looks like.
struct ListFileDialog {
  enum class Mode { Open, Save };
  QString Name;  // SaveGroupDialog, OpenGroupDialog, ...
  Mode DialogMode = Mode::Open;
  QString DefaultExt;  // appended to a name typed without an extension; empty for none
  QString Filter;      // "Caption|patterns|Caption|patterns"
  bool OverwritePrompt = false;
  bool HideReadOnly = false;
  bool MultiSelect = false;
  bool Resizable = true;
};

const ListFileDialog& SaveGroupDialog();
const ListFileDialog& OpenGroupDialog();
const ListFileDialog& SaveFileDialog();
const ListFileDialog& OpenFileDialog();
const ListFileDialog& SaveTimerDialog();
const ListFileDialog& OpenTimerDialog();

// Shows the dialogs. Tests script them.
class IListFileDialogs {
 public:
  virtual ~IListFileDialogs() = default;
  // The chosen path; empty when the dialog was cancelled.
  virtual QString SaveFileName(const ListFileDialog& dialog) = 0;
  // The chosen paths (several only for a multi-select dialog); none when cancelled.
  virtual QStringList OpenFileNames(const ListFileDialog& dialog) = 0;
};

// The real dialogs: QFileDialog, modal to the window of `anchor`.
class CListFileDialogs final : public IListFileDialogs {
 public:
  explicit CListFileDialogs(QWidget* anchor) : anchor_(anchor) {}
  QString SaveFileName(const ListFileDialog& dialog) override;
  QStringList OpenFileNames(const ListFileDialog& dialog) override;

 private:
  QWidget* anchor_;
};

// Gives a QFileDialog the properties of `dialog`.
void ConfigureListFileDialog(QFileDialog& fileDialog, const ListFileDialog& dialog);

// The list-file commands. Each is false when its dialog was cancelled, true otherwise; a
// failed write or read is not reported (a file that cannot be read gives no lines).
bool SaveGroupListFile(IListFileDialogs& dialogs, const QStringList& groupList);
bool SaveFileListFile(IListFileDialogs& dialogs, const QStringList& fileList);
// One line per row of the timer list box, as WriteTimerBlock.
bool SaveTimerListFile(IListFileDialogs& dialogs, const TimerList& timers, int rowCount);
// Reads the chosen .qgf file; the group list is emptied first unless a Control key is held at
// this moment, which appends. Every line becomes an entry, an empty line an empty entry. The
// caller redraws the group list.
bool OpenGroupListFile(IListFileDialogs& dialogs, QStringList& groupList);

// The timers of a timer-list file appended to `timers` (ReadTimerBlock over its lines).
void ReadTimerListFile(const QString& path, TimerList& timers);

// The list files as the file list uses them.
class CListFiles final : public IListFiles {
 public:
  explicit CListFiles(IListFileDialogs& dialogs) : dialogs_(dialogs) {}
  // SaveFileDialog, then the file block written there.
  void SaveFileListFile(const QStringList& fileList) override;
  // The file-block entries of the lines that name existing files.
  QStringList ReadFileBlock(const QStringList& lines) override;

 private:
  IListFileDialogs& dialogs_;
};
