#include "playback/dshow.h"

#include <QEvent>
#include <QFile>

#include "platform/app_events.h"
#include "playback/devices.h"

using platform::AppEvent;
using platform::AppMessage;

// Lives on the thread that made the backend (the user-interface thread). The pipelines post
// to it with the media's serial; it looks the serial up among the open media and passes the
// event on to the owner with the media itself as payload.
class CDShow::Relay : public QObject {
 public:
  explicit Relay(CDShow* backend) : backend_(backend) {}

  bool event(QEvent* e) override {
    if (!AppEvent::Is(e, AppMessage::MediaEvents)) return QObject::event(e);
    const auto serial = static_cast<std::uint64_t>(
        reinterpret_cast<std::uintptr_t>(static_cast<AppEvent*>(e)->payload()));
    backend_->Deliver(serial);
    return true;
  }

 private:
  CDShow* backend_;
};

CDShow::CDShow()
    : deviceName_(QString::fromLatin1(playback::kDefaultDirectSoundDevice)),
      relay_(std::make_unique<Relay>(this)) {
  media_.reserve(16);
}

CDShow::~CDShow() { Finalize(); }

bool CDShow::Initialize(QObject* owner) {
  owner_ = owner;
  playback::EnsureGStreamer();
  return true;
}

bool CDShow::Finalize() {
  ReleaseAll();
  return true;
}

bool CDShow::CreateMedia(const QString& path, const QString& alias, IMedia*& media) {
  media = nullptr;
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return false;
  file.close();
  auto created = std::make_unique<CMedia>(this, path, alias, nextSerial_++);
  if (!created->BuildGraph()) return false;
  created->SetIndex(static_cast<int>(media_.size()));
  media = created.get();
  media_.push_back(std::move(created));
  return true;
}

bool CDShow::ReleaseMedia(IMedia* media) {
  for (std::size_t i = 0; i < media_.size(); ++i) {
    if (media_[i].get() != media) continue;
    media_[i]->DrainMessages();
    // The last media takes the freed slot.
    if (i + 1 != media_.size()) {
      std::swap(media_[i], media_.back());
      media_[i]->SetIndex(static_cast<int>(i));
    }
    media_.pop_back();
    return true;
  }
  return true;
}

bool CDShow::ReleaseAll() {
  while (!media_.empty()) media_.pop_back();
  return true;
}

bool CDShow::EnumerateDevices(QStringList& names) {
  names = playback::OutputDeviceNames(playback::AudioSinkNames());
  return true;
}

bool CDShow::SetDevice(const QString& name) {
  if (name == deviceName_) return true;
  deviceName_ = name;
  for (auto& media : media_) media->SwitchRenderer();
  return true;
}

CMedia* CDShow::FindMedia(const void* payload) const {
  for (const auto& media : media_) {
    if (media.get() == payload) return media.get();
  }
  return nullptr;
}

void CDShow::Announce(std::uint64_t serial) const {
  platform::PostAppMessage(relay_.get(), AppMessage::MediaEvents,
                           reinterpret_cast<void*>(static_cast<std::uintptr_t>(serial)));
}

void CDShow::Deliver(std::uint64_t serial) {
  if (owner_ == nullptr) return;
  for (const auto& media : media_) {
    if (media->Serial() != serial) continue;
    AppEvent event(AppMessage::MediaEvents, media.get());
    QCoreApplication::sendEvent(owner_, &event);
    return;
  }
}
