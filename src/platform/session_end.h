#pragma once
// The end of the user's session and requests to stop the process, turned into one signal on
// the user-interface thread: the session manager's quit request, and SIGTERM, SIGHUP and SIGINT
// (delivered through a self-pipe, since a signal handler may do almost nothing). Also the
// resume after a suspend, from logind's PrepareForSleep(false) on the system bus when there is
// one.

#include <QObject>

class QSocketNotifier;

namespace platform {

class SessionWatcher : public QObject {
  Q_OBJECT

 public:
  explicit SessionWatcher(QObject* parent = nullptr);
  ~SessionWatcher() override;

 signals:
  void SessionEnding();
  void Resumed();

 private slots:
  void OnSignalPipe();
  void OnPrepareForSleep(bool sleeping);

 private:
  QSocketNotifier* notifier_ = nullptr;
};

}  // namespace platform
