#include "playback/player.h"

#include <cmath>

namespace {

const QString kAlias = QStringLiteral("Play");

}  // namespace

CPlayer::CPlayer(Settings& settings, IDShowBackend& dshow, IMp3Backend* mp3)
    : settings_(settings), dshow_(dshow), mp3_(mp3) {}

int CPlayer::Mp3Volume(std::int32_t volume) {
  return static_cast<int>(std::trunc(static_cast<double>(volume) * 0.7));
}

void CPlayer::ReleaseCurrentMedia() {
  if (!currentMedia_) return;
  IMedia* media = currentMedia_;
  currentMedia_ = nullptr;
  dshow_.ReleaseMedia(media);
}

bool CPlayer::PlayerOpen(const QString& path) {
  if (path.isEmpty()) return false;
  // The open file is left untouched. After a failed open the name of the file before is still
  // kept, but no backend holds it any more: that one is opened again.
  if (path == openedFile_ && HoldsFile()) return true;

  if (mediaIsMp3_) {
    if (mp3_) mp3_->Close();
  } else {
    ReleaseCurrentMedia();
  }
  mediaIsMp3_ = false;

  if (mp3_ && mp3_->Open(path)) {
    openedFile_ = path;
    mp3_->SetBalance(balance_);
    mp3_->SetVolume(Mp3Volume(settings_.Volume));
    settings_.MediaLength = mp3_->TotalSamples();
    mediaIsMp3_ = true;
    return true;
  }

  IMedia* media = nullptr;
  if (!dshow_.CreateMedia(path, kAlias, media) || !media) return false;
  openedFile_ = path;
  currentMedia_ = media;
  media->SetBalance(balance_);
  media->SetVolume(settings_.Volume);
  settings_.MediaLength = media->Length();
  return true;
}

bool CPlayer::PlayerClose() {
  if (closeHook_) closeHook_();
  openedFile_.clear();
  if (mediaIsMp3_) {
    if (mp3_) {
      mp3_->Stop();
      mp3_->Close();
    }
  } else if (currentMedia_) {
    currentMedia_->Stop();
    ReleaseCurrentMedia();
  }
  // MediaIsMp3 keeps its value: until the next open the dispatch still picks the (closed) MP3
  // component after an MP3 file, which then answers with failures.
  currentMedia_ = nullptr;
  return true;
}

bool CPlayer::PlayerReopen() {
  if (openedFile_.isEmpty()) return false;
  if (mediaIsMp3_) {
    if (!mp3_) return false;
    mp3_->Close();
    if (!mp3_->Open(openedFile_)) return false;
    mp3_->SetBalance(balance_);
    mp3_->SetVolume(Mp3Volume(settings_.Volume));
    mp3_->SetPosition(settings_.PlayPosition);
    settings_.MediaLength = mp3_->TotalSamples();
    return true;
  }
  ReleaseCurrentMedia();
  IMedia* media = nullptr;
  if (!dshow_.CreateMedia(openedFile_, kAlias, media) || !media) return false;
  currentMedia_ = media;
  media->SetBalance(balance_);
  media->SetVolume(settings_.Volume);
  media->SetPosition(settings_.PlayPosition);
  settings_.MediaLength = media->Length();
  mediaIsMp3_ = false;
  return true;
}

bool CPlayer::Dispatch(const std::function<bool(IMp3Backend&)>& onMp3,
                       const std::function<bool(IMedia&)>& onMedia, bool nothing) {
  if (mediaIsMp3_) {
    if (!mp3_) return nothing;
    if (onMp3(*mp3_)) return true;
    PlayerReopen();
    return onMp3(*mp3_);
  }
  if (!currentMedia_) return nothing;
  if (onMedia(*currentMedia_)) return true;
  PlayerReopen();
  // A reopen that left no media leaves nothing to repeat the call on.
  if (!currentMedia_) return false;
  return onMedia(*currentMedia_);
}

bool CPlayer::PlayerPlay() {
  return Dispatch([](IMp3Backend& b) { return b.Play(); }, [](IMedia& m) { return m.Play(); },
                  true);
}

void CPlayer::PlayerPause() {
  Dispatch([](IMp3Backend& b) { return b.Pause(); }, [](IMedia& m) { return m.Pause(); }, true);
}

void CPlayer::PlayerStop() {
  Dispatch([](IMp3Backend& b) { return b.Stop(); }, [](IMedia& m) { return m.Stop(); }, true);
}

void CPlayer::PlayerSetPosition(double position) {
  Dispatch([position](IMp3Backend& b) { return b.SetPosition(position); },
           [position](IMedia& m) { return m.SetPosition(position); }, true);
}

double CPlayer::PlayerGetPosition() {
  // A closed file (or a failed open) leaves nothing to ask.
  if (!HoldsFile() || openedFile_.isEmpty() || (mediaIsMp3_ && !mp3_)) return -1.0;
  double position = 0.0;
  const bool ok = Dispatch([&position](IMp3Backend& b) { return b.GetPosition(position); },
                           [&position](IMedia& m) { return m.GetPosition(position); }, false);
  // When even the repeated query fails, the file stands where the reopen put it: the stored
  // position. (The MP3 component refuses position queries while its file is open but not
  // started, and a restored track must not lose its place that way.)
  if (!ok) return settings_.PlayPosition;
  return position;
}

void CPlayer::PlayerSetVolume(std::int32_t volume) {
  Dispatch([volume](IMp3Backend& b) { return b.SetVolume(Mp3Volume(volume)); },
           [volume](IMedia& m) { return m.SetVolume(volume); }, true);
}

QString CPlayer::PlayerMediaName() const {
  if (mediaIsMp3_) return mp3_ ? mp3_->FileName() : QString();
  if (currentMedia_) return currentMedia_->FileName();
  return QString();
}
