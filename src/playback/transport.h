#pragma once
// The transport: what plays. It starts, pauses and stops the current track, walks to the next
// or previous track and album, and decides what follows the end of a track under the repeat
// mode. It works on the file list (albums) and the music list (the tracks of the current
// album) through ITransportLists, and on the backends through the player facade.
//
// Two rules shape every walk: an entry whose file no longer exists is removed from its list
// when the walk reaches it, and an album whose track list turns out empty is removed from the
// file list. A walk visits every album at most once; when it has seen them all (or the lists
// ran empty) without finding a playable track, it ends with playback stopped.

#include <QList>
#include <QObject>
#include <QPixmap>
#include <QString>
#include <QStringList>
#include <functional>

#include "library/file_list_hooks.h"
#include "settings/settings.h"

class CBars;
class CPlayer;
class IMedia;
class QAction;
class QSystemTrayIcon;
class QTimer;
class QToolButton;

// The file list and the music list with their list boxes, as the transport uses them.
class ITransportLists {
 public:
  virtual ~ITransportLists() = default;

  virtual int FileCount() const = 0;
  virtual QString FileEntry(int index) const = 0;
  virtual int FileIndex() const = 0;
  virtual void SetFileIndex(int index) = 0;
  // Removes entry `index` from the file list (and its row); FileIndex is left alone.
  virtual void RemoveFileEntry(int index) = 0;
  virtual void ShowFileList() = 0;
  // Makes `row` the file list box's current row and its only selected row.
  virtual void SelectFileRow(int row) = 0;
  // The text of the file list box's current row; empty when there is none.
  virtual QString FileRowText() const = 0;
  // Loads the tracks of the entry at FileIndex. This may close and restart playback through
  // the transport.
  virtual bool LoadMusicList() = 0;

  virtual QStringList& MusicList() = 0;
  virtual int MusicIndex() const = 0;
  virtual void SetMusicIndex(int index) = 0;
  virtual void ShowMusicList() = 0;
  // The music list box's current row, -1 when there is none.
  virtual int MusicRow() const = 0;
  virtual void SetMusicRow(int row) = 0;
  // Deletes one row of the music list box (the list itself is the caller's).
  virtual void RemoveMusicRow(int row) = 0;
  virtual QString MusicRowText() const = 0;
  // Marks FileIndex and MusicIndex in the list boxes.
  virtual void HighlightCurrent() = 0;
};

// The alarm timers that wait for the end of a track.
class IWaitingTimers {
 public:
  virtual ~IWaitingTimers() = default;
  virtual bool HasWaitingTimers() const = 0;
  // Gives every waiting timer its turn. `fileOpened`: a timer opened a file and took over.
  virtual void ProcessWaitingTimers(bool& anyRan, bool& fileOpened) = 0;
  virtual void ClearWaitingTimers() = 0;
};

// No timer ever waits.
class NoWaitingTimers final : public IWaitingTimers {
 public:
  bool HasWaitingTimers() const override { return false; }
  void ProcessWaitingTimers(bool& anyRan, bool& fileOpened) override {
    anyRan = false;
    fileOpened = false;
  }
  void ClearWaitingTimers() override {}
};

// The components the transport shows its state on. Any of them may be null.
struct TransportWidgets {
  QToolButton* PlayPauseSB = nullptr;
  QAction* PlayPausePM = nullptr;
  // Image 0 is the play glyph, image 1 the pause glyph.
  const QList<QPixmap>* ImageList = nullptr;
  // The 100 ms timer that shows the position while a track plays.
  QTimer* Timer = nullptr;
  QSystemTrayIcon* TrayIcon = nullptr;
};

// The tray hint for a file list row and a music list row: the extension of each removed, the
// folder separators of the album shown as " - ", the two on two lines.
QString TrayHint(const QString& fileRow, const QString& musicRow);

class CTransport : public QObject, public IListTransport {
  Q_OBJECT

 public:
  // Everything given must outlive the transport. `timers` null: no timer ever waits.
  CTransport(Settings& settings, CPlayer& player, CBars& bars, ITransportLists& lists,
             const TransportWidgets& widgets, IWaitingTimers* timers = nullptr,
             QObject* parent = nullptr);
  ~CTransport() override;

  // Called whenever a track is opened: the album art follows the track.
  void SetAlbumArtHook(std::function<void()> hook) { showAlbumArt_ = std::move(hook); }
  void SetWaitingTimers(IWaitingTimers* timers);

  // IListTransport.
  bool Playing() const override { return playing_; }
  bool HasCurrentMedia() const override;
  void StopTrack() override;
  void PlayFromStart() override;
  void OpenCurrentTrack() override;
  void PlayPauseSBClick() override;
  void PlayerClose() override;
  void PlayerSetPosition(double position) override;

  bool PlayTrack(double start);
  bool PauseTrack();
  void NextTrack();
  void PreviousTrack();
  void StepTrack(int step);
  bool StepAlbum(int step);
  // Opens the track at MusicIndex and plays it from its start when playback is running. False
  // when the music list box has no current row or there is no current track.
  bool TryOpenCurrentTrack();
  void RemoveCurrentTrack();
  bool TrackEnded();
  // Reads the pending events of `media`; the end of its stream ends the track.
  void CheckMediaEvents(IMedia* media);
  void TimerTimer();
  void ShowPlayButton();
  void ShowPauseButton();

  // The commands of the transport bar and the tray menu.
  void StopSBClick();
  void NextTrackSBClick();
  void PreviousTrackSBClick();
  void NextAlbumTMClick();
  void PreviousAlbumTMClick();

 private:
  // NextTrack and PreviousTrack.
  void StepAndOpen(int step);
  // Opens the track at MusicIndex without starting it. False when there is no current track.
  bool OpenWithoutPlaying();
  // Ends a walk that found nothing to play: playback stops, and MusicIndex designates a track
  // only when the music list still holds one.
  void EndFruitlessWalk();
  void SetHint(const QString& text);
  void ShowButton(int image, const QString& caption);

  Settings& settings_;
  CPlayer& player_;
  CBars& bars_;
  ITransportLists& lists_;
  TransportWidgets widgets_;
  NoWaitingTimers noTimers_;
  IWaitingTimers* timers_;
  std::function<void()> showAlbumArt_;
  bool playing_ = false;
};
