#include "library/playlist_save.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QListWidget>
#include <algorithm>

#include "library/dialog_filter.h"
#include "library/file_music_lists.h"
#include "library/list_box.h"
#include "library/playlist.h"
#include "settings/settings.h"
#include "text/text_lines.h"

namespace {

const char16_t kPlaylistFilter[] = u"m3u ファイル(*.m3u)|*.m3u|すべてのファイル(*.*)|*.*";

// The folder that holds `path`: everything before its last "/", the root for a path directly
// in it (and for the root itself), the empty text for a bare name.
QString FolderOf(const QString& path) {
  const qsizetype slash = path.lastIndexOf(u'/');
  if (slash < 0) return QString();
  if (slash == 0) return QStringLiteral("/");
  return path.left(slash);
}

}  // namespace

std::unique_ptr<QFileDialog> MakeSavePlaylistDialog(QWidget* parent, const QString& folder,
                                                    const QString& fileName) {
  auto dialog = std::make_unique<QFileDialog>(parent);
  dialog->setObjectName(QStringLiteral("SavePlaylistDialog"));
  dialog->setAcceptMode(QFileDialog::AcceptSave);
  dialog->setFileMode(QFileDialog::AnyFile);
  dialog->setNameFilters(QtNameFilters(QString::fromUtf16(kPlaylistFilter)));
  dialog->setDefaultSuffix(QStringLiteral("m3u"));
  dialog->setOption(QFileDialog::DontConfirmOverwrite, false);
  dialog->setDirectory(folder);
  dialog->selectFile(fileName);
  return dialog;
}

QString CSavePlaylistDialog::SavePlaylistFileName(const QString& folder, const QString& fileName) {
  const auto dialog =
      MakeSavePlaylistDialog(anchor_ ? anchor_->window() : nullptr, folder, fileName);
  if (dialog->exec() != QDialog::Accepted) return QString();
  const QStringList chosen = dialog->selectedFiles();
  return chosen.isEmpty() ? QString() : chosen.first();
}

QString SavePlaylistStartFolder(const QString& track, int displayLevel) {
  return FolderOf(ParentPath(track, displayLevel));
}

QString ProposedPlaylistName(const QString& track) {
  const QString folder = FolderOf(track);
  const QString name = folder.mid(folder.lastIndexOf(u'/') + 1);
  if (name.isEmpty() || name.contains(u':')) return QStringLiteral("list.m3u");
  return name + QLatin1String(".m3u");
}

bool WritePlaylist(CFileMusicLists& lists, const QString& path) {
  const QString folder = QFileInfo(path).absolutePath();
  QStringList lines;
  lines.reserve(lists.MusicList.size());
  for (const QString& track : lists.MusicList) lines.append(RelativePlaylistLine(folder, track));
  // An entry for a file that was not written would name nothing, or an older playlist than
  // the one the user just saved.
  if (!SaveTextLines(lines, path)) return false;

  const int existing = lists.FileListIndexOf(path);
  if (existing >= 0) {
    lists.MakeFileEntryCurrent(existing);
    return true;
  }
  const int pos =
      std::clamp(FocusedRow(lists.FileLB()) + 1, 0, static_cast<int>(lists.FileList().size()));
  lists.InsertIntoFileList(pos, path);
  lists.FileIndex = pos;
  // Re-showing focuses and selects the current entry.
  lists.ShowFileList();
  return true;
}

void MnSavePlayListClick(CFileMusicLists& lists, const Settings& settings,
                         ISavePlaylistDialog& dialog) {
  if (lists.MusicList.isEmpty()) return;
  const int row = SelectedRow(lists.MusicLB());
  const QString track =
      row >= 0 && row < lists.MusicList.size() ? lists.MusicList[row] : lists.MusicList.first();
  const QString path = dialog.SavePlaylistFileName(
      SavePlaylistStartFolder(track, settings.DisplayLevel), ProposedPlaylistName(track));
  if (!path.isEmpty()) WritePlaylist(lists, path);
}

void MnSavePlayListClick(CFileMusicLists& lists, const Settings& settings) {
  CSavePlaylistDialog dialog(lists.MusicLB());
  MnSavePlayListClick(lists, settings, dialog);
}
