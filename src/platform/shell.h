#pragma once
// What the program hands to the desktop: a file-manager window on the folder of an item, with
// the item selected, and plain text on the clipboard. Neither waits for the desktop and neither
// reports a failure.

#include <QDBusConnection>
#include <QObject>
#include <QString>
#include <QUrl>

namespace platform {

class IShell {
 public:
  virtual ~IShell() = default;
  // Opens a file-manager window on the folder that holds `path`, with that item (file or
  // folder) selected. The path is handed over as it is; it need not exist.
  virtual void ShowInExplorer(const QString& path) = 0;
  // Puts `text` on the clipboard as plain text, replacing what was there.
  virtual void SetClipboardText(const QString& text) = 0;
};

// The file: URI of a path (a relative one taken from the current folder), its bytes
// percent-encoded as the file system holds them.
QUrl FileUrl(const QString& path);
// The folder that holds `path`: everything before its last "/" ("/" for an item of the root);
// empty when the path has no "/".
QString ContainingFolder(const QString& path);

// The desktop's shell: the file manager through the session bus
// (org.freedesktop.FileManager1.ShowItems with the item's URI and an empty startup id); when no
// file manager answers there, the item's folder is opened with QDesktopServices instead, which
// cannot select the item but still shows where it is. The clipboard is the application's.
class CDesktopShell final : public QObject, public IShell {
  Q_OBJECT

 public:
  // On the session bus.
  CDesktopShell();
  // On `bus`, for example a private bus of a test.
  explicit CDesktopShell(const QDBusConnection& bus);

  void ShowInExplorer(const QString& path) override;
  void SetClipboardText(const QString& text) override;

 private:
  QDBusConnection bus_;
};

// The shell the program uses; tests replace it. nullptr restores the desktop's.
IShell& Shell();
void SetShell(IShell* shell);

// Shell().ShowInExplorer(path): the one way of showing an item in the file manager.
inline void ShowInExplorer(const QString& path) { Shell().ShowInExplorer(path); }

}  // namespace platform
