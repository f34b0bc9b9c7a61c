#include "platform/shell.h"

#include <QClipboard>
#include <QDBusMessage>
#include <QDBusPendingCall>
#include <QDBusPendingCallWatcher>
#include <QDesktopServices>
#include <QDir>
#include <QGuiApplication>
#include <QStringList>

#include "platform/dir_enum.h"

namespace platform {
namespace {

IShell* g_shell = nullptr;

void OpenFolderOf(const QString& path) {
  const QString folder = ContainingFolder(path);
  if (!folder.isEmpty()) QDesktopServices::openUrl(FileUrl(folder));
}

// Errors after which the file manager may still show the item: falling back then could open
// a second window.
bool MayStillAnswer(QDBusError::ErrorType type) {
  return type == QDBusError::NoReply || type == QDBusError::Timeout;
}

}  // namespace

QUrl FileUrl(const QString& path) {
  const QString absolute =
      path.startsWith(QLatin1Char('/')) ? path : QDir::currentPath() + QLatin1Char('/') + path;
  return QUrl::fromEncoded("file://" + QUrl::toPercentEncoding(EncodeFileName(absolute), "/"),
                           QUrl::StrictMode);
}

QString ContainingFolder(const QString& path) {
  const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
  if (slash < 0) return QString();
  return slash == 0 ? QStringLiteral("/") : path.left(slash);
}

CDesktopShell::CDesktopShell() : bus_(QDBusConnection::sessionBus()) {}

CDesktopShell::CDesktopShell(const QDBusConnection& bus) : bus_(bus) {}

void CDesktopShell::ShowInExplorer(const QString& path) {
  if (!bus_.isConnected()) {
    OpenFolderOf(path);
    return;
  }
  QDBusMessage call = QDBusMessage::createMethodCall(
      QStringLiteral("org.freedesktop.FileManager1"),
      QStringLiteral("/org/freedesktop/FileManager1"),
      QStringLiteral("org.freedesktop.FileManager1"), QStringLiteral("ShowItems"));
  call << QStringList{QString::fromLatin1(FileUrl(path).toEncoded())} << QString();
  // The reply is awaited by the event loop, never here: the command returns at once.
  auto* watcher = new QDBusPendingCallWatcher(bus_.asyncCall(call), this);
  connect(watcher, &QDBusPendingCallWatcher::finished, this, [path](QDBusPendingCallWatcher* w) {
    if (w->isError() && !MayStillAnswer(w->error().type())) OpenFolderOf(path);
    w->deleteLater();
  });
}

void CDesktopShell::SetClipboardText(const QString& text) {
  if (QClipboard* clipboard = QGuiApplication::clipboard()) clipboard->setText(text);
}

IShell& Shell() {
  if (g_shell) return *g_shell;
  // Made on first use and never destroyed: its bus connection must not outlive the
  // application's teardown order.
  static CDesktopShell* desktop = new CDesktopShell;
  return *desktop;
}

void SetShell(IShell* shell) { g_shell = shell; }

}  // namespace platform
