#pragma once
// The main window's playback: the player facade over the two backends, the transport and the
// position and volume bars, wired to the window's components, and the window's side of the
// output devices.

#include <QObject>
#include <QString>
#include <functional>
#include <memory>

#include "playback/backends.h"
#include "playback/playback_hooks.h"

class CBars;
class CPlayer;
class CTransport;
class TMainForm;
class ITransportLists;

// The backends the frame plays through. The real program uses CDShow and CVBMP3; tests give
// fakes.
struct PlaybackBackends {
  std::unique_ptr<IDShowBackend> DShow;
  // The open media that the payload of a MediaEvents message names; nullptr when that media
  // has been released meanwhile.
  std::function<IMedia*(const void* payload)> FindMedia;
  // Loads the MP3 component from `libraryPath` and makes it report the end of a file to
  // `receiver` as AppMessage::Mp3Ended; nullptr when it cannot be loaded.
  std::function<std::unique_ptr<IMp3Backend>(const QString& libraryPath, QObject* receiver)>
      LoadMp3;
};

// CDShow, and CVBMP3 over libvbmp3.so.
PlaybackBackends RealPlaybackBackends();

class CPlaybackFrame final : public QObject, public IPlaybackFrame {
  Q_OBJECT

 public:
  // Made with the window's components built; the lists are reached when first used. The
  // window must outlive the frame.
  CPlaybackFrame(TMainForm& form, PlaybackBackends backends);
  ~CPlaybackFrame() override;

  // The window's initialisation: the GStreamer backend starts with the window as the receiver
  // of its messages, and the device names are read ("Default WaveOut Device" left out).
  void InitMainWindow();
  // The device combo box: the user picked row `row`.
  void OutputDeviceNamesCBChange(int row);
  void RefreshDeviceButtonClick();

  bool LoadMp3Library(const QString& programFolder) override;
  bool Mp3LibraryLoaded() const override { return mp3_ != nullptr; }
  void HandleMediaEvents(void* media) override;
  void HandleMp3Ended() override;
  void PlayerReopen() override;
  bool Playing() const override;
  bool HasCurrentMedia() const override;
  void StopTrack() override;
  void PlayFromStart() override;
  void OpenCurrentTrack() override;
  void PlayPauseSBClick() override;
  void PlayerClose() override;
  void PlayerSetPosition(double position) override;
  void PreviousTrackSBClick() override;
  void NextTrackSBClick() override;
  void PreviousAlbumTMClick() override;
  void NextAlbumTMClick() override;
  void Resized() override;
  double PlayerGetPosition() override;
  bool PlayTrack(double position) override;
  void ShowPosition(double position) override;
  void ShowVolume(int volume) override;
  void SelectOutputDevice(const QString& name) override;
  void Finalize() override;

  CPlayer& Player() { return *player_; }
  CTransport& Transport() { return *transport_; }
  CBars& Bars() { return *bars_; }
  IDShowBackend& DShow() { return *backends_.DShow; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  TMainForm& form_;
  PlaybackBackends backends_;
  std::unique_ptr<IMp3Backend> mp3_;
  std::unique_ptr<CPlayer> player_;
  std::unique_ptr<CBars> bars_;
  std::unique_ptr<ITransportLists> lists_;
  std::unique_ptr<CTransport> transport_;
  bool finalized_ = false;
};
