#include "platform/session_end.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <QDBusConnection>
#include <QGuiApplication>
#include <QSessionManager>
#include <QSocketNotifier>

namespace platform {
namespace {

int signalPipe[2] = {-1, -1};

void OnSignal(int) {
  const char byte = 1;
  // Only async-signal-safe calls here; a full pipe just means a wake-up is already pending.
  [[maybe_unused]] const ssize_t n = write(signalPipe[1], &byte, 1);
}

}  // namespace

SessionWatcher::SessionWatcher(QObject* parent) : QObject(parent) {
  if (signalPipe[0] < 0 && pipe2(signalPipe, O_CLOEXEC | O_NONBLOCK) != 0) {
    signalPipe[0] = signalPipe[1] = -1;
  }
  if (signalPipe[0] >= 0) {
    notifier_ = new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &SessionWatcher::OnSignalPipe);
    struct sigaction action = {};
    action.sa_handler = OnSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int sig : {SIGTERM, SIGHUP, SIGINT}) sigaction(sig, &action, nullptr);
  }

  if (auto* gui = qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
    // The session manager asks before it ends the session; the program then shuts down in
    // order, so that nothing is lost.
    connect(gui, &QGuiApplication::commitDataRequest, this,
            [this](QSessionManager&) { emit SessionEnding(); });
  }

  QDBusConnection bus = QDBusConnection::systemBus();
  if (bus.isConnected()) {
    bus.connect(QStringLiteral("org.freedesktop.login1"), QStringLiteral("/org/freedesktop/login1"),
                QStringLiteral("org.freedesktop.login1.Manager"), QStringLiteral("PrepareForSleep"),
                this, SLOT(OnPrepareForSleep(bool)));
  }
}

SessionWatcher::~SessionWatcher() {
  struct sigaction action = {};
  action.sa_handler = SIG_DFL;
  for (int sig : {SIGTERM, SIGHUP, SIGINT}) sigaction(sig, &action, nullptr);
}

void SessionWatcher::OnSignalPipe() {
  char buffer[64];
  while (read(signalPipe[0], buffer, sizeof buffer) > 0) {
  }
  emit SessionEnding();
}

void SessionWatcher::OnPrepareForSleep(bool sleeping) {
  if (!sleeping) emit Resumed();
}

}  // namespace platform
