#pragma once
// The program's messages to itself. Each is a custom event posted to the receiving window:
// the graph events of a playing media, the end of a transfer, a search or a scan, and the end
// of an MP3 file. A worker never waits for the window when it posts one.

#include <QCoreApplication>
#include <QEvent>

namespace platform {

enum class AppMessage {
  MediaEvents = 1,  // a GStreamer media has events; the payload is the media
  TransferEnded = 2,
  SearchEnded = 3,
  ScanEnded = 4,
  Mp3Ended = 5,  // the MP3 component has played its file to the end
};

class AppEvent : public QEvent {
 public:
  static QEvent::Type TypeOf(AppMessage m) {
    return static_cast<QEvent::Type>(QEvent::User + 100 + static_cast<int>(m));
  }
  static bool Is(const QEvent* e, AppMessage m) { return e->type() == TypeOf(m); }

  explicit AppEvent(AppMessage m, void* payload = nullptr)
      : QEvent(TypeOf(m)), message_(m), payload_(payload) {}
  AppMessage message() const { return message_; }
  void* payload() const { return payload_; }

 private:
  AppMessage message_;
  void* payload_;
};

// Posts the message; safe from any thread, returns at once.
inline void PostAppMessage(QObject* receiver, AppMessage m, void* payload = nullptr) {
  QCoreApplication::postEvent(receiver, new AppEvent(m, payload));
}

}  // namespace platform
