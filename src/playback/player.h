#pragma once
// The player facade: the one way into the two playback backends. It holds at most one open
// file and decides, when a file is opened, which backend plays it: the MP3 component first
// whenever it is loaded, the GStreamer backend when the component is absent or refuses the
// file. Every backend call that fails gets one recovery attempt: the file is reopened at the
// stored position and the call is made once more.
//
// Positions and lengths stay in the unit of the backend that holds the file (samples for the
// MP3 component, seconds for GStreamer); the bars only use the ratio of the two.

#include <QString>
#include <cstdint>
#include <functional>

#include "playback/backends.h"
#include "settings/settings.h"

class CPlayer {
 public:
  // `settings` supplies Volume and receives PlayPosition and MediaLength. `mp3` may be null
  // (no MP3 component). Both must outlive the player.
  CPlayer(Settings& settings, IDShowBackend& dshow, IMp3Backend* mp3 = nullptr);

  void SetMp3Library(IMp3Backend* mp3) { mp3_ = mp3; }
  IMp3Backend* Mp3Library() const { return mp3_; }
  IDShowBackend& DShow() const { return dshow_; }

  // Called by PlayerClose before it closes anything: the transport stops playback there when
  // it is running.
  void SetCloseHook(std::function<void()> hook) { closeHook_ = std::move(hook); }

  bool PlayerOpen(const QString& path);
  bool PlayerClose();
  bool PlayerReopen();
  bool PlayerPlay();
  void PlayerPause();
  void PlayerStop();
  void PlayerSetPosition(double position);
  // -1.0 when neither backend holds a file.
  double PlayerGetPosition();
  // `volume` on the 0 to 10000 scale.
  void PlayerSetVolume(std::int32_t volume);
  // The path the active backend has open; empty when none.
  QString PlayerMediaName() const;

  IMedia* CurrentMedia() const { return currentMedia_; }
  bool MediaIsMp3() const { return mediaIsMp3_; }
  const QString& OpenedFile() const { return openedFile_; }
  // Whether a backend holds a file: the MP3 component (MediaIsMp3) or a GStreamer media.
  bool HoldsFile() const { return mediaIsMp3_ || currentMedia_ != nullptr; }
  std::int32_t Balance() const { return balance_; }

 private:
  // Runs `onMp3` or `onMedia` on the backend that the dispatch picks; on failure reopens and
  // runs it once more. `nothing` is the result when no backend is picked.
  bool Dispatch(const std::function<bool(IMp3Backend&)>& onMp3,
                const std::function<bool(IMedia&)>& onMedia, bool nothing);
  void ReleaseCurrentMedia();
  // The volume the MP3 component gets for a volume on the 0 to 10000 scale.
  static int Mp3Volume(std::int32_t volume);

  Settings& settings_;
  IDShowBackend& dshow_;
  IMp3Backend* mp3_;
  IMedia* currentMedia_ = nullptr;
  bool mediaIsMp3_ = false;
  QString openedFile_;
  std::int32_t balance_ = 0;
  std::function<void()> closeHook_;
};
