#include "playback/transport.h"

#include <QAction>
#include <QIcon>
#include <QSystemTrayIcon>
#include <QTimer>
#include <QToolButton>
#include <algorithm>

#include "platform/files.h"
#include "playback/bars.h"
#include "playback/player.h"

namespace {

bool InRange(int index, qsizetype count) { return index >= 0 && index < count; }

// The text without the extension of its last path component.
QString WithoutExtension(const QString& text) {
  const qsizetype slash = text.lastIndexOf(QLatin1Char('/'));
  const qsizetype dot = text.lastIndexOf(QLatin1Char('.'));
  return dot > slash ? text.left(dot) : text;
}

// The index to step on from after the entry at `removed` was taken out of its list: going
// forward the next entry has moved into the removed place, going backward the one before it is
// still where it was.
int IndexAfterRemoval(int removed, int step) { return step > 0 ? removed - step : removed; }

}  // namespace

QString TrayHint(const QString& fileRow, const QString& musicRow) {
  QString album = WithoutExtension(fileRow);
  album.replace(QLatin1Char('/'), QStringLiteral(" - "));
  return album + QLatin1Char('\n') + WithoutExtension(musicRow);
}

CTransport::CTransport(Settings& settings, CPlayer& player, CBars& bars, ITransportLists& lists,
                       const TransportWidgets& widgets, IWaitingTimers* timers, QObject* parent)
    : QObject(parent),
      settings_(settings),
      player_(player),
      bars_(bars),
      lists_(lists),
      widgets_(widgets),
      timers_(timers ? timers : &noTimers_) {
  player_.SetCloseHook([this] {
    if (playing_) StopTrack();
  });
  if (widgets_.Timer) connect(widgets_.Timer, &QTimer::timeout, this, &CTransport::TimerTimer);
}

CTransport::~CTransport() { player_.SetCloseHook({}); }

void CTransport::SetWaitingTimers(IWaitingTimers* timers) {
  timers_ = timers ? timers : &noTimers_;
}

bool CTransport::HasCurrentMedia() const { return player_.CurrentMedia() != nullptr; }

void CTransport::PlayerClose() { player_.PlayerClose(); }

void CTransport::PlayerSetPosition(double position) { player_.PlayerSetPosition(position); }

// ---- Playing, pausing, stopping ----

bool CTransport::PlayTrack(double start) {
  QStringList& music = lists_.MusicList();
  if (music.isEmpty()) return false;

  bool started = false;
  while (!music.isEmpty()) {
    const int index = lists_.MusicIndex();
    if (!InRange(index, music.size())) return false;
    const QString entry = music[index];
    if (entry != player_.PlayerMediaName() && !OpenWithoutPlaying()) return false;
    // A track that neither backend could open counts as one that does not play: asking the
    // player to play nothing would report success and leave the walk standing on it.
    const bool opened = player_.HoldsFile() && player_.OpenedFile() == entry;
    if (opened && player_.PlayerPlay()) {
      started = true;
      break;
    }
    RemoveCurrentTrack();
  }

  if (!started || !player_.HoldsFile() || settings_.MediaLength == 0.0) {
    if (widgets_.Timer) widgets_.Timer->stop();
    // Nothing is left to play: the transport must not go on claiming that it plays.
    if (!started && playing_) StopTrack();
    return false;
  }

  if (widgets_.Timer) widgets_.Timer->start();
  player_.PlayerSetPosition(start);
  player_.PlayerSetVolume(settings_.Volume);
  bars_.SeekTo(start);

  playing_ = true;
  lists_.HighlightCurrent();
  ShowPauseButton();
  SetHint(TrayHint(lists_.FileRowText(), lists_.MusicRowText()));
  return true;
}

void CTransport::PlayFromStart() { PlayTrack(0.0); }

bool CTransport::PauseTrack() {
  playing_ = false;
  player_.PlayerPause();
  const double position = player_.PlayerGetPosition();
  settings_.PlayPosition = position < 0.0 ? 0.0 : position;
  ShowPlayButton();
  return true;
}

void CTransport::StopTrack() {
  if (!playing_) {
    // A paused or idle track only goes back to its start.
    bars_.SeekTo(0.0);
    return;
  }
  timers_->ClearWaitingTimers();
  if (widgets_.Timer) widgets_.Timer->stop();
  playing_ = false;
  player_.PlayerStop();
  bars_.SeekTo(0.0);
  ShowPlayButton();
  SetHint(settings_.AppName);
}

void CTransport::ShowPlayButton() { ShowButton(0, QStringLiteral("再生(&P)")); }

void CTransport::ShowPauseButton() { ShowButton(1, QStringLiteral("一時停止(&P)")); }

void CTransport::ShowButton(int image, const QString& caption) {
  if (widgets_.PlayPauseSB && widgets_.ImageList && InRange(image, widgets_.ImageList->size()))
    widgets_.PlayPauseSB->setIcon(QIcon(widgets_.ImageList->at(image)));
  if (widgets_.PlayPausePM) widgets_.PlayPausePM->setText(caption);
}

void CTransport::SetHint(const QString& text) {
  if (widgets_.TrayIcon) widgets_.TrayIcon->setToolTip(text);
}

// ---- Opening ----

bool CTransport::OpenWithoutPlaying() {
  const int index = lists_.MusicIndex();
  if (lists_.MusicRow() < 0 || !InRange(index, lists_.MusicList().size())) return false;
  player_.PlayerOpen(lists_.MusicList()[index]);
  if (showAlbumArt_) showAlbumArt_();
  return true;
}

bool CTransport::TryOpenCurrentTrack() {
  if (!OpenWithoutPlaying()) return false;
  if (playing_) PlayFromStart();
  return true;
}

void CTransport::OpenCurrentTrack() { TryOpenCurrentTrack(); }

void CTransport::RemoveCurrentTrack() {
  QStringList& music = lists_.MusicList();
  int index = lists_.MusicIndex();
  if (!InRange(index, music.size())) return;
  music.removeAt(index);
  lists_.RemoveMusicRow(index);
  if (index >= music.size()) index = static_cast<int>(music.size()) - 1;
  lists_.SetMusicIndex(index);
  lists_.SetMusicRow(index);
}

void CTransport::EndFruitlessWalk() {
  if (playing_) StopTrack();
  const QStringList& music = lists_.MusicList();
  if (music.isEmpty())
    lists_.SetMusicIndex(-1);
  else if (!InRange(lists_.MusicIndex(), music.size()))
    lists_.SetMusicIndex(std::clamp(lists_.MusicIndex(), 0, static_cast<int>(music.size()) - 1));
}

// ---- Walking ----

bool CTransport::StepAlbum(int step) {
  const int count = lists_.FileCount();
  if (count == 0) return false;
  if (count == 1) {
    lists_.SetFileIndex(0);
    return true;
  }
  for (;;) {
    bool found = false;
    while (lists_.FileCount() > 0) {
      const int files = lists_.FileCount();
      int index = lists_.FileIndex() + step;
      if (index >= files) index = 0;
      if (index < 0) index = files - 1;
      lists_.SetFileIndex(index);
      if (!platform::FileExists(lists_.FileEntry(index))) {
        lists_.RemoveFileEntry(index);
        lists_.ShowFileList();
        lists_.SetFileIndex(IndexAfterRemoval(index, step));
        continue;
      }
      lists_.SelectFileRow(index);
      found = true;
      break;
    }
    if (!found) break;
    lists_.LoadMusicList();
    if (!lists_.MusicList().isEmpty()) break;
    // Every removal shortens the file list, so the search ends.
    const int empty = lists_.FileIndex();
    lists_.RemoveFileEntry(empty);
    lists_.ShowFileList();
    lists_.SetFileIndex(IndexAfterRemoval(empty, step));
  }
  return !lists_.MusicList().isEmpty();
}

void CTransport::StepTrack(int step) {
  if (lists_.FileCount() == 0) return;
  // Crossing an album border more often than there are albums means every album was seen.
  const int albumLimit = lists_.FileCount();
  int albumSteps = 0;
  for (;;) {
    QStringList& music = lists_.MusicList();
    const int count = static_cast<int>(music.size());
    const int index = lists_.MusicIndex() + step;
    lists_.SetMusicIndex(index);
    if (index >= count || index < 0) {
      const bool forward = index >= count;
      if (++albumSteps > albumLimit || !StepAlbum(step)) {
        EndFruitlessWalk();
        return;
      }
      lists_.SetMusicIndex(forward ? -1 : static_cast<int>(lists_.MusicList().size()));
      continue;
    }
    if (!platform::FileExists(music[index])) {
      music.removeAt(index);
      lists_.ShowMusicList();
      lists_.SetMusicIndex(IndexAfterRemoval(index, step));
      continue;
    }
    lists_.SetMusicRow(index);
    return;
  }
}

void CTransport::NextTrack() { StepAndOpen(+1); }

void CTransport::PreviousTrack() { StepAndOpen(-1); }

void CTransport::StepAndOpen(int step) {
  // Loading an album on the way closes the player, and an album whose tracks all fail leaves
  // playback stopped; a step made while playing still plays where it lands.
  const bool wasPlaying = playing_;
  StepTrack(step);
  if (TryOpenCurrentTrack() && wasPlaying && !playing_) PlayFromStart();
}

// ---- The end of a track ----

bool CTransport::TrackEnded() {
  settings_.PlayPosition = 0.0;

  // Albums loaded on the way close the player, and one whose tracks all fail leaves playback
  // stopped; the walk still plays what it finds unless it stops on purpose after the last album.
  bool keepPlaying = playing_;
  bool anyRan = false;
  bool fileOpened = false;
  if (timers_->HasWaitingTimers()) {
    timers_->ProcessWaitingTimers(anyRan, fileOpened);
    if (fileOpened) return true;  // a timer has taken over
  }

  if (lists_.FileCount() > 0 && !anyRan) {
    const int mode = settings_.RepeatMode;
    if (mode == 1) {
      player_.PlayerSetPosition(0.0);
      PlayFromStart();
      return true;
    }
    // Finishing an album more often than there are albums means every album was seen.
    const int albumLimit = std::max(1, lists_.FileCount());
    int albumsFinished = 0;
    for (;;) {
      QStringList& music = lists_.MusicList();
      const int index = lists_.MusicIndex() + 1;
      lists_.SetMusicIndex(index);
      if (index >= music.size()) {
        if (++albumsFinished > albumLimit) {
          EndFruitlessWalk();
          return false;
        }
        if (mode == 0 || mode == 3) {
          // The next album with tracks. Every pass that takes no album removes one, so this
          // ends.
          for (;;) {
            if (lists_.FileCount() == 0) {
              EndFruitlessWalk();
              return false;
            }
            int next = lists_.FileIndex() + 1;
            bool wrapped = false;
            if (next >= lists_.FileCount()) {
              if (mode == 3) {
                lists_.SetFileIndex(-1);  // the next pass wraps to the first album
                continue;
              }
              // After the last album playback stops on the first one.
              next = 0;
              wrapped = true;
              lists_.SetFileIndex(0);
              StopTrack();
              keepPlaying = false;
            } else {
              lists_.SetFileIndex(next);
            }
            if (!platform::FileExists(lists_.FileEntry(next))) {
              lists_.RemoveFileEntry(next);
              lists_.ShowFileList();
              lists_.SetFileIndex(next - 1);
              continue;
            }
            // The first album after the last is selected once its track is opened.
            if (!wrapped) lists_.SelectFileRow(next);
            lists_.LoadMusicList();
            if (!lists_.MusicList().isEmpty()) break;
            lists_.RemoveFileEntry(next);
            lists_.ShowFileList();
            lists_.SetFileIndex(next - 1);
          }
        }
        // In mode 2 the album stays. Either way the next pass lands on its first track.
        lists_.SetMusicIndex(-1);
        continue;
      }
      if (!platform::FileExists(music[index])) {
        music.removeAt(index);
        lists_.ShowMusicList();
        lists_.SetMusicIndex(index - 1);
        continue;
      }
      lists_.SetMusicRow(index);
      break;
    }
  }

  if (playing_ || keepPlaying) {
    PlayFromStart();
  } else if (lists_.FileIndex() >= 0) {
    lists_.SelectFileRow(lists_.FileIndex());
    TryOpenCurrentTrack();
  }
  return false;
}

void CTransport::CheckMediaEvents(IMedia* media) {
  if (!media) return;
  bool ended = false;
  bool complete = false;
  while (media->NextEvent(complete))
    if (complete) ended = true;
  if (!ended) return;
  // An end of stream counts only when the media really stands at its end: a seek made just
  // before the event arrived keeps the track going. The length may have grown while the stream
  // played (a length first estimated), so a position beyond it counts too.
  double position = -1.0;
  if (!media->GetPosition(position)) return;
  if (position >= settings_.MediaLength) TrackEnded();
}

void CTransport::TimerTimer() {
  if (bars_.TrackDragging) return;
  if (settings_.MediaLength == 0.0) {
    if (widgets_.Timer) widgets_.Timer->stop();
    return;
  }
  const double position = player_.PlayerGetPosition();
  if (position >= 0.0) {
    bars_.ShowPosition(position);
    settings_.PlayPosition = position;
  } else {
    bars_.ShowPosition(0.0);
    settings_.PlayPosition = 0.0;
  }
}

// ---- Commands ----

void CTransport::PlayPauseSBClick() {
  if (playing_)
    PauseTrack();
  else
    PlayTrack(settings_.PlayPosition);
}

void CTransport::StopSBClick() {
  settings_.PlayPosition = 0.0;
  StopTrack();
}

void CTransport::NextTrackSBClick() {
  settings_.PlayPosition = 0.0;
  NextTrack();
}

void CTransport::PreviousTrackSBClick() {
  settings_.PlayPosition = 0.0;
  PreviousTrack();
}

void CTransport::NextAlbumTMClick() {
  StepAlbum(+1);
  PlayFromStart();
  lists_.SetMusicIndex(lists_.MusicList().isEmpty() ? -1 : 0);
}

void CTransport::PreviousAlbumTMClick() {
  StepAlbum(-1);
  PlayFromStart();
  lists_.SetMusicIndex(lists_.MusicList().isEmpty() ? -1 : 0);
}
