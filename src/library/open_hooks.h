#pragma once
// The one way in for opened, dropped, command-line and timer paths.

#include <QStringList>

class IPathOpener {
 public:
  virtual ~IPathOpener() = default;
  // Opens files and folders: folders are scanned, playlists become file-list entries, media
  // files join the music list.
  virtual void OpenPaths(const QStringList& paths) = 0;
  // The same, then playback starts when the settings ask for it.
  virtual void OpenPathsWithAutoPlay(const QStringList& paths) = 0;
  // Adds the media files among the paths (folders expanded) to the music list.
  virtual void AddMediaToMusicList(const QStringList& paths) = 0;
};

// Used while opening is not available: paths are not opened.
class NoPathOpener : public IPathOpener {
 public:
  void OpenPaths(const QStringList&) override {}
  void OpenPathsWithAutoPlay(const QStringList&) override {}
  void AddMediaToMusicList(const QStringList&) override {}
};
