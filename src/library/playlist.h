#pragma once
// Playlists as albums: reading the tracks an M3U or PLS file names, the relative lines of an
// M3U file written from the music list, and the two path functions the other readers of
// playlist lines (search, transfer) share with it.
//
// Paths are Linux paths: "/" separates and a path beginning with "/" is absolute; the root "/"
// is where a walk up the folders stops. Lines read from playlists may also use "\" as their
// separator, so that a playlist made on Windows with relative lines (Album\01.mp3) resolves.

#include <QString>
#include <QStringList>

#include "library/file_list_hooks.h"
#include "text/encoding.h"

struct Settings;

// Appends to `tracks` the full paths of the existing files the playlist names, in its order;
// true when at least one was found. A file whose name ends exactly in ".pls" is read as PLS
// (only the File1, File2, … entries, expected in that order), any other as M3U (a path per
// line; lines beginning with "#" and lines shorter than 5 characters are dropped). The
// encoding and line end are detected from the bytes, with the given pair where the bytes do
// not decide. Relative lines are resolved against the playlist's folder; the process's current
// folder is neither used nor changed. A missing or unreadable playlist, and anything that is
// not a regular file, adds nothing.
bool ReadPlaylist(const QString& path, QStringList& tracks, TextEncoding fallbackEncoding,
                  LineEnding fallbackLineEnding);
// The same with the fallback pair named by the settings m3uCharacterSet and m3uCRCode.
bool ReadPlaylist(const QString& path, QStringList& tracks, const Settings& settings);

// The full path a playlist line names, for a playlist in `folder` (absolute, without a
// trailing "/" unless it is the root): "\" becomes "/", a line beginning with "/" is taken as
// it is and any other is joined to the folder, then "." and ".." components are resolved
// (".." above the root stays at the root).
QString PlaylistLinePath(const QString& folder, const QString& line);

// The playlist reader of the file list, over the settings that name the fallback pair (read at
// every call, so a change on the option page applies to the next album loaded).
class CPlaylistReader final : public IPlaylistReader {
 public:
  explicit CPlaylistReader(const Settings& settings) : settings_(settings) {}
  QStringList ReadPlaylist(const QString& path) override;

 private:
  const Settings& settings_;
};

// The line that names `track` in an M3U file written into `folder` (the playlist's folder):
// the track's path relative to the folder, with a ".." for every folder of `folder` that the
// two do not share. Components compare exactly, as Linux file systems tell case apart. A track
// that is not an absolute path is written as it is.
QString RelativePlaylistLine(const QString& folder, const QString& track);

// `path` without its last `levels` components: ParentPath("/A/B/C.mp3", 1) is "/A/B", 2 gives
// "/A", 3 and more give "/". One trailing "/" is ignored; a level of 0 or less returns the
// path unchanged, the root stays the root and the empty text stays empty.
QString ParentPath(const QString& path, int levels);

// The path that the playlist line `relative` names for a playlist in the folder `base`. Only
// the start of the line is navigation: "." is skipped, ".." goes one folder up, "..." two and
// so on, and separators ("/" or "\") between them are skipped; the rest is appended to the
// folder as it stands, with "\" turned into "/". A line beginning with a separator is absolute
// and returned with "\" turned into "/" (the same file ReadPlaylist takes it for). The empty
// line gives the empty text.
QString ResolveRelativePath(const QString& base, const QString& relative);
