#pragma once
// What the file list and music list ask of other parts of the program: playback, playlists,
// list files, text files and the user. Each is a narrow interface that the main window wires
// to the real subsystem. The No* classes do nothing and report nothing (not playing, no
// tracks, no entries); they stand in until the real subsystem exists and never pretend an
// operation succeeded.

#include <QString>
#include <QStringList>

class QWidget;

// The transport and player calls the list commands make.
class IListTransport {
 public:
  virtual ~IListTransport() = default;
  // Whether playback is running.
  virtual bool Playing() const = 0;
  // Whether a media of the GStreamer backend is open (CurrentMedia).
  virtual bool HasCurrentMedia() const = 0;
  virtual void StopTrack() = 0;
  // Plays the current track from its beginning.
  virtual void PlayFromStart() = 0;
  // Opens the track at MusicIndex in the player; starts it when playback is running.
  virtual void OpenCurrentTrack() = 0;
  // The play/pause command.
  virtual void PlayPauseSBClick() = 0;
  // Stops and releases the open media.
  virtual void PlayerClose() = 0;
  virtual void PlayerSetPosition(double position) = 0;
};

class NoListTransport final : public IListTransport {
 public:
  bool Playing() const override { return false; }
  bool HasCurrentMedia() const override { return false; }
  void StopTrack() override {}
  void PlayFromStart() override {}
  void OpenCurrentTrack() override {}
  void PlayPauseSBClick() override {}
  void PlayerClose() override {}
  void PlayerSetPosition(double) override {}
};

// Reads the tracks a playlist names.
class IPlaylistReader {
 public:
  virtual ~IPlaylistReader() = default;
  // Full paths of the existing media files the playlist names, in its order.
  virtual QStringList ReadPlaylist(const QString& path) = 0;
};

class NoPlaylistReader final : public IPlaylistReader {
 public:
  QStringList ReadPlaylist(const QString&) override { return {}; }
};

// The program's own list files.
class IListFiles {
 public:
  virtual ~IListFiles() = default;
  // Asks for a file name (with its own dialog) and writes the file list there.
  virtual void SaveFileListFile(const QStringList& fileList) = 0;
  // The file-list entries of the lines of a list file that name existing files.
  virtual QStringList ReadFileBlock(const QStringList& lines) = 0;
};

class NoListFiles final : public IListFiles {
 public:
  void SaveFileListFile(const QStringList&) override {}
  QStringList ReadFileBlock(const QStringList&) override { return {}; }
};

// Text files read as lines.
class ITextFiles {
 public:
  virtual ~ITextFiles() = default;
  // The lines of the file, its encoding detected; none when it cannot be read.
  virtual QStringList LoadTextLines(const QString& path) = 0;
};

class NoTextFiles final : public ITextFiles {
 public:
  QStringList LoadTextLines(const QString&) override { return {}; }
};

// The questions and dialogs of the list commands.
class IListDialogs {
 public:
  virtual ~IListDialogs() = default;
  // A confirmation with the buttons Yes and Cancel; true only for Yes.
  virtual bool Confirm(const QString& question) = 0;
  // The open-file dialog with a filter in the "Caption|patterns|…" form; the chosen path, or
  // the empty text when the dialog was cancelled.
  virtual QString OpenFileName(const QString& filter) = 0;
};

// The real dialogs: QMessageBox and QFileDialog, modal to the window of `anchor`.
class CListDialogs final : public IListDialogs {
 public:
  explicit CListDialogs(QWidget* anchor) : anchor_(anchor) {}
  bool Confirm(const QString& question) override;
  QString OpenFileName(const QString& filter) override;

 private:
  QWidget* anchor_;
};

// The hooks a CFileMusicLists uses; a null pointer means the do-nothing version (and, for the
// dialogs, the real ones). The objects are not owned and must outlive their user.
struct FileListHooks {
  IListTransport* Transport = nullptr;
  IPlaylistReader* Playlists = nullptr;
  IListFiles* ListFiles = nullptr;
  ITextFiles* TextFiles = nullptr;
  IListDialogs* Dialogs = nullptr;
};
