#pragma once
// The two playback backends as the player facade sees them: the MP3 component (CVBMP3, over
// libvbmp3.so) and the GStreamer backend (CDShow, which makes one CMedia per open file). The
// facade knows only these interfaces, so the transport can be tested with fakes and the
// backends with the real libraries.

#include <QString>
#include <QStringList>

class QObject;

// The MP3 component. Positions and lengths are in samples.
class IMp3Backend {
 public:
  virtual ~IMp3Backend() = default;
  virtual bool Open(const QString& path) = 0;
  virtual bool Close() = 0;
  virtual bool Play() = 0;
  virtual bool Stop() = 0;
  virtual bool Pause() = 0;
  virtual bool SetBalance(int balance) = 0;
  // 0 to 7000 as the facade passes it; the component gets 0 to 99 per channel.
  virtual bool SetVolume(int volume) = 0;
  virtual bool SetPosition(double samples) = 0;
  virtual bool GetPosition(double& samples) = 0;
  // The file open in the component; empty when none.
  virtual QString FileName() const = 0;
  // Total samples of the open file, as reported when it was opened.
  virtual double TotalSamples() const = 0;
};

// One open file in the GStreamer backend. Positions and lengths are in seconds.
class IMedia {
 public:
  virtual ~IMedia() = default;
  virtual bool Play() = 0;
  virtual bool Stop() = 0;
  virtual bool Pause() = 0;
  // 0 to 10000 scale; turned into hundredths of a decibel, then into a linear volume.
  virtual bool SetVolume(int volume) = 0;
  virtual bool SetBalance(int balance) = 0;
  virtual bool SetPosition(double seconds) = 0;
  virtual bool GetPosition(double& seconds) = 0;
  // The length of the file in seconds (0 when unknown).
  virtual double Length() const = 0;
  virtual QString FileName() const = 0;
  // Moves the running media to the backend's current device, keeping position and volume.
  virtual bool SwitchRenderer() = 0;
  // Takes the next pending event of the media, without waiting. False when there is none.
  // `complete` is true for the end of the stream.
  virtual bool NextEvent(bool& complete) = 0;
};

// The GStreamer backend: makes and releases media, knows the output devices.
class IDShowBackend {
 public:
  virtual ~IDShowBackend() = default;
  // `owner` receives the posted media events (platform::AppMessage::MediaEvents with the media
  // as payload).
  virtual bool Initialize(QObject* owner) = 0;
  virtual bool Finalize() = 0;
  // Opens the file on the current device; false (and no media) when it cannot be played.
  virtual bool CreateMedia(const QString& path, const QString& alias, IMedia*& media) = 0;
  // Drops the media's pending events, then destroys it.
  virtual bool ReleaseMedia(IMedia* media) = 0;
  virtual bool ReleaseAll() = 0;
  // The output device names: "Default DirectSound Device", "Default WaveOut Device", then the
  // sound server's devices; "なし" alone when there is nothing.
  virtual bool EnumerateDevices(QStringList& names) = 0;
  virtual bool SetDevice(const QString& name) = 0;
  virtual QString DeviceName() const = 0;
};
