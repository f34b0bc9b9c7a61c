#pragma once
// Saving the music list as an M3U playlist (music-list menu "プレイリストを保存(&S)"), which then
// becomes the current file-list entry.

#include <QString>
#include <memory>

class CFileMusicLists;
class QFileDialog;
class QWidget;
struct Settings;

// The save dialog SavePlaylistDialog, behind an interface so that tests can script it.
class ISavePlaylistDialog {
 public:
  virtual ~ISavePlaylistDialog() = default;
  // Asks where to save, starting in `folder` with `fileName` proposed; the chosen path, or the
  // empty text when the dialog was cancelled.
  virtual QString SavePlaylistFileName(const QString& folder, const QString& fileName) = 0;
};

// The real dialog: a modal QFileDialog (see MakeSavePlaylistDialog) over the window of
// `anchor`.
class CSavePlaylistDialog final : public ISavePlaylistDialog {
 public:
  explicit CSavePlaylistDialog(QWidget* anchor) : anchor_(anchor) {}
  QString SavePlaylistFileName(const QString& folder, const QString& fileName) override;

 private:
  QWidget* anchor_;
};

// The dialog itself, set up but not shown: a save dialog named SavePlaylistDialog with the
// filter "m3u ファイル(*.m3u)|*.m3u|すべてのファイル(*.*)|*.*", the default extension "m3u" (added
// to a name typed without one) and a question before an existing file is replaced.
std::unique_ptr<QFileDialog> MakeSavePlaylistDialog(QWidget* parent, const QString& folder,
                                                    const QString& fileName);

// Where the dialog starts for the track `track`: the folder that holds ParentPath(track,
// displayLevel), so the folder above the track's own folder with level 1, and the track's own
// folder with level 0 or -1.
QString SavePlaylistStartFolder(const QString& track, int displayLevel);
// The file name proposed for the track `track`: its folder's name followed by ".m3u", or
// "list.m3u" when the track lies directly in "/" or the folder's name holds ":".
QString ProposedPlaylistName(const QString& track);

// Writes the music list of `lists` to `path` as an M3U file (a relative line per track,
// UTF-16LE without a mark, CR LF after every line) and makes the file the current file-list
// entry: an entry already in the list becomes current with its row focused and the only one
// selected; a new one is inserted after the focused row (first when there is none), made
// current and focused, and the file list re-shown. The music list is not reloaded. When the
// file cannot be written nothing is registered and the result is false.
bool WritePlaylist(CFileMusicLists& lists, const QString& path);

// The menu command: nothing with an empty music list; otherwise asks for a file with `dialog`,
// starting from the selected track (the first when none is selected), and writes the playlist
// there unless the dialog was cancelled.
void MnSavePlayListClick(CFileMusicLists& lists, const Settings& settings,
                         ISavePlaylistDialog& dialog);
// The same with the real dialog over the window of the music list.
void MnSavePlayListClick(CFileMusicLists& lists, const Settings& settings);
