#pragma once
// What the main window's frame asks of playback: loading the MP3 component at start, the
// messages the backends send, the tray menu's transport commands, and the release at the end.

#include <QString>

#include "library/file_list_hooks.h"

// The transport the list commands use, and what the frame itself needs.
class IPlaybackFrame : public IListTransport {
 public:
  // Loads libvbmp3.so from the program's folder when it is there. True when it was loaded.
  virtual bool LoadMp3Library(const QString& programFolder) = 0;
  virtual bool Mp3LibraryLoaded() const = 0;
  // A GStreamer media has posted events; `media` identifies it.
  virtual void HandleMediaEvents(void* media) = 0;
  // The MP3 component has played its file to the end.
  virtual void HandleMp3Ended() = 0;
  // Closes the open track and opens it again at the stored position (after a resume).
  virtual void PlayerReopen() = 0;
  virtual void PreviousTrackSBClick() = 0;
  virtual void NextTrackSBClick() = 0;
  virtual void PreviousAlbumTMClick() = 0;
  virtual void NextAlbumTMClick() = 0;
  // The window changed its size: the position and volume bars re-place their knobs.
  virtual void Resized() = 0;
  // The position of the open track in the backend's unit; -1 when no track is open.
  virtual double PlayerGetPosition() = 0;
  // Starts the current track at `position`. False when nothing could be played.
  virtual bool PlayTrack(double position) = 0;
  // The position bar and the volume bar show these values.
  virtual void ShowPosition(double position) = 0;
  virtual void ShowVolume(int volume) = 0;
  // The output device that new and switched GStreamer media use.
  virtual void SelectOutputDevice(const QString& name) = 0;
  // Unloads the MP3 component and shuts the GStreamer backend down.
  virtual void Finalize() = 0;
};

// Used while there is no player: nothing plays and every command does nothing.
class NoPlaybackFrame : public IPlaybackFrame {
 public:
  bool LoadMp3Library(const QString&) override { return false; }
  bool Mp3LibraryLoaded() const override { return false; }
  void HandleMediaEvents(void*) override {}
  void HandleMp3Ended() override {}
  void PlayerReopen() override {}
  bool Playing() const override { return false; }
  bool HasCurrentMedia() const override { return false; }
  void StopTrack() override {}
  void PlayFromStart() override {}
  void OpenCurrentTrack() override {}
  void PlayPauseSBClick() override {}
  void PlayerClose() override {}
  void PlayerSetPosition(double) override {}
  void PreviousTrackSBClick() override {}
  void NextTrackSBClick() override {}
  void PreviousAlbumTMClick() override {}
  void NextAlbumTMClick() override {}
  void Resized() override {}
  double PlayerGetPosition() override { return -1.0; }
  bool PlayTrack(double) override { return false; }
  void ShowPosition(double) override {}
  void ShowVolume(int) override {}
  void SelectOutputDevice(const QString&) override {}
  void Finalize() override {}
};
