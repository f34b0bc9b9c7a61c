#pragma once
// The file list (the albums opened, each a playlist file) and the music list (the tracks of the
// current album), their current indexes, their list boxes FileLB and MusicLB, and the commands
// of the file page.

#include <QObject>
#include <QSet>
#include <QString>
#include <QStringList>
#include <memory>

#include "library/file_list_hooks.h"

class QListWidget;
struct Settings;

class CFileMusicLists : public QObject {
  Q_OBJECT

 public:
  // Takes over the two list boxes: FileLB gets extended selection, MusicLB single selection;
  // double clicks and the keys of both arrive at the handlers below. The settings, the list
  // boxes and the hooks must outlive this object.
  CFileMusicLists(Settings& settings, QListWidget* fileLB, QListWidget* musicLB,
                  const FileListHooks& hooks = {}, QObject* parent = nullptr);
  ~CFileMusicLists() override;

  // Rewires the hooks, for example once the transport exists.
  void SetHooks(const FileListHooks& hooks);

  // The file-list entries. Changed only through the operations below, which keep the look-up
  // set of AddToFileList in step with them.
  const QStringList& FileList() const { return fileList_; }
  // The current entry, -1 for none. It may point past the end; readers check the bounds.
  int FileIndex = -1;
  // The tracks of the current entry, in playing order. Other subsystems may append to it.
  QStringList MusicList;
  // The current track, -1 for none; may point past the end like FileIndex.
  int MusicIndex = -1;
  // The entry whose tracks were loaded last.
  QString CurrentAlbumPath;

  // Display.
  void ShowFileList();
  void ShowMusicList();
  void HighlightCurrent();

  // The index of the entry that names `path` (platform::SamePath), -1 when there is none.
  int FileListIndexOf(const QString& path) const;
  // Inserts `path` as the entry at `pos` (appended when pos is the size of the list; clamped
  // to the list), keeping the look-up set in step. False, with nothing changed, when the list
  // already holds it. FileIndex and FileLB are not touched; the caller re-shows the list.
  bool InsertIntoFileList(int pos, const QString& path);
  // Makes `index` the current entry, its row the focused and the only selected row of FileLB.
  // The tracks are not loaded.
  void MakeFileEntryCurrent(int index);

  // Puts entries into the file list, skipping those already in it. Replacing empties the list
  // first and makes entry 0 current; appending makes the first new entry current, or the last
  // entry when nothing was new. FileLB is not touched.
  void AddToFileList(const QStringList& entries, bool append);
  // Fills the music list from the current entry's playlist; false when there is no current
  // entry (a missing entry is removed first).
  bool LoadMusicList();
  // After an open: loads the current entry when it designates a row, else clears the
  // selection of FileLB.
  void LoadCurrentEntry();
  bool ShuffleFileList();
  bool ShuffleMusicList();

  // Commands of the file page.
  void FileLBDblClick();
  // Returns whether the key was used (and must not reach the list box).
  bool FileLBKeyDown(int key);
  void MusicLBDblClick();
  bool MusicLBKeyDown(int key);
  void MnFileSelectAllClick();
  void MnFileDeleteClick();
  void MnClearClick();
  void MnFileSortClick();
  void MnFileRandomClick();
  void FileRandomSBClick();
  void MnFileOpenClick();
  void MnFileSaveClick();
  void SaveSBClick();
  void MnMusicDeleteClick();
  void MnMusicClearClick();
  void MnMusicSortByNameClick();
  void MnMusicRandomClick();
  void MusicRandomSBClick();

  // The pieces of the key commands, also for other callers.
  void DeleteSelectedFileEntries();  // the Delete key in FileLB
  void MoveSelectedFileEntries(int delta);
  void MoveSelectedTrack(int delta);
  void DeleteSelectedTrack();

  QListWidget* FileLB() const { return fileLB_; }
  QListWidget* MusicLB() const { return musicLB_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  IListTransport& Transport();
  IPlaylistReader& Playlists();
  IListFiles& ListFiles();
  ITextFiles& TextFiles();
  IListDialogs& Dialogs();
  // The selected rows of FileLB that designate entries, ascending.
  QList<int> SelectedEntryRows() const;
  // Removes the entries at `rows` (ascending) from FileList, the look-up set and FileLB;
  // `index` moves back by one for every removed row at or before it.
  void RemoveFileEntries(const QList<int>& rows, int& index);
  void ClearFileList();
  void ClearMusicList();

  Settings& settings_;
  QListWidget* fileLB_;
  QListWidget* musicLB_;
  FileListHooks hooks_;

  QStringList fileList_;
  // SamePathKey of every entry of fileList_, so that AddToFileList tests membership in constant
  // time. Entries are unique, so a set is enough.
  QSet<QString> fileKeys_;

  NoListTransport noTransport_;
  NoPlaylistReader noPlaylists_;
  NoListFiles noListFiles_;
  NoTextFiles noTextFiles_;
  std::unique_ptr<CListDialogs> dialogs_;
};
