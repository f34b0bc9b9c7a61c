#include "library/file_music_lists.h"

#include <QAbstractItemView>
#include <QEvent>
#include <QKeyEvent>
#include <QListWidget>
#include <algorithm>

#include "library/list_box.h"
#include "library/list_helpers.h"
#include "library/mask_list.h"
#include "platform/files.h"
#include "platform/keystate.h"
#include "platform/paths.h"
#include "settings/settings.h"

namespace {

const char16_t kClearQuestion[] = u"ファイルリストをすべて削除してよろしいですか？";
const char16_t kFileListFilter[] = u"QUOM File List(*.qfl)|*.qfl|すべてのファイル(*.*)|*.*";

bool InRange(int index, qsizetype size) { return index >= 0 && index < size; }

}  // namespace

CFileMusicLists::CFileMusicLists(Settings& settings, QListWidget* fileLB, QListWidget* musicLB,
                                 const FileListHooks& hooks, QObject* parent)
    : QObject(parent),
      settings_(settings),
      fileLB_(fileLB),
      musicLB_(musicLB),
      hooks_(hooks),
      dialogs_(std::make_unique<CListDialogs>(fileLB)) {
  fileLB_->setSelectionMode(QAbstractItemView::ExtendedSelection);
  musicLB_->setSelectionMode(QAbstractItemView::SingleSelection);
  // Every row is one line of text; uniform sizes spare the view measuring tens of thousands.
  fileLB_->setUniformItemSizes(true);
  musicLB_->setUniformItemSizes(true);
  fileLB_->installEventFilter(this);
  musicLB_->installEventFilter(this);
  connect(fileLB_, &QListWidget::itemDoubleClicked, this, [this] { FileLBDblClick(); });
  connect(musicLB_, &QListWidget::itemDoubleClicked, this, [this] { MusicLBDblClick(); });
}

CFileMusicLists::~CFileMusicLists() = default;

void CFileMusicLists::SetHooks(const FileListHooks& hooks) { hooks_ = hooks; }

IListTransport& CFileMusicLists::Transport() {
  return hooks_.Transport ? *hooks_.Transport : noTransport_;
}
IPlaylistReader& CFileMusicLists::Playlists() {
  return hooks_.Playlists ? *hooks_.Playlists : noPlaylists_;
}
IListFiles& CFileMusicLists::ListFiles() {
  return hooks_.ListFiles ? *hooks_.ListFiles : noListFiles_;
}
ITextFiles& CFileMusicLists::TextFiles() {
  return hooks_.TextFiles ? *hooks_.TextFiles : noTextFiles_;
}
IListDialogs& CFileMusicLists::Dialogs() { return hooks_.Dialogs ? *hooks_.Dialogs : *dialogs_; }

bool CFileMusicLists::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (watched == fileLB_) return FileLBKeyDown(key);
    if (watched == musicLB_) return MusicLBKeyDown(key);
  }
  return QObject::eventFilter(watched, event);
}

// ---- Display ----

void CFileMusicLists::ShowFileList() {
  QStringList texts;
  texts.reserve(fileList_.size());
  for (const QString& entry : fileList_) texts.append(PathTail(entry, settings_.DisplayLevel));
  SetRows(fileLB_, texts);
  if (InRange(FileIndex, fileLB_->count())) {
    SetFocusedRow(fileLB_, FileIndex);
    SelectOnlyRow(fileLB_, FileIndex);
  }
}

void CFileMusicLists::ShowMusicList() {
  QStringList texts;
  texts.reserve(MusicList.size());
  for (const QString& track : MusicList) texts.append(PathFileName(track));
  SetRows(musicLB_, texts);
  if (InRange(MusicIndex, musicLB_->count())) SetSelectedRow(musicLB_, MusicIndex);
}

void CFileMusicLists::HighlightCurrent() {
  if (musicLB_->count() > 0) SetSelectedRow(musicLB_, MusicIndex);
  if (fileLB_->count() > 0) {
    fileLB_->clearSelection();
    if (FocusedRow(fileLB_) >= 0 && InRange(FileIndex, fileLB_->count()))
      SelectRow(fileLB_, FileIndex);
  }
}

// ---- The lists ----

void CFileMusicLists::AddToFileList(const QStringList& entries, bool append) {
  if (append) {
    FileIndex = static_cast<int>(fileList_.size());
  } else {
    FileIndex = 0;
    fileList_.clear();
    fileKeys_.clear();
  }
  bool added = false;
  for (const QString& entry : entries) {
    const QString key = platform::SamePathKey(entry);
    if (fileKeys_.contains(key)) continue;
    fileKeys_.insert(key);
    fileList_.append(entry);
    added = true;
  }
  if (append && !added) FileIndex = static_cast<int>(fileList_.size()) - 1;
}

int CFileMusicLists::FileListIndexOf(const QString& path) const {
  // The look-up set answers "not there" without a walk through the list.
  if (!fileKeys_.contains(platform::SamePathKey(path))) return -1;
  for (qsizetype i = 0; i < fileList_.size(); ++i)
    if (platform::SamePath(fileList_[i], path)) return static_cast<int>(i);
  return -1;
}

bool CFileMusicLists::InsertIntoFileList(int pos, const QString& path) {
  const QString key = platform::SamePathKey(path);
  if (fileKeys_.contains(key)) return false;
  fileKeys_.insert(key);
  fileList_.insert(std::clamp<qsizetype>(pos, 0, fileList_.size()), path);
  return true;
}

void CFileMusicLists::MakeFileEntryCurrent(int index) {
  FileIndex = index;
  SetFocusedRow(fileLB_, index);
  SelectOnlyRow(fileLB_, index);
}

void CFileMusicLists::RemoveFileEntries(const QList<int>& rows, int& index) {
  for (int row : rows) fileKeys_.remove(platform::SamePathKey(fileList_[row]));
  RemoveEntries(fileList_, rows, index);
  QList<int> shown;
  for (int row : rows)
    if (row < fileLB_->count()) shown.append(row);
  RemoveRows(fileLB_, shown);
}

QList<int> CFileMusicLists::SelectedEntryRows() const {
  QList<int> rows = SelectedRows(fileLB_);
  while (!rows.isEmpty() && rows.last() >= fileList_.size()) rows.removeLast();
  return rows;
}

void CFileMusicLists::ClearFileList() {
  fileList_.clear();
  fileKeys_.clear();
  fileLB_->clear();
}

void CFileMusicLists::ClearMusicList() {
  MusicList.clear();
  musicLB_->clear();
  MusicIndex = -1;
}

bool CFileMusicLists::LoadMusicList() {
  IListTransport& transport = Transport();
  const bool wasPlaying = transport.Playing();
  // Whatever happens, the rows of MusicLB keep mirroring MusicList: a failed load shows an
  // empty list rather than the tracks of the album before.
  MusicList.clear();
  if (!InRange(FileIndex, fileList_.size())) {
    ClearMusicList();
    return false;
  }
  if (!platform::FileExists(fileList_[FileIndex])) {
    int unchanged = FileIndex;  // the next entry moves up into the current place
    RemoveFileEntries({FileIndex}, unchanged);
    if (FileIndex >= fileList_.size()) {
      if (fileList_.isEmpty()) {
        ClearMusicList();
        return false;
      }
      FileIndex = static_cast<int>(fileList_.size()) - 1;
      SetFocusedRow(fileLB_, FileIndex);
      SelectOnlyRow(fileLB_, FileIndex);
    }
    // The entry that took its place is loaded as it is; a missing one is caught next time.
  }
  if (wasPlaying) transport.PlayerClose();

  const QString entry = fileList_[FileIndex];
  QStringList tracks = Playlists().ReadPlaylist(entry);
  CurrentAlbumPath = entry;
  // Shuffled before the media mask is applied, so the kept tracks come in random order too.
  if (settings_.RandomMusic) ShuffleList(tracks);
  for (const QString& track : tracks)
    if (MatchesMaskList(track, settings_.MediaMask)) MusicList.append(track);
  MusicIndex = MusicList.isEmpty() ? -1 : 0;
  ShowMusicList();
  if (wasPlaying) transport.PlayFromStart();
  return true;
}

void CFileMusicLists::LoadCurrentEntry() {
  if (fileLB_->count() > FileIndex)
    LoadMusicList();
  else
    fileLB_->clearSelection();
}

bool CFileMusicLists::ShuffleFileList() {
  if (fileList_.isEmpty()) return false;
  const ListOrder order = ShuffleOrder(static_cast<int>(fileList_.size()));
  ApplyOrder(fileList_, order);
  FileIndex = IndexAfterOrder(order, FileIndex);
  ShowFileList();
  return true;
}

bool CFileMusicLists::ShuffleMusicList() {
  if (MusicList.isEmpty()) return false;
  const ListOrder order = ShuffleOrder(static_cast<int>(MusicList.size()));
  ApplyOrder(MusicList, order);
  MusicIndex = IndexAfterOrder(order, MusicIndex);
  ShowMusicList();
  return true;
}

// ---- File-list commands ----

void CFileMusicLists::FileLBDblClick() {
  const int row = FocusedRow(fileLB_);
  if (!InRange(row, fileList_.size())) return;
  FileIndex = row;
  SelectOnlyRow(fileLB_, row);
  IListTransport& transport = Transport();
  transport.StopTrack();
  LoadMusicList();
  transport.OpenCurrentTrack();
  if (!transport.Playing() && settings_.PlayWhenOpen) transport.PlayFromStart();
}

bool CFileMusicLists::FileLBKeyDown(int key) {
  ListKeyActions actions;
  actions.Move = [this](int delta) { MoveSelectedFileEntries(delta); };
  actions.Delete = [this] { DeleteSelectedFileEntries(); };
  actions.Activate = [this] { FileLBDblClick(); };
  actions.PlayPause = [this] { Transport().PlayPauseSBClick(); };
  return HandleListKey(key, actions);
}

void CFileMusicLists::DeleteSelectedFileEntries() {
  IListTransport& transport = Transport();
  if (transport.Playing() && IsRowSelected(fileLB_, FileIndex)) transport.StopTrack();
  // Deleting the current entry makes the one before it current.
  RemoveFileEntries(SelectedEntryRows(), FileIndex);
  if (FileIndex < 0 && fileLB_->count() > 0) {
    SelectRow(fileLB_, 0);
    SetFocusedRow(fileLB_, 0);
    FileIndex = 0;
  }
  if (transport.Playing()) SelectRow(fileLB_, FileIndex);
}

void CFileMusicLists::MoveSelectedFileEntries(int delta) {
  if (fileList_.isEmpty()) return;
  QList<int> selected = SelectedRows(fileLB_);
  const int focused = FocusedRow(fileLB_);
  const QList<RowSwap> swaps = MoveSelectedEntries(fileList_, selected, delta);
  for (const RowSwap& s : swaps) SwapRowTexts(fileLB_, s.from, s.to);
  SetSelectedRows(fileLB_, selected);
  // The current entry stays current wherever the move puts it, also when a neighbour moves
  // onto its position; otherwise the index would designate an album whose tracks are not
  // loaded. The focus likewise stays on its entry.
  FileIndex = IndexAfterSwaps(FileIndex, swaps);
  if (focused >= 0) SetFocusedRow(fileLB_, IndexAfterSwaps(focused, swaps));
}

void CFileMusicLists::MnFileSelectAllClick() { fileLB_->selectAll(); }

void CFileMusicLists::MnFileDeleteClick() {
  RemoveFileEntries(SelectedEntryRows(), FileIndex);
  IListTransport& transport = Transport();
  if (!fileList_.isEmpty()) {
    if (FileIndex < 0) FileIndex = 0;
    SetFocusedRow(fileLB_, FileIndex);
    SelectOnlyRow(fileLB_, FileIndex);
    LoadMusicList();
    transport.OpenCurrentTrack();
  } else {
    ClearMusicList();
    FileIndex = -1;
    transport.StopTrack();
  }
  HighlightCurrent();
}

void CFileMusicLists::MnClearClick() {
  if (!Dialogs().Confirm(QString::fromUtf16(kClearQuestion))) return;
  ClearFileList();
  ClearMusicList();
  FileIndex = -1;
  Transport().StopTrack();
  HighlightCurrent();
}

void CFileMusicLists::MnFileSortClick() {
  if (fileList_.isEmpty()) return;
  SortList(fileLB_, fileList_);
  // The entry that had the focus becomes the current one; its tracks are not loaded.
  FileIndex = FocusedRow(fileLB_);
  ShowFileList();
}

void CFileMusicLists::MnFileRandomClick() { ShuffleFileList(); }
void CFileMusicLists::FileRandomSBClick() { ShuffleFileList(); }

void CFileMusicLists::MnFileOpenClick() {
  const QString path = Dialogs().OpenFileName(QString::fromUtf16(kFileListFilter));
  if (path.isEmpty()) return;
  const QStringList entries = ListFiles().ReadFileBlock(TextFiles().LoadTextLines(path));
  // A file that names no existing entry (or cannot be read) leaves the list as it was:
  // replacing would wipe it and appending would still move the current entry to the last.
  if (entries.isEmpty()) return;
  AddToFileList(entries, platform::KeyState().ControlDown());
  ShowFileList();
  LoadCurrentEntry();
}

void CFileMusicLists::MnFileSaveClick() { ListFiles().SaveFileListFile(fileList_); }

void CFileMusicLists::SaveSBClick() { MnFileSaveClick(); }

// ---- Music-list commands ----

void CFileMusicLists::MusicLBDblClick() {
  const int row = SelectedRow(musicLB_);
  if (!InRange(row, MusicList.size())) return;
  IListTransport& transport = Transport();
  if (transport.HasCurrentMedia()) transport.PlayerSetPosition(0.0);
  MusicIndex = row;
  transport.OpenCurrentTrack();
  // A double click always plays, whatever PlayWhenOpen says.
  if (!transport.Playing()) transport.PlayFromStart();
}

bool CFileMusicLists::MusicLBKeyDown(int key) {
  ListKeyActions actions;
  actions.Move = [this](int delta) { MoveSelectedTrack(delta); };
  actions.Delete = [this] { DeleteSelectedTrack(); };
  actions.Activate = [this] { MusicLBDblClick(); };
  actions.PlayPause = [this] { Transport().PlayPauseSBClick(); };
  return HandleListKey(key, actions);
}

void CFileMusicLists::MoveSelectedTrack(int delta) {
  const int i = SelectedRow(musicLB_);
  if (!InRange(i, MusicList.size())) return;
  const int j = i + delta;
  if (!InRange(j, MusicList.size())) return;
  SwapRowTexts(musicLB_, i, j);
  SetSelectedRow(musicLB_, j);
  MusicList.swapItemsAt(i, j);
  // The current track stays current, also when the moved track takes its place.
  MusicIndex = IndexAfterSwaps(MusicIndex, {{i, j}});
}

void CFileMusicLists::DeleteSelectedTrack() {
  int row = SelectedRow(musicLB_);
  if (!InRange(row, MusicList.size())) return;
  IListTransport& transport = Transport();
  if (transport.Playing()) transport.StopTrack();
  MusicList.removeAt(row);
  delete musicLB_->takeItem(row);
  if (row >= MusicList.size()) row = static_cast<int>(MusicList.size()) - 1;
  SetSelectedRow(musicLB_, row);
  MusicIndex = SelectedRow(musicLB_);
}

void CFileMusicLists::MnMusicDeleteClick() { DeleteSelectedTrack(); }

void CFileMusicLists::MnMusicClearClick() {
  if (MusicList.isEmpty()) return;
  IListTransport& transport = Transport();
  if (transport.Playing()) transport.StopTrack();
  ClearMusicList();
}

void CFileMusicLists::MnMusicSortByNameClick() {
  if (MusicList.isEmpty()) return;
  SortList(musicLB_, MusicList, &MusicIndex);
  ShowMusicList();
}

void CFileMusicLists::MnMusicRandomClick() { ShuffleMusicList(); }
void CFileMusicLists::MusicRandomSBClick() { ShuffleMusicList(); }
