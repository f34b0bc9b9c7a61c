#pragma once
// The GStreamer backend: one process-wide object that keeps the output device name, makes and
// releases the media (one pipeline each) and moves every open media to another device.
//
// The pipelines' events reach the owner as AppMessage::MediaEvents with the media as payload.
// They are posted to a relay object of the backend first, which hands them on (on the
// user-interface thread) only while the media is still open: an event that was posted just
// before its media was released is dropped there and never reaches the owner.

#include <QObject>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <memory>
#include <vector>

#include "playback/backends.h"
#include "playback/media.h"

class CDShow : public IDShowBackend {
 public:
  CDShow();
  ~CDShow() override;
  CDShow(const CDShow&) = delete;
  CDShow& operator=(const CDShow&) = delete;

  bool Initialize(QObject* owner) override;
  bool Finalize() override;
  // False and no media when the file cannot be read, decoded or played on the current device.
  bool CreateMedia(const QString& path, const QString& alias, IMedia*& media) override;
  bool ReleaseMedia(IMedia* media) override;
  bool ReleaseAll() override;
  bool EnumerateDevices(QStringList& names) override;
  bool SetDevice(const QString& name) override;
  QString DeviceName() const override { return deviceName_; }

  // The open media that an event payload names; nullptr when it has been released. The relay
  // already checks this; it is for a receiver that keeps a payload for later.
  CMedia* FindMedia(const void* payload) const;
  bool IsLive(const void* payload) const { return FindMedia(payload) != nullptr; }
  int MediaCount() const { return static_cast<int>(media_.size()); }
  QObject* Owner() const { return owner_; }

  // Announces pending events of the media with this serial; safe from any thread.
  void Announce(std::uint64_t serial) const;

 private:
  class Relay;
  void Deliver(std::uint64_t serial);

  QString deviceName_;
  QObject* owner_ = nullptr;
  std::unique_ptr<Relay> relay_;
  std::vector<std::unique_ptr<CMedia>> media_;
  std::uint64_t nextSerial_ = 1;
};
