#include "library/shell_commands.h"

#include <QListWidget>

#include "library/file_music_lists.h"
#include "library/group_list.h"
#include "library/list_box.h"
#include "platform/shell.h"

namespace {

bool InRange(int index, qsizetype size) { return index >= 0 && index < size; }

// The text of `row`; false when the list box has no such row.
bool RowText(const QListWidget* listBox, int row, QString& text) {
  if (!InRange(row, listBox->count())) return false;
  text = listBox->item(row)->text();
  return true;
}

}  // namespace

QString RemoveExtension(const QString& text) {
  const qsizetype dot = text.lastIndexOf(QLatin1Char('.'));
  if (dot < 0 || text.indexOf(QLatin1Char('/'), dot) >= 0) return text;
  return text.left(dot);
}

QString FileRowClipboardText(const QString& rowText) {
  QString text = RemoveExtension(rowText);
  if (text.startsWith(QLatin1Char('/'))) text.remove(0, 1);
  return text.replace(QLatin1Char('/'), QLatin1String(" - "));
}

CShellCommands::CShellCommands(CFileMusicLists& lists, CGroupList& groups, platform::IShell* shell)
    : lists_(lists), groups_(groups), shell_(shell) {}

platform::IShell& CShellCommands::Shell() { return shell_ ? *shell_ : platform::Shell(); }

void CShellCommands::MnFileCopyClick() {
  QString row;
  if (RowText(lists_.FileLB(), FocusedRow(lists_.FileLB()), row))
    Shell().SetClipboardText(FileRowClipboardText(row));
}

void CShellCommands::MnFileExplorerOpenClick() {
  const QStringList& list = lists_.FileList();
  const int row = FocusedRow(lists_.FileLB());
  if (InRange(row, list.size())) Shell().ShowInExplorer(list[row]);
}

void CShellCommands::MnMusicCopyClick() {
  QString row;
  if (RowText(lists_.MusicLB(), SelectedRow(lists_.MusicLB()), row))
    Shell().SetClipboardText(RemoveExtension(row));
}

void CShellCommands::MnMusicOpenExplorerClick() {
  const QStringList& list = lists_.MusicList;
  const int row = SelectedRow(lists_.MusicLB());
  if (InRange(row, list.size())) Shell().ShowInExplorer(list[row]);
}

void CShellCommands::MnGroupCopyClick() {
  const int row = FocusedRow(groups_.GroupLB());
  if (InRange(row, groups_.GroupList.size())) Shell().SetClipboardText(groups_.GroupList[row]);
}

void CShellCommands::MnGroupExplorerOpenClick() {
  const int row = FocusedRow(groups_.GroupLB());
  if (InRange(row, groups_.GroupList.size())) Shell().ShowInExplorer(groups_.GroupList[row]);
}
